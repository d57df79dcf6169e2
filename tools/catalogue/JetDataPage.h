#pragma once

#include "JetPageFile.h"

#include <QByteArrayView>
#include <optional>
#include <vector>

// Writing data pages. Rows are placed contiguously, as a row's length is implied by its
// neighbour's start.
namespace velmora::jet {

void formatDataPage(QByteArray& page, quint32 owner);

// Places row on page; the row index, or nothing when the page has no room for it.
std::optional<int> addRow(QByteArray& page, QByteArrayView row);

// Fills fresh data pages of one owner one after the other, opening a new page whenever the
// current one cannot take the next row.
class DataPageWriter {
public:
    DataPageWriter(PageFile& file, quint32 owner);

    // row.size() must not exceed DataPage::MaxRowLength. Returns the row's pointer.
    quint32 add(QByteArrayView row);
    const std::vector<quint32>& pages() const { return m_pages; }

private:
    PageFile& m_file;
    quint32 m_owner;
    std::vector<quint32> m_pages;
};

} // namespace velmora::jet
