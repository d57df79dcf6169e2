#include "CatalogueFile.h"

#include "JetBytes.h"
#include "JetDataPage.h"
#include "JetHeaderPage.h"
#include "JetLongValue.h"
#include "JetSystemCatalog.h"
#include "JetUsageMap.h"

namespace velmora::tools {

using namespace jet;

namespace {

// The fixed part of the page plan; the table's rows and long values follow from page 6 on.
constexpr quint32 GlobalMapPage = 1;
constexpr quint32 UsageMapsPage = 3;
constexpr quint32 SystemCatalogDataPage = 4;
constexpr quint32 GameTablePage = 5;
constexpr quint32 FixedPages = 6;

const JetTable& gameTable() {
    static const JetTable table({
        {QStringLiteral("id"), JetType::Long, 4},
        {QStringLiteral("name"), JetType::Text, 510},
        {QStringLiteral("fenlei"), JetType::Long, 4},
        {QStringLiteral("youxianji"), JetType::Double, 8},
        {QStringLiteral("info"), JetType::Memo},
    });
    return table;
}

std::optional<QByteArray> textValue(const std::optional<QString>& text) {
    return text ? std::optional(ucs2le(*text)) : std::nullopt;
}

QString tooLarge(quint32 pages) {
    return QStringLiteral("the catalogue needs %1 MB, more than the 2048 MB a Jet 4.0 database can hold")
        .arg(quint64(pages) * PageSize / (1024 * 1024));
}

// Adds the usage-map rows to their page and returns their addresses.
class UsageMapPage {
public:
    explicit UsageMapPage(PageFile& file)
        : m_file(file) {
        formatDataPage(m_file[UsageMapsPage], 0);
    }
    JetMaps add(const std::vector<quint32>& ownedPages) {
        return {address(usageMapRow(m_file, ownedPages)), address(usageMapRow(m_file, {}))};
    }

private:
    quint32 address(const QByteArray& row) {
        return pageRow(UsageMapsPage, addRow(m_file[UsageMapsPage], row).value());
    }
    PageFile& m_file;
};

} // namespace

std::variant<PageFile, QString> buildCatalogueFile(const std::vector<CatalogueRecord>& records,
                                                   const QString& password, double created) {
    PageFile file;
    while (file.count() < FixedPages)
        file.allocate();

    const JetTable& games = gameTable();
    DataPageWriter rows(file, GameTablePage);
    LongValueWriter infos(file);
    for (const CatalogueRecord& record : records) {
        std::optional<QByteArray> info;
        if (record.info)
            info = infos.store(ucs2le(*record.info));
        rows.add(games.encodeRow({u32Bytes(static_cast<quint32>(record.id)), textValue(record.name),
                                  u32Bytes(static_cast<quint32>(record.fenlei)),
                                  doubleBytes(record.youxianji), info}));
        // Checked as we go, so that a huge input stops early and the maps' page numbers stay
        // within what a reference map can name.
        if (file.count() > MaxFilePages)
            return tooLarge(file.count());
    }

    UsageMapPage maps(file);
    const JetMaps catalogMaps = maps.add({SystemCatalogDataPage});
    const JetMaps gameMaps = maps.add(rows.pages());
    std::vector<JetMaps> catalogLongValueMaps;
    for (int i = 0; i < systemCatalogTable().longValueColumnCount(); ++i)
        catalogLongValueMaps.push_back(maps.add({}));
    const JetMaps infoMaps = maps.add(infos.pages());

    const auto catalogRows = systemCatalogRows(GameTablePage, QStringLiteral("zong"), created);
    formatDataPage(file[SystemCatalogDataPage], SystemCatalogPage);
    for (const QByteArray& row : catalogRows)
        addRow(file[SystemCatalogDataPage], row).value();
    file[SystemCatalogPage] = systemCatalogTable().definitionPage(
        {true, static_cast<quint32>(catalogRows.size()), catalogMaps, catalogLongValueMaps});
    file[GameTablePage] =
        games.definitionPage({false, static_cast<quint32>(records.size()), gameMaps, {infoMaps}});

    formatDataPage(file[GlobalMapPage], GlobalMapPage);
    addRow(file[GlobalMapPage], globalUsageMapRow(file)).value();
    addRow(file[GlobalMapPage], usageMapRow(file, {})).value();
    file[0] = headerPage(password, created);
    if (file.count() > MaxFilePages)
        return tooLarge(file.count());
    return file;
}

} // namespace velmora::tools
