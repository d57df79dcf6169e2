#include "JetDataPage.h"

namespace velmora::jet {

void formatDataPage(QByteArray& page, quint32 owner) {
    page.fill('\0', PageSize);
    page[0] = PageType::Data;
    page[1] = 0x01;
    writeU16(page, DataPage::FreeSpace, PageSize - DataPage::RowTable);
    writeU32(page, DataPage::Owner, owner);
}

std::optional<int> addRow(QByteArray& page, QByteArrayView row) {
    const int rows = readU16(page, DataPage::RowCount);
    const int freeSpace = readU16(page, DataPage::FreeSpace);
    if (rows >= DataPage::MaxRows || row.size() + 2 > freeSpace)
        return std::nullopt;
    const int end = rows == 0 ? PageSize : readU16(page, DataPage::RowTable + 2 * (rows - 1));
    const int start = end - int(row.size());
    std::copy(row.begin(), row.end(), page.begin() + start);
    writeU16(page, DataPage::RowTable + 2 * rows, quint16(start));
    writeU16(page, DataPage::RowCount, quint16(rows + 1));
    writeU16(page, DataPage::FreeSpace, quint16(freeSpace - row.size() - 2));
    return rows;
}

DataPageWriter::DataPageWriter(PageFile& file, quint32 owner)
    : m_file(file)
    , m_owner(owner) {
}

quint32 DataPageWriter::add(QByteArrayView row) {
    if (!m_pages.empty()) {
        if (const auto index = addRow(m_file[m_pages.back()], row))
            return rowPointer(m_pages.back(), *index);
    }
    const quint32 page = m_file.allocate();
    formatDataPage(m_file[page], m_owner);
    m_pages.push_back(page);
    return rowPointer(page, addRow(m_file[page], row).value());
}

} // namespace velmora::jet
