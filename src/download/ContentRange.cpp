#include "download/ContentRange.h"

#include <limits>

namespace velmora {

namespace {

std::optional<qint32> parseNumber(QByteArrayView digits) {
    if (digits.isEmpty())
        return std::nullopt;
    qint64 value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > std::numeric_limits<qint32>::max())
            return std::nullopt;
    }
    return static_cast<qint32>(value);
}

} // namespace

std::optional<ContentRange> parseContentRange(QByteArrayView value) {
    value = value.trimmed();
    constexpr QByteArrayView unit = "bytes ";
    if (value.size() <= unit.size() || value.first(unit.size()).compare(unit, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    const QByteArrayView range = value.sliced(unit.size()).trimmed();
    const qsizetype dash = range.indexOf('-');
    const qsizetype slash = range.indexOf('/');
    if (dash < 0 || slash < dash)
        return std::nullopt;
    const auto first = parseNumber(range.first(dash));
    const auto last = parseNumber(range.sliced(dash + 1, slash - dash - 1));
    const auto total = parseNumber(range.sliced(slash + 1));
    if (!first || !last || !total || *first > *last || *last >= *total)
        return std::nullopt;
    return ContentRange{*first, *last, *total};
}

} // namespace velmora
