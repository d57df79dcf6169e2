#pragma once

#include <QByteArrayList>
#include <optional>

class QString;

namespace velmora::OrderFile {

// A category's order file: one game per line, in GBK as the list shows it. Rows are kept as
// the bytes read, so that a save writes back exactly what it read, also bytes that are no GBK.

// Lines end at CR LF, at a lone CR or at a lone LF; empty lines are skipped.
QByteArrayList parse(const QByteArray& content);
// Every row followed by CR LF, the last one included.
QByteArray compose(const QByteArrayList& rows);

// A missing file is an empty list; nullopt when the file is there but cannot be read.
std::optional<QByteArrayList> read(const QString& path);
// Replaces path by the rows through tempPath, in one rename: a failed save leaves the old file
// as it was. False when nothing was replaced.
[[nodiscard]] bool write(const QString& path, const QString& tempPath, const QByteArrayList& rows);

} // namespace velmora::OrderFile
