#include "JetUsageMap.h"

namespace velmora::jet {

namespace {

void setBit(QByteArray& bytes, int bitmapOffset, quint32 bit) {
    const int at = bitmapOffset + int(bit / 8);
    bytes[at] = char(bytes[at] | 1 << (bit % 8));
}

QByteArray inlineMapRow(quint32 start, const std::vector<quint32>& pages) {
    QByteArray row(UsageMapRowLength, '\0');
    row[0] = UsageMap::Inline;
    writeU32(row, UsageMap::InlineStart, start);
    for (const quint32 page : pages)
        setBit(row, UsageMap::InlineBitmap, page - start);
    return row;
}

// Sets the bits for pages in the bitmap page that covers them, allocating it at first use.
QByteArray referenceMapRow(PageFile& file, const std::vector<quint32>& pages) {
    QByteArray row(UsageMapRowLength, '\0');
    row[0] = UsageMap::Reference;
    for (const quint32 page : pages) {
        const int slot = UsageMap::References + 4 * int(page / UsageMap::PagesPerBitmapPage);
        quint32 bitmapPage = readU32(row, slot);
        if (bitmapPage == 0) {
            bitmapPage = file.allocate();
            file[bitmapPage][0] = PageType::UsageBitmap;
            file[bitmapPage][1] = 0x01;
            writeU32(row, slot, bitmapPage);
        }
        setBit(file[bitmapPage], UsageMap::BitmapPageBitmap, page % UsageMap::PagesPerBitmapPage);
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
    const quint32 rangeEnd = (firstFree / UsageMap::PagesPerBitmapPage + 1) * UsageMap::PagesPerBitmapPage;
    for (quint32 page = firstFree; page < rangeEnd; ++page)
        freePages.push_back(page);
    return referenceMapRow(file, freePages);
}

} // namespace velmora::jet
