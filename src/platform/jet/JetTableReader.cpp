#include "platform/jet/JetTableReader.h"

#include "platform/jet/JetHeader.h"
#include "platform/jet/JetImage.h"
#include "platform/jet/JetRows.h"
#include "platform/jet/JetTableDefinition.h"
#include "platform/jet/JetValue.h"

#include <memory>
#include <optional>
#include <vector>

// mdbtools.h includes glib inside its extern "C" block, where glib's C++ parts do not compile.
#include <glib.h>
#include <mdbtools.h>

// libmdb is not hardened against damaged files: it loops, overreads or prints warnings on them.
// So nothing is handed to it before the structures it walks have been checked (JetImage,
// JetRows, JetTableDefinition and crackable() below), and only those parts of it are used
// whose inputs can be checked: the page reader, the table definition reader and the row
// cracker. The catalog is read as an ordinary table rather than with mdb_read_catalog, which
// also parses every table's property blob with code that can loop forever; the scan follows
// the checked page list rather than mdb_fetch_row, which silently drops damaged rows.

namespace velmora::jet {

namespace {

struct CloseDatabase {
    void operator()(MdbHandle* mdb) const { mdb_close(mdb); }
};
struct FreeTable {
    void operator()(MdbTableDef* table) const { mdb_free_tabledef(table); }
};
using Database = std::unique_ptr<MdbHandle, CloseDatabase>;
using Table = std::unique_ptr<MdbTableDef, FreeTable>;

const MdbColumn& columnAt(const MdbTableDef& table, guint index) {
    return *static_cast<const MdbColumn*>(g_ptr_array_index(table.columns, index));
}

// Whether mdb_crack_row takes the row at span apart without complaint. These are its own
// checks (Jet 4 rows), made first so that it never prints its warnings; and a row always has
// columns: a count of none is zeroed bytes, as a truncated file leaves them.
bool crackable(const MdbTableDef& table, QByteArrayView page, RowSpan span) {
    if (span.length < 2)
        return false;
    const int rowStart = span.start;
    const int rowEnd = span.start + span.length - 1;
    const unsigned rowColumns = readU16(page, rowStart + Row::ColumnCount);
    if (rowColumns == 0)
        return false;
    const auto maskSize = unsigned(Row::nullMaskLength(int(rowColumns)));
    if (maskSize + 1 >= unsigned(rowEnd))
        return false;
    unsigned rowVariableColumns = 0;
    std::vector<unsigned> offsets;
    if (table.num_var_cols > 0) {
        rowVariableColumns = readU16(page, rowEnd - maskSize - 1);
        if (maskSize + 3 + rowVariableColumns * 2 + 2 > unsigned(rowEnd))
            return false;
        for (unsigned i = 0; i <= rowVariableColumns; ++i)
            offsets.push_back(readU16(page, rowEnd - maskSize - 3 - 2 * i));
    }
    const unsigned rowFixedColumns = rowColumns - rowVariableColumns; // wraps as in libmdb
    unsigned fixedFound = 0;
    for (guint i = 0; i < table.num_cols; ++i) {
        const MdbColumn& column = columnAt(table, i);
        qint64 end = 0;
        if (column.is_fixed && fixedFound < rowFixedColumns) {
            end = rowStart + Row::FixedData + qint64(column.fixed_offset) + column.col_size;
            ++fixedFound;
        } else if (!column.is_fixed && column.var_col_num < rowVariableColumns) {
            end = rowStart + qint64(offsets[column.var_col_num + 1]);
        }
        if (end > rowStart + span.length)
            return false;
    }
    return true;
}

// Where the named columns are in libmdb's column list, matched as libmdb binds them.
std::optional<std::vector<guint>> columnPositions(const MdbTableDef& table, const QStringList& names) {
    std::vector<guint> positions;
    for (const QString& name : names) {
        guint i = 0;
        while (i < table.num_cols &&
               QString::fromUtf8(columnAt(table, i).name).compare(name, Qt::CaseInsensitive))
            ++i;
        if (i == table.num_cols || !isDecodableType(columnAt(table, i).col_type))
            return std::nullopt;
        positions.push_back(i);
    }
    return positions;
}

// The values of the wanted columns of a cracked row. A column that the row predates (its
// number is beyond the row's column count) is Null.
std::optional<QVariantList> rowValues(const JetImage& image, const MdbTableDef& table, QByteArrayView page,
                                      RowSpan span, const std::vector<MdbField>& fields,
                                      const std::vector<guint>& positions) {
    const int rowColumns = readU16(page, span.start + Row::ColumnCount);
    QVariantList values;
    for (const guint position : positions) {
        const MdbColumn& column = columnAt(table, position);
        const MdbField& field = fields[position];
        if (field.is_null || column.col_num >= rowColumns) {
            values.append(QVariant());
            continue;
        }
        if (field.siz < 0 || field.start < span.start || field.start + field.siz > span.start + span.length)
            return std::nullopt;
        auto value = decodeValue(image, column.col_type, page.sliced(field.start, field.siz));
        if (!value)
            return std::nullopt;
        values.append(std::move(*value));
    }
    return values;
}

bool scanTable(MdbHandle* mdb, const JetImage& image, quint32 definitionPage, const QStringList& columns,
               const JetTableReader::RowHandler& onRow) {
    const auto pages = tableDataPages(image, definitionPage);
    if (!pages)
        return false;
    MdbCatalogEntry entry{};
    entry.mdb = mdb;
    entry.object_type = MDB_TABLE;
    entry.table_pg = definitionPage;
    const Table table(mdb_read_table(&entry));
    if (!table || !mdb_read_columns(table.get()))
        return false;
    const auto positions = columnPositions(*table, columns);
    if (!positions)
        return false;
    std::vector<MdbField> fields(table->num_cols);
    for (const quint32 number : *pages) {
        const QByteArrayView page = image.page(number);
        const auto slots = rowSlots(page);
        if (!slots)
            return false;
        for (const RowSlot& slot : *slots) {
            if (slot.kind == RowSlot::Kind::Skip)
                continue;
            if (slot.kind == RowSlot::Kind::Corrupt || !crackable(*table, page, slot.span) ||
                mdb_read_pg(mdb, number) != PageSize ||
                mdb_crack_row(table.get(), slot.span.start, slot.span.length, fields.data()) < 0)
                return false;
            const auto values = rowValues(image, *table, page, slot.span, fields, *positions);
            if (!values)
                return false;
            if (!onRow(*values))
                return true;
        }
    }
    return true;
}

// The definition page of the table named `name` (ignoring case), from the system catalog.
std::optional<quint32> findTable(MdbHandle* mdb, const JetImage& image, const QString& name) {
    std::optional<quint32> page;
    const QStringList columns{QStringLiteral("Id"), QStringLiteral("Name"), QStringLiteral("Type")};
    const bool read = scanTable(mdb, image, CatalogDefinitionPage, columns, [&](const QVariantList& object) {
        if (!object[0].isValid() || !object[2].isValid() ||
            object[2].toLongLong() != SystemCatalog::TableObject ||
            object[1].toString().compare(name, Qt::CaseInsensitive) != 0)
            return true;
        page = quint32(object[0].toLongLong() & SystemCatalog::IdPageMask);
        return false;
    });
    return read ? page : std::nullopt;
}

// libmdb ignores the Jet 4 database password; it is checked here.
bool passwordMatches(const JetImage& image, const QString& password) {
    return readDatabasePassword(image.page(0)) == password;
}

} // namespace

JetTableReader::JetTableReader(QString path, QString password)
    : m_path(std::move(path))
    , m_password(std::move(password)) {
}

bool JetTableReader::read(const QString& table, const QStringList& columns, const RowHandler& onRow) const {
    auto image = JetImage::load(m_path);
    if (!image || !passwordMatches(*image, m_password))
        return false;
    const Database mdb(mdb_open_buffer(image->data(), size_t(image->size()), MDB_NOFLAGS));
    if (!mdb)
        return false;
    const auto page = findTable(mdb.get(), *image, table);
    return page && scanTable(mdb.get(), *image, *page, columns, onRow);
}

} // namespace velmora::jet
