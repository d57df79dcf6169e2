#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

namespace velmora::swf {

// Little-endian fields, as every multi-byte value of the file format is stored.
void putU8(QByteArray& out, quint8 value);
void putU16(QByteArray& out, quint16 value);
void putU32(QByteArray& out, quint32 value);
// A zero-terminated UTF-8 string.
void putString(QByteArray& out, const QString& text);

// Packs bit fields most significant bit first, as shapes, rectangles and matrices need.
class BitWriter {
public:
    void writeUnsigned(quint32 value, int bits);
    void writeSigned(qint32 value, int bits);
    // Pads with zero bits up to the next whole byte.
    void align();
    // The bytes written so far, aligned.
    QByteArray bytes();

    // Fewest bits that hold value as a signed field.
    static int signedBits(qint32 value);
    static int signedBits(std::initializer_list<qint32> values);

private:
    QByteArray m_bytes;
    int m_bitCount = 0;
};

} // namespace velmora::swf
