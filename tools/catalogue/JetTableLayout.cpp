#include "JetTableLayout.h"

#include <algorithm>

namespace velmora::jet {

namespace {

bool isFixed(ColumnType type) {
    return type == ColumnType::Int || type == ColumnType::Long || type == ColumnType::Double ||
           type == ColumnType::DateTime;
}

bool isLongValue(ColumnType type) {
    return type == ColumnType::Memo || type == ColumnType::Ole;
}

bool isText(ColumnType type) {
    return type == ColumnType::Text || type == ColumnType::Memo;
}

} // namespace

TableLayout::TableLayout(std::vector<ColumnSpec> columns)
    : m_columns(std::move(columns)) {
    for (const ColumnSpec& column : m_columns) {
        if (isFixed(column.type)) {
            m_placements.push_back({true, quint16(m_fixedLength)});
            m_fixedLength += column.length;
        } else {
            m_placements.push_back({false, quint16(m_variableCount++)});
        }
    }
}

int TableLayout::longValueColumnCount() const {
    return int(std::count_if(m_columns.begin(), m_columns.end(),
                             [](const ColumnSpec& c) { return isLongValue(c.type); }));
}

QByteArray TableLayout::encodeRow(const std::vector<FieldValue>& values) const {
    const int columnCount = int(m_columns.size());
    QByteArray row;
    appendU16(row, quint16(columnCount));
    row.append(m_fixedLength, '\0');
    QByteArray nullMask(Row::nullMaskLength(columnCount), '\0');
    std::vector<quint16> variableOffsets(m_variableCount);
    for (int i = 0; i < columnCount; ++i) {
        if (!values[i])
            continue;
        nullMask[i / 8] = char(nullMask[i / 8] | 1 << (i % 8));
        if (m_placements[i].fixed)
            row.replace(Row::FixedData + m_placements[i].offset, values[i]->size(), *values[i]);
    }
    // Variable values follow in variable-index order, which is column order here.
    for (int i = 0; i < columnCount; ++i) {
        if (m_placements[i].fixed)
            continue;
        variableOffsets[m_placements[i].offset] = quint16(row.size());
        if (values[i])
            row.append(*values[i]);
    }
    if (m_variableCount > 0) {
        appendU16(row, quint16(row.size())); // end of the variable data
        for (int k = m_variableCount - 1; k >= 0; --k)
            appendU16(row, variableOffsets[k]);
        appendU16(row, quint16(m_variableCount));
    }
    row.append(nullMask);
    return row;
}

QByteArray TableLayout::definitionPage(const DefinitionFields& fields) const {
    namespace Tdef = TableDefinition;
    namespace Descriptor = ColumnDescriptor;
    QByteArray page(Tdef::RealIndexes, '\0'); // no indexes: the columns follow at once
    page[0] = PageType::TableDefinition;
    page[1] = 0x01;
    writeU32(page, Tdef::Magic, Tdef::MagicValue);
    writeU32(page, Tdef::RowCount, fields.rowCount);
    writeU32(page, Tdef::AutoNumberIncrement, 1);
    page[Tdef::AutoNumberFlag] = 0x01;
    page[Tdef::TableType] = fields.system ? Tdef::SystemTable : Tdef::UserTable;
    writeU16(page, Tdef::NextColumnNumber, quint16(m_columns.size()));
    writeU16(page, Tdef::VariableColumnCount, quint16(m_variableCount));
    writeU16(page, Tdef::ColumnCount, quint16(m_columns.size()));
    writeU32(page, Tdef::OwnedPagesMap, fields.tableMaps.owned);
    writeU32(page, Tdef::FreeSpaceMap, fields.tableMaps.free);

    for (size_t i = 0; i < m_columns.size(); ++i) {
        const ColumnSpec& column = m_columns[i];
        const Placement& placement = m_placements[i];
        QByteArray descriptor(Descriptor::Length, '\0');
        descriptor[Descriptor::Type] = char(column.type);
        writeU32(descriptor, Descriptor::Magic, Tdef::MagicValue);
        writeU16(descriptor, Descriptor::Number, quint16(i));
        writeU16(descriptor, Descriptor::VariableIndex, placement.fixed ? 0 : placement.offset);
        writeU16(descriptor, Descriptor::Index, quint16(i));
        if (isText(column.type))
            writeU16(descriptor, Descriptor::SortOrder, GeneralSortOrder);
        descriptor[Descriptor::Flags] = char(Descriptor::BaseFlags | column.extraFlags |
                                             (placement.fixed ? Descriptor::FixedLengthFlag : 0));
        writeU16(descriptor, Descriptor::FixedOffset, placement.fixed ? placement.offset : 0);
        writeU16(descriptor, Descriptor::ValueLength, column.length);
        page.append(descriptor);
    }
    for (const ColumnSpec& column : m_columns) {
        const QByteArray name = ucs2Bytes(column.name);
        appendU16(page, quint16(name.size()));
        page.append(name);
    }
    size_t longValue = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!isLongValue(m_columns[i].type))
            continue;
        const UsageMaps& maps = fields.longValueMaps.at(longValue++);
        appendU16(page, quint16(i));
        appendU32(page, maps.owned);
        appendU32(page, maps.free);
    }
    appendU16(page, 0xFFFF);

    const int definitionLength = int(page.size());
    writeU16(page, Tdef::FreeSpace, quint16(PageSize - Tdef::HeaderLength - definitionLength));
    writeU32(page, Tdef::Length, quint32(definitionLength));
    page.resize(PageSize, '\0');
    return page;
}

} // namespace velmora::jet
