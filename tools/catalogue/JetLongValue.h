#pragma once

#include "JetDataPage.h"

#include <QByteArray>
#include <QByteArrayView>

// MEMO/OLE values: a 12-byte reference in the row, followed by the data itself when it is
// short; longer data goes to LVAL pages, as one row or as a chain of rows.
namespace velmora::tools::jet {

// Longest value stored in the row itself (as the engine does, to keep rows small).
inline constexpr int MaxInlineLongValue = 64;
// Longest value kept in one LVAL row; a chain row spends 4 bytes on the link to the next.
inline constexpr int MaxSingleRowLongValue = MaxRowLength - 4;

class LongValueWriter {
public:
    explicit LongValueWriter(PageFile& file);

    // The column value for the row: the reference, plus the data when it is inline.
    QByteArray store(QByteArrayView data);
    const std::vector<quint32>& pages() const { return m_pages.pages(); }

private:
    quint32 storeChain(QByteArrayView data);

    DataPageWriter m_pages;
};

} // namespace velmora::tools::jet
