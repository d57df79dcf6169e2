#pragma once

#include <QString>
#include <vector>

namespace velmora {

class Catalogue;

// A row of the game list: marker + name, and the game it stands for.
struct GameListRow {
    QString text;
    qint32 gameId = 0;
};

namespace GameList {

inline const QString OnDiskMarker = QStringLiteral(" ");
inline const QString MissingMarker = QStringLiteral("*");

// The rows of one catalogue category, each marked by whether its game file is on disk. An
// empty game file (a download cut short) counts as missing and is deleted. When the catalogue
// read fails part way, the rows read so far come back unmarked; when an empty file cannot be
// deleted, the rows from there on stay unmarked. gameFolder ends with a separator.
std::vector<GameListRow> catalogueRows(const Catalogue& catalogue, quint8 category,
                                       const QString& gameFolder);

} // namespace GameList

} // namespace velmora
