#include "platform/jet/JetRows.h"

#include "platform/jet/JetFormat.h"

namespace velmora::jet {

namespace {

constexpr int RowCountOffset = 12;
constexpr int RowTableOffset = 14;
// Jet keeps at most 255 rows on a page; a row pointer has one byte for the row number.
constexpr int MaxRowsPerPage = 255;
constexpr quint16 OffsetMask = 0x1FFF;
// libmdb's scan skips rows carrying this flag: deleted rows and pointers to moved rows.
constexpr quint16 SkippedRowFlag = 0x4000;

bool isDataPage(QByteArrayView page) {
    return page.size() == PageSize && page[0] == DataPageType;
}

int rowCount(QByteArrayView page) {
    return readU16(page, RowCountOffset);
}

} // namespace

std::optional<RowSpan> rowSpan(QByteArrayView page, int row) {
    const int count = rowCount(page);
    if (row < 0 || row >= count || count > MaxRowsPerPage)
        return std::nullopt;
    const int start = readU16(page, RowTableOffset + 2 * row) & OffsetMask;
    const int end = row == 0 ? PageSize : readU16(page, RowTableOffset + 2 * (row - 1)) & OffsetMask;
    if (start < RowTableOffset + 2 * count || start > end || end > PageSize)
        return std::nullopt;
    return RowSpan{start, end - start};
}

std::optional<std::vector<RowSlot>> rowSlots(QByteArrayView page) {
    if (!isDataPage(page) || rowCount(page) > MaxRowsPerPage)
        return std::nullopt;
    std::vector<RowSlot> slots(rowCount(page));
    for (int row = 0; row < int(slots.size()); ++row) {
        if (readU16(page, RowTableOffset + 2 * row) & SkippedRowFlag) {
            slots[row].kind = RowSlot::Kind::Skip;
            continue;
        }
        const auto span = rowSpan(page, row);
        if (span && span->length > 0)
            slots[row] = {RowSlot::Kind::Row, *span};
    }
    return slots;
}

std::optional<QByteArrayView> rowAt(const JetImage& image, quint32 pointer) {
    const QByteArrayView page = image.page(pointer >> 8);
    if (!isDataPage(page))
        return std::nullopt;
    const auto span = rowSpan(page, int(pointer & 0xFF));
    if (!span)
        return std::nullopt;
    return page.sliced(span->start, span->length);
}

} // namespace velmora::jet
