#pragma once

#include "common/InstallPaths.h"

namespace velmora {

class MessageSink;

// The shortcut tab's work: a launcher for the program on the user's desktop, and one message
// that says how it went.
class DesktopShortcut {
public:
    // temporaryFolder: where archive managers unpack a program run from inside an archive.
    DesktopShortcut(const InstallPaths& paths, QString temporaryFolder, MessageSink& messages);

    // Writes the launcher, or refuses when the program runs from a temporary folder. A second
    // call writes the same file again.
    void createOnDesktop();

    // The launcher's file name on the desktop.
    static QString fileName();

private:
    bool writeLauncher(const QString& file);

    const InstallPaths& m_paths;
    QString m_temporaryFolder;
    MessageSink& m_messages;
};

} // namespace velmora
