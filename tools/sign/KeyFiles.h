#pragma once

#include <QByteArray>
#include <QFile>

#include <optional>

// The files of the operator's tools: key files (one line of lower-case hexadecimal, as
// SignedFile keys are written down) and whole files read or written at once. Failures are
// reported on stderr after the tool's name.
namespace velmora::tools::KeyFiles {

std::optional<QByteArray> readFile(const char* tool, const char* path);
bool writeFile(const char* tool, const char* path, const QByteArray& content, QFile::Permissions permissions);
// The key of size bytes written in the file at path.
std::optional<QByteArray> readKey(const char* tool, const char* path, qsizetype size);
// A fresh key pair; the secret key file is readable by its owner only.
bool writeKeyPair(const char* tool, const char* secretPath, const char* publicPath);

} // namespace velmora::tools::KeyFiles
