#include "common/FileHelpers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

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

bool replaceFileAtomically(const QString& path, const QByteArray& content) {
    // QSaveFile writes a temporary file in the same folder, syncs it and renames it over path.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(content) != content.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace velmora
