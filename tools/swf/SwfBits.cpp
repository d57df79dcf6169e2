#include "SwfBits.h"

#include <algorithm>

namespace velmora::swf {

void putU8(QByteArray& out, quint8 value) {
    out.append(char(value));
}

void putU16(QByteArray& out, quint16 value) {
    putU8(out, quint8(value & 0xff));
    putU8(out, quint8(value >> 8));
}

void putU32(QByteArray& out, quint32 value) {
    putU16(out, quint16(value & 0xffff));
    putU16(out, quint16(value >> 16));
}

void putString(QByteArray& out, const QString& text) {
    out.append(text.toUtf8());
    out.append('\0');
}

void BitWriter::writeUnsigned(quint32 value, int bits) {
    for (int i = bits - 1; i >= 0; --i) {
        if (m_bitCount % 8 == 0)
            m_bytes.append('\0');
        if ((value >> i) & 1u)
            m_bytes.back() = char(quint8(m_bytes.back()) | (0x80u >> (m_bitCount % 8)));
        ++m_bitCount;
    }
}

void BitWriter::writeSigned(qint32 value, int bits) {
    writeUnsigned(quint32(value) & ((bits >= 32) ? ~0u : ((1u << bits) - 1)), bits);
}

void BitWriter::align() {
    m_bitCount = int(m_bytes.size()) * 8;
}

QByteArray BitWriter::bytes() {
    align();
    return m_bytes;
}

int BitWriter::signedBits(qint32 value) {
    int bits = 1;
    while (value < -(qint64(1) << (bits - 1)) || value >= (qint64(1) << (bits - 1)))
        ++bits;
    return bits;
}

int BitWriter::signedBits(std::initializer_list<qint32> values) {
    int bits = 1;
    for (qint32 v : values)
        bits = std::max(bits, signedBits(v));
    return bits;
}

} // namespace velmora::swf
