#include "platform/jet/JetValue.h"

#include "platform/jet/JetRows.h"

#include <QSet>
#include <bit>

namespace velmora::jet {

namespace {

// UCS-2 text, or compressed text after CompressedTextMark.
QString decodeText(QByteArrayView bytes) {
    QString text;
    const bool compressed = bytes.size() >= 2 && quint8(bytes[0]) == CompressedTextMark[0] &&
                            quint8(bytes[1]) == CompressedTextMark[1];
    bool oneByte = compressed;
    for (qsizetype at = compressed ? 2 : 0; at < bytes.size();) {
        if (compressed && bytes[at] == 0) {
            oneByte = !oneByte;
            ++at;
        } else if (oneByte) {
            text.append(QLatin1Char(bytes[at++]));
        } else if (at + 1 < bytes.size()) {
            text.append(QChar(readU16(bytes, at)));
            at += 2;
        } else {
            break; // a lone trailing byte holds no character
        }
    }
    return text;
}

// The bytes of a MEMO value: kept in the row after its reference, or in one row elsewhere, or
// in a chain of rows.
std::optional<QByteArray> longValueBytes(const JetImage& image, QByteArrayView field) {
    if (field.size() < LongValue::ReferenceLength)
        return std::nullopt;
    const quint32 header = readU32(field, 0);
    const qsizetype length = header & ~LongValue::KindMask;
    const quint32 pointer = readU32(field, LongValue::Pointer);
    switch (header & LongValue::KindMask) {
    case LongValue::Inline:
        if (length > field.size() - LongValue::ReferenceLength)
            return std::nullopt;
        return field.sliced(LongValue::ReferenceLength, length).toByteArray();
    case LongValue::OneRow: {
        const auto row = rowAt(image, pointer);
        if (!row || length > row->size())
            return std::nullopt;
        return row->first(length).toByteArray();
    }
    case LongValue::Chain: {
        if (length > image.size())
            return std::nullopt;
        QByteArray bytes;
        QSet<quint32> visited;
        for (quint32 next = pointer; bytes.size() < length;) {
            const auto row = rowAt(image, next);
            constexpr int link = LongValue::ChainLinkLength;
            if (!row || row->size() < link || visited.contains(next))
                return std::nullopt;
            visited.insert(next);
            next = readU32(*row, 0);
            bytes.append(row->sliced(link).first(std::min(row->size() - link, length - bytes.size())));
        }
        return bytes;
    }
    }
    return std::nullopt;
}

} // namespace

bool isDecodableType(int type) {
    switch (ColumnType(type)) {
    case ColumnType::Byte:
    case ColumnType::Int:
    case ColumnType::Long:
    case ColumnType::Float:
    case ColumnType::Double:
    case ColumnType::Text:
    case ColumnType::Memo:
        return true;
    case ColumnType::DateTime:
    case ColumnType::Binary:
    case ColumnType::Ole:
        break;
    }
    return false;
}

std::optional<QVariant> decodeValue(const JetImage& image, int type, QByteArrayView bytes) {
    switch (ColumnType(type)) {
    case ColumnType::Byte:
        if (bytes.size() != 1)
            return std::nullopt;
        return QVariant(qint64(quint8(bytes[0])));
    case ColumnType::Int:
        if (bytes.size() != 2)
            return std::nullopt;
        return QVariant(qint64(qint16(readU16(bytes, 0))));
    case ColumnType::Long:
        if (bytes.size() != 4)
            return std::nullopt;
        return QVariant(qint64(qint32(readU32(bytes, 0))));
    case ColumnType::Float:
        if (bytes.size() != 4)
            return std::nullopt;
        return QVariant(double(std::bit_cast<float>(readU32(bytes, 0))));
    case ColumnType::Double:
        if (bytes.size() != 8)
            return std::nullopt;
        return QVariant(std::bit_cast<double>(readU64(bytes, 0)));
    case ColumnType::Text:
        return QVariant(decodeText(bytes));
    case ColumnType::Memo:
        if (const auto text = longValueBytes(image, bytes))
            return QVariant(decodeText(*text));
        return std::nullopt;
    case ColumnType::DateTime:
    case ColumnType::Binary:
    case ColumnType::Ole:
        break;
    }
    return std::nullopt;
}

} // namespace velmora::jet
