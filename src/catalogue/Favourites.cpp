#include "catalogue/Favourites.h"

#include "common/NativeFileName.h"
#include "common/TextValueFile.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::Favourites {

namespace {

const QByteArray Extension = QByteArrayLiteral(".swf");

bool isFlashFileName(const QByteArray& name) {
    return !name.startsWith('.') && name.size() > Extension.size() &&
           name.right(Extension.size()).compare(Extension, Qt::CaseInsensitive) == 0;
}

bool isReadableFile(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode) &&
           ::access(path.constData(), R_OK) == 0;
}

QString shownName(const QByteArray& name) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(name);
    return utf8.hasError() ? TextValueFile::decodeGbk(name) : text;
}

bool inNameOrder(const FavouriteGame& a, const FavouriteGame& b) {
    if (const int order = a.name.compare(b.name, Qt::CaseInsensitive))
        return order < 0;
    if (const int order = a.name.compare(b.name, Qt::CaseSensitive))
        return order < 0;
    return a.path < b.path;
}

} // namespace

void ensureFolder(const QString& folder) {
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
}

std::vector<FavouriteGame> listGames(const QString& folder) {
    // Read with the system's own calls: Qt's listing drops names that are not UTF-8.
    const QByteArray folderBytes = NativeFileName::toBytes(folder);
    std::vector<FavouriteGame> games;
    DIR* dir = ::opendir(folderBytes.constData());
    if (!dir)
        return games;
    while (const dirent* entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (isFlashFileName(name) && isReadableFile(folderBytes + '/' + name))
            games.push_back(
                {shownName(name.chopped(Extension.size())), folder + u'/' + NativeFileName::fromBytes(name)});
    }
    ::closedir(dir);
    std::sort(games.begin(), games.end(), inNameOrder);
    return games;
}

} // namespace velmora::Favourites
