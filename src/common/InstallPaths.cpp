#include "common/InstallPaths.h"

#include <QDir>

namespace velmora {

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

QString InstallPaths::catalogueFile() const {
    return local(QStringLiteral("cons/db1.mdb"));
}

QString InstallPaths::favouritesFolder() const {
    return local(QStringLiteral("我的收藏"));
}

} // namespace velmora
