#pragma once

#include <QByteArrayView>
#include <optional>

namespace velmora {

// The value of a partial response's Content-Range header: "bytes first-last/total".
struct ContentRange {
    qint32 first = 0;
    qint32 last = 0;
    qint32 total = 0;
};

// Nothing unless the value has exactly that form with decimal numbers that fit 32 bits and
// first <= last < total. An unknown total ("*") or any other text is refused, because the
// bytes of a block can only be placed when all three numbers are known.
std::optional<ContentRange> parseContentRange(QByteArrayView value);

} // namespace velmora
