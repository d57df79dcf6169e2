#include "platform/jet/JetTableDefinition.h"

#include "platform/jet/JetFormat.h"
#include "platform/jet/JetRows.h"

namespace velmora::jet {

namespace {

constexpr char DefinitionPageType = 0x02;
constexpr char UsageBitmapPageType = 0x05;
constexpr int NextPageOffset = 4;
constexpr int ContinuationHeaderSize = 8;
constexpr int ColumnCountOffset = 45;
constexpr int RealIndexCountOffset = 51;
constexpr int OwnedPagesMapOffset = 55;
constexpr int FreeSpaceMapOffset = 59;
constexpr int RealIndexesOffset = 63;
constexpr int RealIndexEntrySize = 12;
constexpr int ColumnEntrySize = 25;
// Jet allows 255 columns; libmdb cracks every column of every row, so more would only cost time.
constexpr int MaxColumns = 255;
// A reference usage map points to bitmap pages, each covering this many pages.
constexpr quint64 PagesPerBitmapPage = (PageSize - 4) * 8;

// The definition as one byte stream: the first page whole, then each continuation page after
// its 8-byte header, which is how libmdb's reader advances through it.
std::optional<QByteArray> definitionBytes(const JetImage& image, quint32 firstPage) {
    QByteArray bytes;
    std::vector<bool> visited(image.pageCount());
    quint32 number = firstPage;
    do {
        const QByteArrayView page = image.page(number);
        if (page.isEmpty() || page[0] != DefinitionPageType || visited[number])
            return std::nullopt;
        visited[number] = true;
        bytes.append(bytes.isEmpty() ? page : page.sliced(ContinuationHeaderSize));
        number = readU32(page, NextPageOffset);
    } while (number != 0);
    return bytes;
}

// Whether the column descriptors and names that libmdb reads lie inside the definition.
bool columnsFit(QByteArrayView definition) {
    const int columns = readU16(definition, ColumnCountOffset);
    if (columns > MaxColumns)
        return false;
    qint64 at = RealIndexesOffset + qint64(readU32(definition, RealIndexCountOffset)) * RealIndexEntrySize +
                qint64(columns) * ColumnEntrySize;
    for (int column = 0; column < columns; ++column) {
        if (at + 2 > definition.size())
            return false;
        at += 2 + readU16(definition, at);
    }
    return at <= definition.size();
}

// Adds the pages whose bits are set in bitmap, bit i standing for page first + i.
bool addMappedPages(const JetImage& image, QByteArrayView bitmap, quint64 first,
                    std::vector<quint32>& pages) {
    for (qsizetype byte = 0; byte < bitmap.size(); ++byte) {
        const auto bits = static_cast<quint8>(bitmap[byte]);
        for (int bit = 0; bit < 8 && bits; ++bit) {
            if (!(bits & (1 << bit)))
                continue;
            const quint64 page = first + quint64(byte) * 8 + bit;
            if (page >= image.pageCount())
                return false;
            pages.push_back(quint32(page));
        }
    }
    return true;
}

// The pages an owned-pages usage map lists: an inline bitmap (type 0) or references to bitmap
// pages (type 1). libmdb falls back to reading every page of the file for other types.
std::optional<std::vector<quint32>> mappedPages(const JetImage& image, QByteArrayView map) {
    std::vector<quint32> pages;
    if (map.isEmpty())
        return std::nullopt;
    if (map[0] == 0) {
        if (map.size() >= 5 && !addMappedPages(image, map.sliced(5), readU32(map, 1), pages))
            return std::nullopt;
        return pages;
    }
    if (map[0] != 1)
        return std::nullopt;
    for (qsizetype entry = 0; entry < (map.size() - 1) / 4; ++entry) {
        const quint32 bitmapPage = readU32(map, 1 + 4 * entry);
        if (bitmapPage == 0)
            continue;
        const QByteArrayView page = image.page(bitmapPage);
        if (page.isEmpty() || page[0] != UsageBitmapPageType ||
            !addMappedPages(image, page.sliced(4), quint64(entry) * PagesPerBitmapPage, pages))
            return std::nullopt;
    }
    return pages;
}

} // namespace

std::optional<std::vector<quint32>> tableDataPages(const JetImage& image, quint32 definitionPage) {
    const auto definition = definitionBytes(image, definitionPage);
    if (!definition || !columnsFit(*definition))
        return std::nullopt;
    const auto ownedMap = rowAt(image, readU32(*definition, OwnedPagesMapOffset));
    if (!ownedMap || !rowAt(image, readU32(*definition, FreeSpaceMapOffset)))
        return std::nullopt;
    auto pages = mappedPages(image, *ownedMap);
    if (!pages)
        return std::nullopt;
    std::erase_if(*pages, [&](quint32 number) {
        const QByteArrayView page = image.page(number);
        return page[0] != DataPageType || readU32(page, 4) != definitionPage;
    });
    return pages;
}

} // namespace velmora::jet
