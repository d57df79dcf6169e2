#pragma once

#include "JetDataPage.h"

#include <QByteArray>
#include <QByteArrayView>

// Writing MEMO/OLE values: the reference in the row, followed by the data itself when it is
// short; longer data goes to long-value pages, as one row or as a chain of rows.
namespace velmora::jet {

// Longest value stored in the row itself (as the engine does, to keep rows small).
inline constexpr int MaxInlineLongValue = 64;
// Longest value kept in one long-value row; a chain row spends some bytes on the link.
inline constexpr int MaxSingleRowLongValue = DataPage::MaxRowLength - LongValue::ChainLinkLength;

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

} // namespace velmora::jet
