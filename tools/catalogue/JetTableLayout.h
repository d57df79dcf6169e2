#pragma once

#include "platform/jet/JetValue.h"

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

// A table's columns, how its rows are laid out, and its definition (TDEF) page.
namespace velmora::tools::jet {

using JetType = ::velmora::jet::ColumnType;

struct JetColumn {
    QString name;
    JetType type;
    quint16 length = 0;    // bytes; TEXT: twice the characters, MEMO/OLE: 0
    quint8 extraFlags = 0; // beyond the fixed-length and updatable bits, e.g. 0x20 for an owner
};

// A column's value as stored in the row: nothing for Null.
using JetValue = std::optional<QByteArray>;

// The usage maps of a table or of one of its long-value columns, as row addresses.
struct JetMaps {
    quint32 owned = 0;
    quint32 free = 0;
};

struct JetTableDefinition {
    bool system = false;
    quint32 rowCount = 0;
    JetMaps tableMaps;
    std::vector<JetMaps> longValueMaps; // one per MEMO/OLE column, in column order
};

class JetTable {
public:
    // Columns in column-number order.
    explicit JetTable(std::vector<JetColumn> columns);

    // values holds one entry per column, in column order.
    QByteArray encodeRow(const std::vector<JetValue>& values) const;
    QByteArray definitionPage(const JetTableDefinition& definition) const;
    int longValueColumnCount() const;

private:
    struct Placement {
        bool fixed = false;
        quint16 offset = 0; // in the fixed area, or index among the variable columns
    };
    std::vector<JetColumn> m_columns;
    std::vector<Placement> m_placements;
    int m_fixedLength = 0;
    int m_variableCount = 0;
};

} // namespace velmora::tools::jet
