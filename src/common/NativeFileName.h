#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::NativeFileName {

// A file name on disk is bytes. Qt reads them as UTF-8 and loses any that are not, so that a
// file named on a Chinese Windows system (GBK) could be neither listed nor opened. These keep
// such a name in a QString that leads back to its very bytes: a valid UTF-8 name is its text;
// in any other name each byte above 0x7F becomes the code unit 0xDC00 + byte, a lone surrogate
// that no decoded text holds. Such a string is for finding the file, not for showing it.
QString fromBytes(const QByteArray& bytes);

// The bytes on disk of a path made of fromBytes() names and ordinary text.
QByteArray toBytes(const QString& path);

} // namespace velmora::NativeFileName
