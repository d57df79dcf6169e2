#pragma once

#include <QString>

namespace velmora {

// Every local file of an installation is the program folder plus a fixed relative path.
class InstallPaths {
public:
    // appPath: the folder that holds the program, without a trailing separator.
    explicit InstallPaths(QString appPath);

    const QString& appPath() const { return m_appPath; }
    // relative uses '/' between its parts; the result uses the platform's separator.
    QString local(const QString& relative) const;
    // The folder of downloaded games, with its trailing separator, so that a game file is
    // this folder + id + ".swf".
    QString gameFolder() const;
    QString catalogueFile() const;
    QString favouritesFolder() const;

private:
    QString m_appPath;
};

} // namespace velmora
