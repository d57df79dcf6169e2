#pragma once

#include "platform/jet/JetImage.h"

#include <QByteArrayView>
#include <QVariant>
#include <optional>

namespace velmora::jet {

// Whether decodeValue reads columns of this type.
bool isDecodableType(int type);

// The value that the stored bytes of a non-Null field of a column of type `type` hold: qint64
// for BYTE, INT and LONG, double for FLOAT and DOUBLE, QString for TEXT and MEMO (a MEMO's text
// may lie on other pages of image). Decoded from the bytes themselves rather than from libmdb's
// printed form, which depends on the locale. Nothing for other types and for bytes that hold
// no value of the type.
std::optional<QVariant> decodeValue(const JetImage& image, int type, QByteArrayView bytes);

} // namespace velmora::jet
