#pragma once

#include "platform/jet/JetImage.h"

#include <QByteArrayView>
#include <optional>
#include <vector>

// The rows of a data page, framed by its row table (JetFormat.h, DataPage).
namespace velmora::jet {

// Where a row lies on its page.
struct RowSpan {
    int start = 0;
    int length = 0;
};

struct RowSlot {
    enum class Kind {
        Row,     // a row that a table scan reads
        Skip,    // deleted, or a pointer to a row moved elsewhere
        Corrupt, // its offsets do not frame a row inside the page
    };
    Kind kind = Kind::Corrupt;
    RowSpan span;
};

// Row `row` of a data page, framed as libmdb frames it, from its offset (flags masked off) to
// the previous row's offset. Nothing when the page has no such row or the offsets do not frame
// bytes inside the page behind the row table.
std::optional<RowSpan> rowSpan(QByteArrayView page, int row);

// The slots of a data page in row order, as libmdb's table scan meets them; nothing when the
// page is not a data page or its row table does not fit. A scan that trusted a corrupt slot
// would silently drop the row, so callers treat it as damage.
std::optional<std::vector<RowSlot>> rowSlots(QByteArrayView page);

// The row that a row pointer names, on a data page of image; nothing when there is no such row.
std::optional<QByteArrayView> rowAt(const JetImage& image, quint32 pointer);

} // namespace velmora::jet
