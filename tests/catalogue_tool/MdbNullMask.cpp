#include "MdbNullMask.h"

#include "catalogue/CatalogueSchema.h"

#include <QFile>

// glib first: mdbtools.h includes it inside extern "C", which C++ templates do not survive.
#include <glib.h>
#include <mdbtools.h>

std::optional<std::vector<std::vector<bool>>> readNullMasks(const QString& path) {
    MdbHandle* mdb = mdb_open(QFile::encodeName(path).constData(), MDB_NOFLAGS);
    if (!mdb)
        return std::nullopt;
    QByteArray name = velmora::CatalogueSchema::Table.toString().toUtf8();
    MdbTableDef* table = mdb_read_table_by_name(mdb, name.data(), MDB_TABLE);
    if (!table) {
        mdb_close(mdb);
        return std::nullopt;
    }
    mdb_read_columns(table);
    mdb_rewind_table(table);
    std::vector<std::vector<bool>> masks;
    std::vector<MdbField> fields(table->num_cols);
    while (mdb_fetch_row(table)) {
        // The fetched row is still on the current page, one before the table's cursor.
        int start = 0;
        size_t length = 0;
        mdb_find_row(mdb, static_cast<int>(table->cur_row) - 1, &start, &length);
        mdb_crack_row(table, start & 0x1FFF, length, fields.data());
        std::vector<bool>& mask = masks.emplace_back();
        for (const MdbField& field : fields)
            mask.push_back(field.is_null != 0);
    }
    mdb_free_tabledef(table);
    mdb_close(mdb);
    return masks;
}
