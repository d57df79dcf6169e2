#include "catalogue/Catalogue.h"

#include "catalogue/CatalogueSchema.h"
#include "catalogue/GameList.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velmora {

namespace {

namespace Schema = CatalogueSchema;

bool isNumber(const QVariant& value) {
    return value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Double;
}

// The value of an integer column as a 32-bit game id; nothing for Null and anything else.
std::optional<qint32> gameIdOf(const QVariant& value) {
    if (value.typeId() != QMetaType::LongLong)
        return std::nullopt;
    const qint64 id = value.toLongLong();
    if (id < std::numeric_limits<qint32>::min() || id > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(id);
}

// The condition "id=" + gameId: Null matches nothing, a number matches when equal.
bool hasId(const QVariant& value, qint32 gameId) {
    return isNumber(value) && value.toDouble() == gameId;
}

// youxianji as a sort key; Null (and NaN, which does not order) sorts below every number, as
// Null does in a descending sort of the engine.
double priorityOf(const QVariant& value) {
    const double priority = isNumber(value) ? value.toDouble() : std::nan("");
    return std::isnan(priority) ? -std::numeric_limits<double>::infinity() : priority;
}

} // namespace

Catalogue::Catalogue(QString databasePath)
    : m_reader(std::move(databasePath), Schema::Password) {
}

CategoryListing Catalogue::listCategory(quint8 category) const {
    struct Row {
        CatalogueGame game;
        double priority;
    };
    std::vector<Row> rows;
    bool fieldFailed = false;
    const QStringList columns{Schema::Name.name, Schema::Id.name, Schema::Fenlei.name,
                              Schema::Youxianji.name};
    const bool read = m_reader.read(Schema::Table, columns, [&](const QVariantList& row) {
        if (!isNumber(row[2]) || row[2].toDouble() != category)
            return true;
        const auto id = gameIdOf(row[1]);
        if (!id) {
            fieldFailed = true;
            return false;
        }
        rows.push_back({{row[0].toString(), *id}, priorityOf(row[3])});
        return true;
    });
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.priority > b.priority; });
    CategoryListing listing;
    listing.failed = !read || fieldFailed;
    for (Row& row : rows)
        listing.games.push_back(std::move(row.game));
    return listing;
}

QString Catalogue::GetGameName(bool onDisk, qint32 gameId) const {
    std::optional<QString> text;
    m_reader.read(Schema::Table, {Schema::Id.name, Schema::Name.name}, [&](const QVariantList& row) {
        if (!hasId(row[0], gameId))
            return true;
        text = (onDisk ? GameList::OnDiskMarker : GameList::MissingMarker) + row[1].toString();
        return false;
    });
    return text.value_or(QString());
}

GameInfo Catalogue::gameInfo(qint32 gameId) const {
    GameInfo info;
    m_reader.read(Schema::Table, {Schema::Id.name, Schema::Info.name}, [&](const QVariantList& row) {
        if (!hasId(row[0], gameId))
            return true;
        info.kind = row[1].isValid() ? GameInfo::Kind::Text : GameInfo::Kind::Null;
        info.text = row[1].toString();
        return false;
    });
    return info;
}

} // namespace velmora
