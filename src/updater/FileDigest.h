#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

// The size and SHA-256 of a regular file; a link, a folder or an unreadable file has none.
struct FileDigest {
    qint64 size = 0;
    QByteArray sha256;

    static std::optional<FileDigest> of(const QString& path);
};

} // namespace velmora
