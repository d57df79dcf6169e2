#pragma once

#include "common/InstallPaths.h"
#include "common/SitePaths.h"
#include "download/BlockTransfer.h"

#include <QString>
#include <functional>

namespace velmora {

class MessageSink;
class MirrorBase;

// What a game download needs from the program around it.
struct GameDownloadContext {
    InstallPaths paths;
    SitePaths site;
    MirrorBase& mirror;
    MessageSink& messages;
    // Sets the text of row listIndex of the game list.
    std::function<void(qint16 listIndex, const QString& text)> setRowText;
    // The number of entries in the download queue, the running download included.
    std::function<int()> queueLength;
    // The row text of a game: its name, marked as on disk or missing.
    std::function<QString(bool onDisk, qint32 gameId)> gameName;
    PollBudget budget{};
};

// Fetches the game's file from the site's game folder straight into the game folder, showing
// the progress in row listIndex and the reason of a failure in a message box. Ends with the
// game's name in the row, marked by whether the file is now on disk. After a 404 it refreshes
// the mirror file from the site and recomputes the remote game folder for the next attempt.
void DownloadGame(const GameDownloadContext& context, qint16 listIndex, qint32 gameId);

} // namespace velmora
