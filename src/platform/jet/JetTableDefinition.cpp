#include "platform/jet/JetTableDefinition.h"

#include "platform/jet/JetRows.h"

namespace velmora::jet {

namespace {

// The definition as one byte stream: the first page whole, then each continuation page after
// its header, which is how libmdb's reader advances through it.
std::optional<QByteArray> definitionBytes(const JetImage& image, quint32 firstPage) {
    QByteArray bytes;
    std::vector<bool> visited(image.pageCount());
    quint32 number = firstPage;
    do {
        const QByteArrayView page = image.page(number);
        if (page.isEmpty() || page[0] != PageType::TableDefinition || visited[number])
            return std::nullopt;
        visited[number] = true;
        bytes.append(bytes.isEmpty() ? page : page.sliced(TableDefinition::HeaderLength));
        number = readU32(page, TableDefinition::NextPage);
    } while (number != 0);
    return bytes;
}

// Whether the column descriptors and names that libmdb reads lie inside the definition.
bool columnsFit(QByteArrayView definition) {
    // libmdb cracks every column of every row, so more columns than Jet allows only cost time.
    const int columns = readU16(definition, TableDefinition::ColumnCount);
    if (columns > TableDefinition::MaxColumns)
        return false;
    qint64 at =
        TableDefinition::RealIndexes +
        qint64(readU32(definition, TableDefinition::RealIndexCount)) * TableDefinition::RealIndexEntryLength +
        qint64(columns) * ColumnDescriptor::Length;
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

// The pages an owned-pages usage map lists. libmdb falls back to reading every page of the
// file for types other than the two known ones.
std::optional<std::vector<quint32>> mappedPages(const JetImage& image, QByteArrayView map) {
    std::vector<quint32> pages;
    if (map.isEmpty())
        return std::nullopt;
    if (map[0] == UsageMap::Inline) {
        if (map.size() >= UsageMap::InlineBitmap &&
            !addMappedPages(image, map.sliced(UsageMap::InlineBitmap), readU32(map, UsageMap::InlineStart),
                            pages))
            return std::nullopt;
        return pages;
    }
    if (map[0] != UsageMap::Reference)
        return std::nullopt;
    for (qsizetype entry = 0; entry < (map.size() - UsageMap::References) / 4; ++entry) {
        const quint32 bitmapPage = readU32(map, UsageMap::References + 4 * entry);
        if (bitmapPage == 0)
            continue;
        const QByteArrayView page = image.page(bitmapPage);
        if (page.isEmpty() || page[0] != PageType::UsageBitmap ||
            !addMappedPages(image, page.sliced(UsageMap::BitmapPageBitmap),
                            quint64(entry) * UsageMap::PagesPerBitmapPage, pages))
            return std::nullopt;
    }
    return pages;
}

} // namespace

std::optional<std::vector<quint32>> tableDataPages(const JetImage& image, quint32 definitionPage) {
    const auto definition = definitionBytes(image, definitionPage);
    if (!definition || !columnsFit(*definition))
        return std::nullopt;
    const auto ownedMap = rowAt(image, readU32(*definition, TableDefinition::OwnedPagesMap));
    if (!ownedMap || !rowAt(image, readU32(*definition, TableDefinition::FreeSpaceMap)))
        return std::nullopt;
    auto pages = mappedPages(image, *ownedMap);
    if (!pages)
        return std::nullopt;
    std::erase_if(*pages, [&](quint32 number) {
        const QByteArrayView page = image.page(number);
        return page[0] != PageType::Data || readU32(page, DataPage::Owner) != definitionPage;
    });
    return pages;
}

} // namespace velmora::jet
