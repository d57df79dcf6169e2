#include "catalogue/Favourites.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace velmora::Favourites {

namespace {

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
    const QDir dir(folder, QStringLiteral("*.swf"), QDir::Unsorted, QDir::Files | QDir::Readable);
    std::vector<FavouriteGame> games;
    for (const QString& file : dir.entryList())
        games.push_back({file.chopped(4), dir.filePath(file)});
    std::sort(games.begin(), games.end(), inNameOrder);
    return games;
}

} // namespace velmora::Favourites
