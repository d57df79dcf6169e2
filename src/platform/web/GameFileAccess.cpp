#include "platform/web/GameFileAccess.h"

#include "common/NativeFileName.h"

#include <QDir>
#include <QUrl>

#include <cstdlib>
#include <sys/stat.h>

namespace velmora {

namespace {

// The path without links, "." and ".."; empty when there is no such file or folder. Paths are
// the bytes on disk, so that a file whose name is not UTF-8 is found as well.
QByteArray canonical(const QByteArray& path) {
    if (path.isEmpty())
        return {};
    char* resolved = ::realpath(path.constData(), nullptr);
    if (!resolved)
        return {};
    QByteArray result(resolved);
    std::free(resolved);
    return result;
}

bool isFile(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

bool isInside(const QByteArray& path, const QByteArray& folder) {
    return !folder.isEmpty() && path.startsWith(folder.endsWith('/') ? folder : folder + '/');
}

QByteArray absolute(const QString& path) {
    return NativeFileName::toBytes(QDir::isAbsolutePath(path) ? path : QDir::current().filePath(path));
}

} // namespace

GameFileAccess::GameFileAccess(const QString& playerFolder)
    : m_playerFolder(playerFolder.isEmpty() ? QByteArray() : canonical(absolute(playerFolder))) {
}

void GameFileAccess::setMovie(const QString& moviePath) {
    const QByteArray movie = moviePath.isEmpty() ? QByteArray() : absolute(moviePath);
    m_movie = canonical(movie);
    // The folder the program found the movie in, not the one a link to it leads to: a link in
    // the favourites folder must not open the folder of its target.
    m_movieFolder = m_movie.isEmpty() ? QByteArray() : canonical(movie.left(movie.lastIndexOf('/') + 1));
}

bool GameFileAccess::allows(const QUrl& url) const {
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return true;
    // The page's own data: and blob: addresses never leave the page's process.
    if (scheme == QLatin1String("data") || scheme == QLatin1String("blob"))
        return true;
    return scheme == QLatin1String("file") && allowsLocalFile(url);
}

bool GameFileAccess::allowsLocalFile(const QUrl& url) const {
    // file://localhost/… is this machine too; any other host would be a network share.
    if (!url.host().isEmpty() && url.host().compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0)
        return false;
    // Decoded to bytes as the engine decodes it, whether or not they are UTF-8; a decoded NUL
    // would cut the path short on its way to the system.
    const QByteArray path = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    if (!path.startsWith('/') || path.contains('\0'))
        return false;
    const QByteArray file = canonical(path);
    if (file.isEmpty() || !isFile(file))
        return false;
    return file == m_movie || isInside(file, m_movieFolder) || isInside(file, m_playerFolder);
}

} // namespace velmora
