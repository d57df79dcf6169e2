#include "catalogue/GameList.h"

#include "catalogue/Catalogue.h"
#include "common/FileHelpers.h"
#include "common/InstallPaths.h"

#include <QFileInfo>

namespace velmora::GameList {

std::vector<GameListRow> catalogueRows(const Catalogue& catalogue, quint8 category,
                                       const QString& gameFolder) {
    const CategoryListing listing = catalogue.listCategory(category);
    std::vector<GameListRow> rows;
    rows.reserve(listing.games.size());
    for (const CatalogueGame& game : listing.games)
        rows.push_back({game.name, game.id});
    if (listing.failed)
        return rows;

    for (GameListRow& row : rows) {
        const QString path = gameFolder + gameFileName(row.gameId);
        if (!fileExists(path)) {
            row.text.prepend(MissingMarker);
        } else if (QFileInfo(path).size() == 0) {
            if (!DeleteIfExists(path))
                break;
            row.text.prepend(MissingMarker);
        } else {
            row.text.prepend(OnDiskMarker);
        }
    }
    return rows;
}

} // namespace velmora::GameList
