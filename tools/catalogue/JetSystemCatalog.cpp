#include "JetSystemCatalog.h"

namespace velmora::jet {

namespace {

constexpr quint32 SystemObjectFlags = 0x80000000;
constexpr quint32 RootContainer = 0x0F000000;
constexpr quint32 TablesContainer = 0x0F000001;
constexpr quint32 DatabasesContainer = 0x0F000002;
constexpr quint32 RelationshipsContainer = 0x0F000003;
constexpr quint32 DatabaseObjectId = 0x10000000;

enum Column { Id, ParentId, Name, Type, DateCreate, DateUpdate, Owner, Flags, ColumnCount = 17 };

QByteArray objectRow(quint32 id, quint32 parent, const QString& name, quint16 type, quint32 flags,
                     double created) {
    std::vector<FieldValue> values(ColumnCount);
    values[Id] = u32Bytes(id);
    values[ParentId] = u32Bytes(parent);
    values[Name] = ucs2Bytes(name);
    values[Type] = u16Bytes(type);
    values[DateCreate] = doubleBytes(created);
    values[DateUpdate] = doubleBytes(created);
    values[Flags] = u32Bytes(flags);
    return systemCatalogTable().encodeRow(values);
}

} // namespace

const TableLayout& systemCatalogTable() {
    // The columns Access gives this table, in column-number order.
    static const TableLayout table({
        {QStringLiteral("Id"), ColumnType::Long, 4},
        {QStringLiteral("ParentId"), ColumnType::Long, 4},
        {QStringLiteral("Name"), ColumnType::Text, 510},
        {QStringLiteral("Type"), ColumnType::Int, 2},
        {QStringLiteral("DateCreate"), ColumnType::DateTime, 8},
        {QStringLiteral("DateUpdate"), ColumnType::DateTime, 8},
        {QStringLiteral("Owner"), ColumnType::Binary, 510, ColumnDescriptor::OwnerFlag},
        {QStringLiteral("Flags"), ColumnType::Long, 4},
        {QStringLiteral("Database"), ColumnType::Memo},
        {QStringLiteral("Connect"), ColumnType::Memo},
        {QStringLiteral("ForeignName"), ColumnType::Text, 510},
        {QStringLiteral("RmtInfoShort"), ColumnType::Binary, 510},
        {QStringLiteral("RmtInfoLong"), ColumnType::Ole},
        {QStringLiteral("Lv"), ColumnType::Ole},
        {QStringLiteral("LvProp"), ColumnType::Ole},
        {QStringLiteral("LvModule"), ColumnType::Ole},
        {QStringLiteral("LvExtra"), ColumnType::Ole},
    });
    return table;
}

std::vector<QByteArray> systemCatalogRows(quint32 tablePage, const QString& tableName, double created) {
    using namespace SystemCatalog;
    return {
        objectRow(TablesContainer, RootContainer, QStringLiteral("Tables"), ContainerObject,
                  SystemObjectFlags, created),
        objectRow(DatabasesContainer, RootContainer, QStringLiteral("Databases"), ContainerObject,
                  SystemObjectFlags, created),
        objectRow(RelationshipsContainer, RootContainer, QStringLiteral("Relationships"), ContainerObject,
                  SystemObjectFlags, created),
        objectRow(DatabaseObjectId, DatabasesContainer, QStringLiteral("MSysDb"), DatabaseObject,
                  SystemObjectFlags, created),
        objectRow(CatalogDefinitionPage, TablesContainer, QStringLiteral("MSysObjects"), TableObject,
                  SystemObjectFlags, created),
        objectRow(tablePage, TablesContainer, tableName, TableObject, 0, created),
    };
}

} // namespace velmora::jet
