#pragma once

#include <QByteArrayView>
#include <QtEndian>

// Little-endian integers inside a byte range. Callers check that the range holds them.
namespace velmora::jet {

inline quint16 readU16(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

inline quint32 readU32(QByteArrayView bytes, qsizetype at) {
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

} // namespace velmora::jet
