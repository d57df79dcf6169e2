#include "JetUsageMap.h"

#include "JetBytes.h"

namespace velmora::tools::jet {

namespace {

constexpr char InlineMap = 0x00;
constexpr char ReferenceMap = 0x01;
constexpr char BitmapPageType = 0x05;
constexpr int BitmapOffset = 4;

void setBit(QByteArray& bytes, int bitmapOffset, quint32 bit) {
    bytes[bitmapOffset + static_cast<int>(bit / 8)] |= static_cast<char>(1 << (bit % 8));
}

QByteArray inlineMapRow(quint32 start, const std::vector<quint32>& pages) {
    QByteArray row(UsageMapRowLength, '\0');
    row[0] = InlineMap;
    putU32(row, 1, start);
    for (const quint32 page : pages)
        setBit(row, 5, page - start);
    return row;
}

// Sets the bits for pages in the bitmap page that covers them, allocating it at first use.
QByteArray referenceMapRow(PageFile& file, const std::vector<quint32>& pages) {
    QByteArray row(UsageMapRowLength, '\0');
    row[0] = ReferenceMap;
    for (const quint32 page : pages) {
        const int slotOffset = 1 + 4 * static_cast<int>(page / BitmapPagePages);
        quint32 bitmapPage = getU32(row, slotOffset);
        if (bitmapPage == 0) {
            bitmapPage = file.allocate();
            file[bitmapPage][0] = BitmapPageType;
            file[bitmapPage][1] = 0x01;
            putU32(row, slotOffset, bitmapPage);
        }
        setBit(file[bitmapPage], BitmapOffset, page % BitmapPagePages);
    }
    return row;
}

} // namespace

QByteArray usageMapRow(PageFile& file, const std::vector<quint32>& pages) {
    if (pages.empty() || pages.back() < InlineMapPages)
        return inlineMapRow(0, pages);
    if (pages.back() - pages.front() < InlineMapPages)
        return inlineMapRow(pages.front(), pages);
    return referenceMapRow(file, pages);
}

QByteArray globalUsageMapRow(PageFile& file) {
    std::vector<quint32> freePages;
    if (file.count() <= InlineMapPages) {
        for (quint32 page = file.count(); page < InlineMapPages; ++page)
            freePages.push_back(page);
        return inlineMapRow(0, freePages);
    }
    // The bitmap page the reference map needs is itself the first page past the old end.
    const quint32 firstFree = file.count() + 1;
    const quint32 rangeEnd = (firstFree / BitmapPagePages + 1) * BitmapPagePages;
    for (quint32 page = firstFree; page < rangeEnd; ++page)
        freePages.push_back(page);
    return referenceMapRow(file, freePages);
}

} // namespace velmora::tools::jet
