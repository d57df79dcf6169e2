#include "JetLongValue.h"

#include <algorithm>

namespace velmora::jet {

namespace {

QByteArray reference(quint32 lengthAndKind, quint32 pointer) {
    QByteArray bytes(LongValue::ReferenceLength, '\0');
    writeU32(bytes, 0, lengthAndKind);
    writeU32(bytes, LongValue::Pointer, pointer);
    return bytes;
}

} // namespace

LongValueWriter::LongValueWriter(PageFile& file)
    : m_pages(file, DataPage::LongValueOwner) {
}

QByteArray LongValueWriter::store(QByteArrayView data) {
    const auto length = quint32(data.size());
    if (data.size() <= MaxInlineLongValue)
        return reference(length | LongValue::Inline, 0).append(data);
    if (data.size() <= MaxSingleRowLongValue)
        return reference(length | LongValue::OneRow, m_pages.add(data));
    return reference(length | LongValue::Chain, storeChain(data));
}

// The pieces are written last first, so that every row knows its successor's pointer.
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

} // namespace velmora::jet
