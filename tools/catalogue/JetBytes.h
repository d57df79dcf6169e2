#pragma once

#include <QByteArray>
#include <QString>
#include <QtEndian>
#include <cstring>

// Little-endian byte helpers shared by the Jet page builders.
namespace velmora::tools::jet {

inline void putU16(QByteArray& bytes, int at, quint16 value) {
    qToLittleEndian(value, bytes.data() + at);
}

inline void putU32(QByteArray& bytes, int at, quint32 value) {
    qToLittleEndian(value, bytes.data() + at);
}

inline void putDouble(QByteArray& bytes, int at, double value) {
    quint64 bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    qToLittleEndian(bits, bytes.data() + at);
}

// Byte by byte, so that no compiler takes the buffer for Qt's one-byte empty array.
inline quint16 getU16(const QByteArray& bytes, int at) {
    return static_cast<quint16>(static_cast<quint8>(bytes.at(at)) | static_cast<quint8>(bytes.at(at + 1))
                                                                        << 8);
}

inline quint32 getU32(const QByteArray& bytes, int at) {
    return getU16(bytes, at) | static_cast<quint32>(getU16(bytes, at + 2)) << 16;
}

inline void appendU16(QByteArray& bytes, quint16 value) {
    bytes.resize(bytes.size() + 2);
    putU16(bytes, bytes.size() - 2, value);
}

inline void appendU32(QByteArray& bytes, quint32 value) {
    bytes.resize(bytes.size() + 4);
    putU32(bytes, bytes.size() - 4, value);
}

inline QByteArray u32Bytes(quint32 value) {
    QByteArray bytes;
    appendU32(bytes, value);
    return bytes;
}

inline QByteArray doubleBytes(double value) {
    QByteArray bytes(8, '\0');
    putDouble(bytes, 0, value);
    return bytes;
}

// Text as Jet 4 stores it uncompressed: UCS-2, low byte first.
inline QByteArray ucs2le(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    for (const QChar c : text)
        appendU16(bytes, c.unicode());
    return bytes;
}

} // namespace velmora::tools::jet
