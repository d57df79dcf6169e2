#include "CatalogueFile.h"

#include "JetDataPage.h"
#include "JetHeaderPage.h"
#include "JetLongValue.h"
#include "JetSystemCatalog.h"
#include "JetUsageMap.h"
#include "catalogue/CatalogueSchema.h"

namespace velmora::tools {

using namespace jet;

namespace {

// The fixed part of the page plan; the table's rows and long values follow from page 6 on.
constexpr quint32 UsageMapsPage = 3;
constexpr quint32 SystemCatalogDataPage = 4;
constexpr quint32 GameTablePage = 5;
constexpr quint32 FixedPages = 6;

const TableLayout& gameTable() {
    static const TableLayout table = [] {
        std::vector<ColumnSpec> columns;
        for (const CatalogueSchema::Column& column : CatalogueSchema::Columns)
            columns.push_back({column.name, column.type, column.length});
        return TableLayout(std::move(columns));
    }();
    return table;
}

FieldValue textValue(const std::optional<QString>& text) {
    return text ? FieldValue(ucs2Bytes(*text)) : std::nullopt;
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
    UsageMaps add(const std::vector<quint32>& ownedPages) {
        return {address(usageMapRow(m_file, ownedPages)), address(usageMapRow(m_file, {}))};
    }

private:
    quint32 address(const QByteArray& row) {
        return rowPointer(UsageMapsPage, addRow(m_file[UsageMapsPage], row).value());
    }
    PageFile& m_file;
};

} // namespace

std::variant<PageFile, QString> buildCatalogueFile(const std::vector<CatalogueRecord>& records,
                                                   const QString& password, double created) {
    PageFile file;
    while (file.count() < FixedPages)
        file.allocate();

    const TableLayout& games = gameTable();
    DataPageWriter rows(file, GameTablePage);
    LongValueWriter infos(file);
    for (const CatalogueRecord& record : records) {
        FieldValue info;
        if (record.info)
            info = infos.store(ucs2Bytes(*record.info));
        rows.add(games.encodeRow({u32Bytes(quint32(record.id)), textValue(record.name),
                                  u32Bytes(quint32(record.fenlei)), doubleBytes(record.youxianji), info}));
        // Checked as we go, so that a huge input stops early and the maps' page numbers stay
        // within what a reference map can name.
        if (file.count() > MaxPages)
            return tooLarge(file.count());
    }

    UsageMapPage maps(file);
    const UsageMaps catalogMaps = maps.add({SystemCatalogDataPage});
    const UsageMaps gameMaps = maps.add(rows.pages());
    std::vector<UsageMaps> catalogLongValueMaps;
    for (int i = 0; i < systemCatalogTable().longValueColumnCount(); ++i)
        catalogLongValueMaps.push_back(maps.add({}));
    const UsageMaps infoMaps = maps.add(infos.pages());

    const auto catalogRows = systemCatalogRows(GameTablePage, CatalogueSchema::Table, created);
    formatDataPage(file[SystemCatalogDataPage], CatalogDefinitionPage);
    for (const QByteArray& row : catalogRows)
        addRow(file[SystemCatalogDataPage], row).value();
    file[CatalogDefinitionPage] = systemCatalogTable().definitionPage(
        {true, quint32(catalogRows.size()), catalogMaps, catalogLongValueMaps});
    file[GameTablePage] = games.definitionPage({false, quint32(records.size()), gameMaps, {infoMaps}});

    formatDataPage(file[GlobalUsageMapPage], GlobalUsageMapPage);
    addRow(file[GlobalUsageMapPage], globalUsageMapRow(file)).value();
    addRow(file[GlobalUsageMapPage], usageMapRow(file, {})).value();
    file[0] = headerPage(password, created);
    if (file.count() > MaxPages)
        return tooLarge(file.count());
    return file;
}

} // namespace velmora::tools
