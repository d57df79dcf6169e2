#include "download/FileHelpers.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace velmora {

bool fileExists(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DeleteIfExists(const QString& path)
{
    if (!fileExists(path))
        return true;
    return QFile::remove(path);
}

bool PromoteTempFile(const QString& tempPath, const QString& finalPath)
{
    if (!fileExists(tempPath))
        return false;
    if (QFileInfo(finalPath).isDir())
        return false;
    // rename(2) replaces an existing target atomically; QFile::rename would refuse to.
    return std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(finalPath).constData()) == 0;
}

} // namespace velmora
