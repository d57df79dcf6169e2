#include "common/RunLocation.h"

#include <QDir>
#include <QFileInfo>

namespace velmora {

namespace {

// Symbolic links resolved where the folder exists, so that /tmp and its real path compare equal.
QString resolved(const QString& path) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(QDir(path).absolutePath()) : canonical;
}

} // namespace

bool runsFromTemporaryFolder(const QString& appPath, const QString& temporaryFolder) {
    if (appPath.contains(QStringLiteral("Temp"), Qt::CaseSensitive))
        return true;
    if (temporaryFolder.isEmpty())
        return false;
    const QString folder = resolved(appPath);
    QString temp = resolved(temporaryFolder);
    if (folder == temp)
        return true;
    if (!temp.endsWith(u'/'))
        temp += u'/';
    return folder.startsWith(temp);
}

} // namespace velmora
