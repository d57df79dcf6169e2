#pragma once

#include <QString>

namespace velmora {

// Every remote file is the site's base address plus a fixed path; this class names all of them.
class SitePaths {
public:
    // baseUrl: scheme and host with a trailing slash (SiteBaseUrl). The paths are relative to
    // it, so a folder with a trailing separator gives where a copy of the site keeps them.
    explicit SitePaths(QString baseUrl);

    const QString& baseUrl() const { return m_baseUrl; }
    // The site's copy of the local mirror file (InstallPaths::mirrorFile()).
    QString mirrorFile() const;
    // The catalogue database, and the version that the site offers of it.
    QString catalogue() const;
    QString catalogueVersion() const;
    // The version that the site offers of the program, and the update program that installs it.
    QString programVersion() const;
    QString updateProgram() const;
    // The games live in a folder of their own, RemoteGameFolder.
    QString gameFolder(const QString& remoteGameFolder) const;
    QString gameFile(const QString& remoteGameFolder, qint32 gameId) const;

private:
    QString m_baseUrl;
};

} // namespace velmora
