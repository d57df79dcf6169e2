#include "common/FileHelpers.h"

#include "common/NativeFileName.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

std::optional<mode_t> fileMode(const QString& path) {
    struct stat status {};
    if (path.isEmpty() || ::stat(NativeFileName::toBytes(path).constData(), &status) != 0)
        return std::nullopt;
    return status.st_mode;
}

} // namespace

bool fileExists(const QString& path) {
    const auto mode = fileMode(path);
    return mode && !S_ISDIR(*mode);
}

bool isRegularFile(const QString& path) {
    const auto mode = fileMode(path);
    return mode && S_ISREG(*mode);
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

bool syncFolder(const QString& folder) {
    const int handle =
        ::open(NativeFileName::toBytes(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0)
        return false;
    const bool synced = ::fsync(handle) == 0;
    ::close(handle);
    return synced;
}

} // namespace velmora
