#pragma once

#include <QString>

namespace velmora {

class InstallPaths;

// The site's game folder is hidden in the first value of the mirror file: its characters 10
// and 11, then 4 and 5 (1-based). Pieces past the end of the value are shortened, so a value
// of fewer than 4 characters gives an empty name.
QString remoteGameFolderFrom(const QString& firstValue);

// Holds RemoteGameFolder for the running program. It is read from the mirror file at start-up
// and again after the site has refreshed that file.
class MirrorBase {
public:
    // The name stays empty until a ReadMirrorBase finds the mirror file.
    explicit MirrorBase(const InstallPaths& paths);

    const QString& remoteGameFolder() const { return m_remoteGameFolder; }
    // Computes the name from the mirror file; leaves it unchanged when the file is missing,
    // unreadable or empty.
    void ReadMirrorBase();

private:
    QString m_sourcePath;
    QString m_remoteGameFolder;
};

} // namespace velmora
