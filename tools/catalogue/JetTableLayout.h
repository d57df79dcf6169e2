#pragma once

#include "platform/jet/JetFormat.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// Writing a table: its columns, how its rows are laid out, and its definition page.
namespace velmora::jet {

struct ColumnSpec {
    QString name;
    ColumnType type;
    quint16 length = 0;    // bytes; TEXT: twice the characters, MEMO/OLE: 0
    quint8 extraFlags = 0; // beyond the fixed-length and base flags, e.g. ColumnDescriptor::OwnerFlag
};

// A column's value as stored in the row: nothing for Null.
using FieldValue = std::optional<QByteArray>;

// The usage maps of a table or of one of its long-value columns, as row pointers.
struct UsageMaps {
    quint32 owned = 0;
    quint32 free = 0;
};

// What a definition page holds besides the columns.
struct DefinitionFields {
    bool system = false;
    quint32 rowCount = 0;
    UsageMaps tableMaps;
    std::vector<UsageMaps> longValueMaps; // one per MEMO/OLE column, in column order
};

class TableLayout {
public:
    // Columns in column-number order.
    explicit TableLayout(std::vector<ColumnSpec> columns);

    // values holds one entry per column, in column order.
    QByteArray encodeRow(const std::vector<FieldValue>& values) const;
    QByteArray definitionPage(const DefinitionFields& fields) const;
    int longValueColumnCount() const;

private:
    struct Placement {
        bool fixed = false;
        quint16 offset = 0; // in the fixed area, or index among the variable columns
    };
    std::vector<ColumnSpec> m_columns;
    std::vector<Placement> m_placements;
    int m_fixedLength = 0;
    int m_variableCount = 0;
};

} // namespace velmora::jet
