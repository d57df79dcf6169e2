#include "JetTableLayout.h"

#include "JetBytes.h"
#include "platform/jet/JetHeader.h"

#include <algorithm>

namespace velmora::tools::jet {

namespace {

constexpr quint32 MagicNumber = 1625;
constexpr quint16 GeneralSortOrder = 0x0409;
constexpr quint8 FixedLengthFlag = 0x01;
// Updatable, plus the bit Access sets on every column.
constexpr quint8 BaseFlags = 0x12;
constexpr char UserTable = 0x4E;
constexpr char SystemTable = 0x53;
constexpr int DescriptorLength = 25;
constexpr int ColumnsOffset = 63;

bool isFixed(JetType type) {
    return type == JetType::Int || type == JetType::Long || type == JetType::Double ||
           type == JetType::DateTime;
}

bool isLongValue(JetType type) {
    return type == JetType::Memo || type == JetType::Ole;
}

bool isText(JetType type) {
    return type == JetType::Text || type == JetType::Memo;
}

} // namespace

JetTable::JetTable(std::vector<JetColumn> columns)
    : m_columns(std::move(columns)) {
    for (const JetColumn& column : m_columns) {
        if (isFixed(column.type)) {
            m_placements.push_back({true, static_cast<quint16>(m_fixedLength)});
            m_fixedLength += column.length;
        } else {
            m_placements.push_back({false, static_cast<quint16>(m_variableCount++)});
        }
    }
}

int JetTable::longValueColumnCount() const {
    return static_cast<int>(std::count_if(m_columns.begin(), m_columns.end(),
                                          [](const JetColumn& c) { return isLongValue(c.type); }));
}

QByteArray JetTable::encodeRow(const std::vector<JetValue>& values) const {
    const int columnCount = static_cast<int>(m_columns.size());
    QByteArray row;
    appendU16(row, static_cast<quint16>(columnCount));
    row.append(m_fixedLength, '\0');
    QByteArray nullMask((columnCount + 7) / 8, '\0');
    std::vector<quint16> variableOffsets(m_variableCount);
    for (int i = 0; i < columnCount; ++i) {
        if (!values[i])
            continue;
        nullMask[i / 8] |= static_cast<char>(1 << (i % 8));
        if (m_placements[i].fixed)
            row.replace(2 + m_placements[i].offset, values[i]->size(), *values[i]);
    }
    // Variable values follow in variable-index order, which is column order here.
    for (int i = 0; i < columnCount; ++i) {
        if (m_placements[i].fixed)
            continue;
        variableOffsets[m_placements[i].offset] = static_cast<quint16>(row.size());
        if (values[i])
            row.append(*values[i]);
    }
    if (m_variableCount > 0) {
        appendU16(row, static_cast<quint16>(row.size())); // end of the variable data
        for (int k = m_variableCount - 1; k >= 0; --k)
            appendU16(row, variableOffsets[k]);
        appendU16(row, static_cast<quint16>(m_variableCount));
    }
    row.append(nullMask);
    return row;
}

QByteArray JetTable::definitionPage(const JetTableDefinition& definition) const {
    QByteArray page(ColumnsOffset, '\0');
    page[0] = 0x02;
    page[1] = 0x01;
    putU32(page, 12, MagicNumber);
    putU32(page, 16, definition.rowCount);
    putU32(page, 20, 1); // next autonumber value
    page[24] = 0x01;
    page[40] = definition.system ? SystemTable : UserTable;
    putU16(page, 41, static_cast<quint16>(m_columns.size()));
    putU16(page, 43, static_cast<quint16>(m_variableCount));
    putU16(page, 45, static_cast<quint16>(m_columns.size()));
    putU32(page, 55, definition.tableMaps.owned);
    putU32(page, 59, definition.tableMaps.free);

    for (size_t i = 0; i < m_columns.size(); ++i) {
        const JetColumn& column = m_columns[i];
        QByteArray descriptor(DescriptorLength, '\0');
        descriptor[0] = static_cast<char>(column.type);
        putU32(descriptor, 1, MagicNumber);
        putU16(descriptor, 5, static_cast<quint16>(i));
        putU16(descriptor, 7, m_placements[i].fixed ? 0 : m_placements[i].offset);
        putU16(descriptor, 9, static_cast<quint16>(i));
        if (isText(column.type))
            putU16(descriptor, 11, GeneralSortOrder);
        descriptor[15] =
            static_cast<char>(BaseFlags | column.extraFlags | (m_placements[i].fixed ? FixedLengthFlag : 0));
        putU16(descriptor, 21, m_placements[i].fixed ? m_placements[i].offset : 0);
        putU16(descriptor, 23, column.length);
        page.append(descriptor);
    }
    for (const JetColumn& column : m_columns) {
        const QByteArray name = ucs2le(column.name);
        appendU16(page, static_cast<quint16>(name.size()));
        page.append(name);
    }
    size_t longValue = 0;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (!isLongValue(m_columns[i].type))
            continue;
        const JetMaps& maps = definition.longValueMaps.at(longValue++);
        appendU16(page, static_cast<quint16>(i));
        appendU32(page, maps.owned);
        appendU32(page, maps.free);
    }
    appendU16(page, 0xFFFF);

    const int definitionLength = static_cast<int>(page.size());
    putU16(page, 2, static_cast<quint16>(velmora::jet::PageSize - 8 - definitionLength));
    putU32(page, 8, static_cast<quint32>(definitionLength));
    page.resize(velmora::jet::PageSize, '\0');
    return page;
}

} // namespace velmora::tools::jet
