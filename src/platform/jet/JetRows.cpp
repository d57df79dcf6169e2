#include "platform/jet/JetRows.h"

namespace velmora::jet {

namespace {

bool isDataPage(QByteArrayView page) {
    return page.size() == PageSize && page[0] == PageType::Data;
}

int rowCount(QByteArrayView page) {
    return readU16(page, DataPage::RowCount);
}

int rowStart(QByteArrayView page, int row) {
    return readU16(page, DataPage::RowTable + 2 * row) & DataPage::RowOffsetMask;
}

} // namespace

std::optional<RowSpan> rowSpan(QByteArrayView page, int row) {
    const int count = rowCount(page);
    if (row < 0 || row >= count || count > DataPage::MaxRows)
        return std::nullopt;
    const int start = rowStart(page, row);
    const int end = row == 0 ? PageSize : rowStart(page, row - 1);
    if (start < DataPage::RowTable + 2 * count || start > end || end > PageSize)
        return std::nullopt;
    return RowSpan{start, end - start};
}

std::optional<std::vector<RowSlot>> rowSlots(QByteArrayView page) {
    if (!isDataPage(page) || rowCount(page) > DataPage::MaxRows)
        return std::nullopt;
    std::vector<RowSlot> slots(rowCount(page));
    for (int row = 0; row < int(slots.size()); ++row) {
        if (readU16(page, DataPage::RowTable + 2 * row) & DataPage::SkippedRowFlag) {
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
    const QByteArrayView page = image.page(pageOf(pointer));
    if (!isDataPage(page))
        return std::nullopt;
    const auto span = rowSpan(page, rowOf(pointer));
    if (!span)
        return std::nullopt;
    return page.sliced(span->start, span->length);
}

} // namespace velmora::jet
