#pragma once

#include "platform/jet/JetTableReader.h"

#include <QString>
#include <vector>

namespace velmora {

// A game of a category listing.
struct CatalogueGame {
    QString name; // empty when the catalogue holds Null
    qint32 id = 0;
};

struct CategoryListing {
    std::vector<CatalogueGame> games;
    // The read stopped at a failure; games holds the rows read before it.
    bool failed = false;
};

// The description of a game, shown while it starts.
struct GameInfo {
    enum class Kind {
        Failed, // no such game, or the catalogue could not be read
        Null,   // the game has no description
        Text,   // text holds it; it may be empty
    };
    Kind kind = Kind::Failed;
    QString text;
};

// The catalogue database (CatalogueSchema). Each read opens the file, reads and closes it again,
// so a catalogue replaced by an update is seen by the next read. Failures are silent.
class Catalogue {
public:
    // databasePath: the catalogue file (InstallPaths::catalogueFile()).
    explicit Catalogue(QString databasePath);

    // The games of one category (fenlei), highest priority (youxianji) first, equal priorities
    // in table order.
    CategoryListing listCategory(quint8 category) const;

    // The text of the game's row in the game list: " " + name when its file is on disk, "*" +
    // name when not; a Null name gives the marker alone. "" when there is no such game or the
    // catalogue cannot be read.
    QString GetGameName(bool onDisk, qint32 gameId) const;

    // The game's description.
    GameInfo gameInfo(qint32 gameId) const;

private:
    jet::JetTableReader m_reader;
};

} // namespace velmora
