#include "JetDataPage.h"

#include "JetBytes.h"

namespace velmora::tools::jet {

namespace {

constexpr int FreeSpaceOffset = 2;
constexpr int OwnerOffset = 4;
constexpr int RowCountOffset = 12;

} // namespace

void formatDataPage(QByteArray& page, quint32 owner) {
    page.fill('\0', PageSize);
    page[0] = 0x01;
    page[1] = 0x01;
    putU16(page, FreeSpaceOffset, PageSize - DataPageHeaderLength);
    putU32(page, OwnerOffset, owner);
}

std::optional<int> addRow(QByteArray& page, QByteArrayView row) {
    const int rows = getU16(page, RowCountOffset);
    const int freeSpace = getU16(page, FreeSpaceOffset);
    if (rows >= MaxRowsPerPage || row.size() + 2 > freeSpace)
        return std::nullopt;
    const int end = rows == 0 ? PageSize : getU16(page, DataPageHeaderLength + 2 * (rows - 1));
    const int start = end - static_cast<int>(row.size());
    std::copy(row.begin(), row.end(), page.begin() + start);
    putU16(page, DataPageHeaderLength + 2 * rows, static_cast<quint16>(start));
    putU16(page, RowCountOffset, static_cast<quint16>(rows + 1));
    putU16(page, FreeSpaceOffset, static_cast<quint16>(freeSpace - row.size() - 2));
    return rows;
}

DataPageWriter::DataPageWriter(PageFile& file, quint32 owner)
    : m_file(file)
    , m_owner(owner) {
}

quint32 DataPageWriter::add(QByteArrayView row) {
    if (!m_pages.empty()) {
        if (const auto index = addRow(m_file[m_pages.back()], row))
            return pageRow(m_pages.back(), *index);
    }
    const quint32 page = m_file.allocate();
    formatDataPage(m_file[page], m_owner);
    m_pages.push_back(page);
    return pageRow(page, addRow(m_file[page], row).value());
}

} // namespace velmora::tools::jet
