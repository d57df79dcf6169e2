#pragma once

#include <QByteArray>
#include <QString>

class QUrl;

namespace velmora {

// What the player page may load: web addresses, and of the local disk only the player's own
// files, the movie on display and the files in and below the movie's folder. Local paths are
// compared after symbolic links, "." and ".." are resolved, so that no link, encoding or
// spelling of a path leads out of those folders. They are compared as the bytes on disk: a
// movie whose file name is not UTF-8 is given as NativeFileName spells it, and its address
// carries those bytes percent-encoded.
class GameFileAccess {
public:
    // playerFolder: the folder of the player page and the emulator.
    explicit GameFileAccess(const QString& playerFolder);

    // The full path of the movie on display; empty when there is none.
    void setMovie(const QString& moviePath);
    bool allows(const QUrl& url) const;

private:
    bool allowsLocalFile(const QUrl& url) const;

    QByteArray m_playerFolder;
    QByteArray m_movie;
    QByteArray m_movieFolder;
};

} // namespace velmora
