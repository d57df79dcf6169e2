#pragma once

#include "JetPageFile.h"

#include <QByteArrayView>
#include <optional>
#include <vector>

// Data pages (type 0x01): rows packed downwards from the end of the page, their start offsets
// in a table after the 14-byte header. A row's length is implied by its neighbour's start, so
// rows must be placed contiguously.
namespace velmora::tools::jet {

inline constexpr int DataPageHeaderLength = 14;
inline constexpr int MaxRowsPerPage = 255;
// The longest row an empty page takes: the page minus its header and one offset entry.
inline constexpr int MaxRowLength = PageSize - DataPageHeaderLength - 2;
// Owner of long-value pages, in place of a table definition page number: "LVAL".
inline constexpr quint32 LongValueOwner = 0x4C41564C;

// A row's address as the engine stores it: page number above the row index.
inline quint32 pageRow(quint32 page, int row) {
    return page << 8 | static_cast<quint32>(row);
}

void formatDataPage(QByteArray& page, quint32 owner);

// Places row on page; the row index, or nothing when the page has no room for it.
std::optional<int> addRow(QByteArray& page, QByteArrayView row);

// Fills fresh data pages of one owner one after the other, opening a new page whenever the
// current one cannot take the next row.
class DataPageWriter {
public:
    DataPageWriter(PageFile& file, quint32 owner);

    // row.size() must not exceed MaxRowLength. Returns the row's address.
    quint32 add(QByteArrayView row);
    const std::vector<quint32>& pages() const { return m_pages; }

private:
    PageFile& m_file;
    quint32 m_owner;
    std::vector<quint32> m_pages;
};

} // namespace velmora::tools::jet
