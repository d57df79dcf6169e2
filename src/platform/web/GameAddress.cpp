#include "platform/web/GameAddress.h"

#include "common/NativeFileName.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>

namespace velmora {

const QString GameAddress::Scheme = QStringLiteral("velmora-game");

GameAddress::GameAddress(const QString& programFolder)
    : m_programFolder(QFileInfo(programFolder).canonicalFilePath()) {
}

QString GameAddress::gameId(const QString& moviePath) const {
    const QFileInfo movie(moviePath);
    if (moviePath.isEmpty() || !movie.isAbsolute())
        return {};
    // The folder after links are resolved, the file by the name the program found it under:
    // the same file reached through two names in the favourites folder is two games.
    QString folder = QFileInfo(movie.absolutePath()).canonicalFilePath();
    if (folder.isEmpty())
        folder = QDir::cleanPath(movie.absolutePath());
    QString identity = folder + u'/' + movie.fileName();
    if (!m_programFolder.isEmpty() && identity.startsWith(m_programFolder + u'/'))
        identity = identity.mid(m_programFolder.size() + 1);
    const QByteArray hash = QCryptographicHash::hash(NativeFileName::toBytes(identity), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.left(16).toHex());
}

QUrl GameAddress::movieUrl(const QString& moviePath) const {
    const QString id = gameId(moviePath);
    if (id.isEmpty())
        return {};
    QUrl url;
    url.setScheme(Scheme);
    url.setHost(id);
    url.setPath(u'/' + moviePathInUrl(moviePath));
    return url;
}

QString GameAddress::moviePathInUrl(const QString& moviePath) {
    const QString name = QFileInfo(moviePath).fileName();
    return name.startsWith(u'.') ? u'_' + name : name;
}

} // namespace velmora
