#include "updater/FileDigest.h"

#include "common/NativeFileName.h"

#include <QCryptographicHash>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

std::optional<FileDigest> FileDigest::of(const QString& path) {
    const int handle = ::open(NativeFileName::toBytes(path).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (handle < 0)
        return std::nullopt;
    struct stat status {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    FileDigest digest;
    bool whole = ::fstat(handle, &status) == 0 && S_ISREG(status.st_mode);
    QByteArray buffer(1 << 16, Qt::Uninitialized);
    while (whole) {
        const ssize_t got = ::read(handle, buffer.data(), static_cast<size_t>(buffer.size()));
        if (got <= 0) {
            whole = got == 0;
            break;
        }
        hash.addData(QByteArrayView(buffer.constData(), got));
        digest.size += got;
    }
    ::close(handle);
    if (!whole)
        return std::nullopt;
    digest.sha256 = hash.result();
    return digest;
}

} // namespace velmora
