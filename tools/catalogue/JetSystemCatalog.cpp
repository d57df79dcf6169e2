#include "JetSystemCatalog.h"

#include "JetBytes.h"

namespace velmora::tools::jet {

namespace {

constexpr quint8 OwnerFlag = 0x20;
constexpr quint32 SystemObjectFlags = 0x80000000;
constexpr quint32 TablesContainer = 0x0F000001;
constexpr quint32 DatabasesContainer = 0x0F000002;
constexpr quint32 RelationshipsContainer = 0x0F000003;
constexpr quint32 RootContainer = 0x0F000000;
constexpr quint32 DatabaseObject = 0x10000000;
constexpr quint16 ContainerType = 3;
constexpr quint16 DatabaseType = 2;
constexpr quint16 TableType = 1;

enum Column { Id, ParentId, Name, Type, DateCreate, DateUpdate, Owner, Flags, ColumnCount = 17 };

QByteArray u16Bytes(quint16 value) {
    QByteArray bytes;
    appendU16(bytes, value);
    return bytes;
}

QByteArray objectRow(quint32 id, quint32 parent, const QString& name, quint16 type, quint32 flags,
                     double created) {
    std::vector<JetValue> values(ColumnCount);
    values[Id] = u32Bytes(id);
    values[ParentId] = u32Bytes(parent);
    values[Name] = ucs2le(name);
    values[Type] = u16Bytes(type);
    values[DateCreate] = doubleBytes(created);
    values[DateUpdate] = doubleBytes(created);
    values[Flags] = u32Bytes(flags);
    return systemCatalogTable().encodeRow(values);
}

} // namespace

const JetTable& systemCatalogTable() {
    // The columns Access gives this table, in column-number order.
    static const JetTable table({
        {QStringLiteral("Id"), JetType::Long, 4},
        {QStringLiteral("ParentId"), JetType::Long, 4},
        {QStringLiteral("Name"), JetType::Text, 510},
        {QStringLiteral("Type"), JetType::Int, 2},
        {QStringLiteral("DateCreate"), JetType::DateTime, 8},
        {QStringLiteral("DateUpdate"), JetType::DateTime, 8},
        {QStringLiteral("Owner"), JetType::Binary, 510, OwnerFlag},
        {QStringLiteral("Flags"), JetType::Long, 4},
        {QStringLiteral("Database"), JetType::Memo},
        {QStringLiteral("Connect"), JetType::Memo},
        {QStringLiteral("ForeignName"), JetType::Text, 510},
        {QStringLiteral("RmtInfoShort"), JetType::Binary, 510},
        {QStringLiteral("RmtInfoLong"), JetType::Ole},
        {QStringLiteral("Lv"), JetType::Ole},
        {QStringLiteral("LvProp"), JetType::Ole},
        {QStringLiteral("LvModule"), JetType::Ole},
        {QStringLiteral("LvExtra"), JetType::Ole},
    });
    return table;
}

std::vector<QByteArray> systemCatalogRows(quint32 tablePage, const QString& tableName, double created) {
    return {
        objectRow(TablesContainer, RootContainer, QStringLiteral("Tables"), ContainerType, SystemObjectFlags,
                  created),
        objectRow(DatabasesContainer, RootContainer, QStringLiteral("Databases"), ContainerType,
                  SystemObjectFlags, created),
        objectRow(RelationshipsContainer, RootContainer, QStringLiteral("Relationships"), ContainerType,
                  SystemObjectFlags, created),
        objectRow(DatabaseObject, DatabasesContainer, QStringLiteral("MSysDb"), DatabaseType,
                  SystemObjectFlags, created),
        objectRow(SystemCatalogPage, TablesContainer, QStringLiteral("MSysObjects"), TableType,
                  SystemObjectFlags, created),
        objectRow(tablePage, TablesContainer, tableName, TableType, 0, created),
    };
}

} // namespace velmora::tools::jet
