#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora {

// The small state files under cons/ (guihu.inb, the version files): single-byte text in the
// GBK code page of which only the first value counts, read like one field of a comma-delimited
// text file.
namespace TextValueFile {

// The first value of raw file content, or nothing when the content holds no value at all.
std::optional<QString> firstValue(const QByteArray& content);

// The first value of the file at path; nothing when it cannot be read or is empty.
std::optional<QString> readFirstValue(const QString& path);

// GBK bytes to text; invalid sequences become U+FFFD rather than failing.
QString decodeGbk(const QByteArray& bytes);

} // namespace TextValueFile

} // namespace velmora
