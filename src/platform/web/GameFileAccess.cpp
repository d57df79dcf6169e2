#include "platform/web/GameFileAccess.h"

#include <QFileInfo>
#include <QUrl>

namespace velmora {

namespace {

// The path without links, "." and ".."; empty when there is no such file or folder.
QString canonical(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

bool isInside(const QString& path, const QString& folder) {
    return !folder.isEmpty() && path.startsWith(folder.endsWith(u'/') ? folder : folder + u'/');
}

} // namespace

GameFileAccess::GameFileAccess(const QString& playerFolder)
    : m_playerFolder(canonical(playerFolder)) {
}

void GameFileAccess::setMovie(const QString& moviePath) {
    m_movie = canonical(moviePath);
    // The folder the program found the movie in, not the one a link to it leads to: a link in
    // the favourites folder must not open the folder of its target.
    m_movieFolder = m_movie.isEmpty() ? QString() : canonical(QFileInfo(moviePath).absolutePath());
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
    // Decoded as the engine decodes it; a decoded NUL would cut the path short on its way to
    // the system.
    const QString path = url.path(QUrl::FullyDecoded);
    if (!path.startsWith(u'/') || path.contains(QChar(0)))
        return false;
    const QString file = canonical(path);
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return false;
    return file == m_movie || isInside(file, m_movieFolder) || isInside(file, m_playerFolder);
}

} // namespace velmora
