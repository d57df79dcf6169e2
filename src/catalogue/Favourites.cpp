#include "catalogue/Favourites.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::Favourites {

void ensureFolder(const QString& folder) {
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
}

std::vector<FavouriteGame> listGames(const QString& folder) {
    const QDir dir(folder, QStringLiteral("*.swf"), QDir::Unsorted, QDir::Files | QDir::Readable);
    std::vector<FavouriteGame> games;
    for (const QString& file : dir.entryList())
        games.push_back({file.chopped(4), dir.filePath(file)});
    return games;
}

} // namespace velmora::Favourites
