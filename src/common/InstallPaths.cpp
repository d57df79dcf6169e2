#include "common/InstallPaths.h"

#include "common/BuildSettings.h"

#include <QDir>
#include <QStringList>

namespace velmora {

QString gameFileName(qint32 gameId) {
    return QString::number(gameId) + QStringLiteral(".swf");
}

InstallPaths::InstallPaths(QString appPath)
    : m_appPath(std::move(appPath)) {
    while (m_appPath.size() > 1 && (m_appPath.endsWith(u'/') || m_appPath.endsWith(QDir::separator())))
        m_appPath.chop(1);
}

QString InstallPaths::local(const QString& relative) const {
    return QDir::toNativeSeparators(m_appPath + u'/' + relative);
}

QString InstallPaths::gameFolder() const {
    return local(QStringLiteral("res/velmora/"));
}

QString InstallPaths::gameFile(qint32 gameId) const {
    return gameFolder() + gameFileName(gameId);
}

QString InstallPaths::favouritesFolder() const {
    return local(QStringLiteral("我的收藏"));
}

QString InstallPaths::catalogueFile() const {
    return local(QStringLiteral("cons/db1.mdb"));
}

QString InstallPaths::fallbackPage() const {
    return local(QStringLiteral("res/showoff.htm"));
}

QString InstallPaths::mirrorFile() const {
    return local(QStringLiteral("cons/guihu.inb"));
}

QString InstallPaths::mirrorTempFile() const {
    return local(QStringLiteral("cons/guihu2.inb"));
}

QString InstallPaths::catalogueVersionFile() const {
    return local(QStringLiteral("cons/gengxin.inb"));
}

QString InstallPaths::programVersionFile() const {
    return local(QStringLiteral("cons/update.inb"));
}

QString InstallPaths::catalogueVersionCopy() const {
    return local(QStringLiteral("cons/gengxin2.inb"));
}

QString InstallPaths::catalogueVersionTempFile() const {
    return local(QStringLiteral("cons/gengxintemp.inb"));
}

QString InstallPaths::programVersionCopy() const {
    return local(QStringLiteral("cons/update2.inb"));
}

QString InstallPaths::programVersionTempFile() const {
    return local(QStringLiteral("cons/updatetemp.inb"));
}

QString InstallPaths::catalogueTempFile() const {
    return local(QStringLiteral("cons/db1temp.txt"));
}

QString InstallPaths::updateProgram() const {
    return local(QStringLiteral("cons/update.exe"));
}

QString InstallPaths::updateProgramTempFile() const {
    return local(QStringLiteral("cons/updatetemp.exe"));
}

QString InstallPaths::programFile() const {
    return local(QString::fromUtf8(ProductName));
}

QString InstallPaths::programIcon() const {
    return local(QString::fromUtf8(ProductName) + QStringLiteral(".png"));
}

QString InstallPaths::orderFile(const QString& name) const {
    return local(QStringLiteral("cons/") + name);
}

QString InstallPaths::orderTempFile(const QString& name) const {
    return local(QStringLiteral("cons/") + name + QStringLiteral(".tmp"));
}

QString InstallPaths::runLock() const {
    return local(QStringLiteral("cons/run.lock"));
}

QString InstallPaths::updateLog() const {
    return local(QStringLiteral("cons/update.log"));
}

QString InstallPaths::updateWorkFolder() const {
    return local(QStringLiteral(".velmora-update"));
}

QString InstallPaths::updateStagingFolder() const {
    return local(QStringLiteral(".velmora-update/new"));
}

QString InstallPaths::updateBackupFolder() const {
    return local(QStringLiteral(".velmora-update/old"));
}

QString InstallPaths::updateJournal() const {
    return local(QStringLiteral(".velmora-update/journal"));
}

QString InstallPaths::updateRollbackMark() const {
    return local(QStringLiteral(".velmora-update/rollback"));
}

bool InstallPaths::isUserData(const QString& relative) {
    const QStringList parts = relative.split(u'/');
    const QString& first = parts.first();
    return first == QStringLiteral("cons") || first == QStringLiteral("我的收藏") ||
           first == QStringLiteral(".velmora-update") ||
           (first == QStringLiteral("res") && parts.size() > 1 && parts.at(1) == QStringLiteral("velmora"));
}

} // namespace velmora
