#include "JetLongValue.h"

#include "JetBytes.h"

#include <algorithm>

namespace velmora::tools::jet {

namespace {

constexpr quint32 InlineFlag = 0x80000000;
constexpr quint32 SingleRowFlag = 0x40000000;

QByteArray reference(quint32 lengthAndFlags, quint32 address) {
    QByteArray header;
    appendU32(header, lengthAndFlags);
    appendU32(header, address);
    appendU32(header, 0);
    return header;
}

} // namespace

LongValueWriter::LongValueWriter(PageFile& file)
    : m_pages(file, LongValueOwner) {
}

QByteArray LongValueWriter::store(QByteArrayView data) {
    const auto length = static_cast<quint32>(data.size());
    if (data.size() <= MaxInlineLongValue)
        return reference(length | InlineFlag, 0).append(data);
    if (data.size() <= MaxSingleRowLongValue)
        return reference(length | SingleRowFlag, m_pages.add(data));
    return reference(length, storeChain(data));
}

// Each chain row is the address of the next row (0 for the last) and a piece of the data.
// The pieces are written last first, so that every row knows its successor's address.
quint32 LongValueWriter::storeChain(QByteArrayView data) {
    quint32 next = 0;
    const qsizetype pieces = (data.size() + MaxSingleRowLongValue - 1) / MaxSingleRowLongValue;
    for (qsizetype piece = pieces - 1; piece >= 0; --piece) {
        const qsizetype start = piece * MaxSingleRowLongValue;
        const qsizetype length = std::min<qsizetype>(MaxSingleRowLongValue, data.size() - start);
        next = m_pages.add(u32Bytes(next).append(data.sliced(start, length)));
    }
    return next;
}

} // namespace velmora::tools::jet
