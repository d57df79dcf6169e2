#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// True when path names an ordinary file (not a folder), as a directory lookup would find it.
// path may hold names that are not UTF-8, as NativeFileName spells them.
bool fileExists(const QString& path);

// True when path names a regular file, or a link to one; spelt as for fileExists.
bool isRegularFile(const QString& path);

// Deletes path if it is an existing file. Returns false only when a file is there and could
// not be deleted, so callers can stop at that failure.
[[nodiscard]] bool DeleteIfExists(const QString& path);

// Puts the finished temporary file in place of finalPath. The replacement is one atomic
// rename, so finalPath always holds either its old content or the new one, never nothing.
// Returns false (and leaves both files as they were) when the rename fails.
[[nodiscard]] bool PromoteTempFile(const QString& tempPath, const QString& finalPath);

// Creates path as an empty file, replacing a file of that name.
[[nodiscard]] bool createEmptyFile(const QString& path);

// Replaces the content of path by content and forces it to the disk before returning, so that
// a rename that follows can never publish a file whose bytes are still in flight.
[[nodiscard]] bool writeFileDurably(const QString& path, const QByteArray& content);

// Replaces the file at path by one holding content. The content is written beside it under a
// temporary name, forced to the disk and then renamed into place, so that a stop at any moment
// leaves path as it was or complete, never part written. On failure path is untouched.
[[nodiscard]] bool replaceFileAtomically(const QString& path, const QByteArray& content);

// Forces folder's entries (names created, renamed or removed in it) to the disk, as fsync does
// for a file's bytes; a rename is durable only once the folders on both sides are synced.
[[nodiscard]] bool syncFolder(const QString& folder);

} // namespace velmora
