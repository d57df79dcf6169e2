#include "common/SitePaths.h"

#include "common/InstallPaths.h"

namespace velmora {

SitePaths::SitePaths(QString baseUrl)
    : m_baseUrl(std::move(baseUrl)) {
}

QString SitePaths::mirrorFile() const {
    return m_baseUrl + QStringLiteral("gengxin/guihu.txt");
}

QString SitePaths::catalogue() const {
    return m_baseUrl + QStringLiteral("gengxin/db1.txt");
}

QString SitePaths::catalogueVersion() const {
    return m_baseUrl + QStringLiteral("gengxin/gengxin.txt");
}

QString SitePaths::programVersion() const {
    return m_baseUrl + QStringLiteral("gengxin/update.txt");
}

QString SitePaths::updateProgram() const {
    return m_baseUrl + QStringLiteral("gengxin/update.exe");
}

QString SitePaths::gameFolder(const QString& remoteGameFolder) const {
    return m_baseUrl + remoteGameFolder;
}

QString SitePaths::gameFile(const QString& remoteGameFolder, qint32 gameId) const {
    return gameFolder(remoteGameFolder) + u'/' + gameFileName(gameId);
}

} // namespace velmora
