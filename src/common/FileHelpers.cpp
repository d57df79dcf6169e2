#include "common/FileHelpers.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <unistd.h>

namespace velmora {

bool fileExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() && !info.isDir();
}

bool DeleteIfExists(const QString& path) {
    if (!fileExists(path))
        return true;
    return QFile::remove(path);
}

bool PromoteTempFile(const QString& tempPath, const QString& finalPath) {
    if (!fileExists(tempPath))
        return false;
    if (QFileInfo(finalPath).isDir())
        return false;
    // rename(2) replaces an existing target atomically; QFile::rename would refuse to.
    return std::rename(QFile::encodeName(tempPath).constData(), QFile::encodeName(finalPath).constData()) ==
           0;
}

bool createEmptyFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

bool writeFileDurably(const QString& path, const QByteArray& content) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    const bool written = file.write(content) == content.size() && file.flush();
    return written && ::fsync(file.handle()) == 0;
}

} // namespace velmora
