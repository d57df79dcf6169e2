#pragma once

#include "platform/jet/JetHeader.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace velmora::jet {

// A database file read whole into memory, so that the checks made before libmdb walks the file
// and libmdb itself see the same bytes, even if the file is replaced meanwhile. The bytes are
// padded with zeros to whole pages, which is how libmdb reads a short last page, and the pages
// of an encrypted database are held decrypted.
class JetImage {
public:
    // Larger files are refused: a catalogue is a few megabytes, and no file may make a read
    // exhaust memory.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // Nothing when the file cannot be read or is larger than MaxFileSize.
    static std::optional<JetImage> load(const QString& path);

    quint32 pageCount() const { return static_cast<quint32>(m_bytes.size() / PageSize); }
    // The page of that number, or an empty view when the file has no such page.
    QByteArrayView page(quint32 number) const;

    // The whole image, for libmdb, which reads it through a stream it wants writable access to.
    char* data() { return m_bytes.data(); }
    qsizetype size() const { return m_bytes.size(); }

private:
    explicit JetImage(QByteArray bytes);

    QByteArray m_bytes;
};

} // namespace velmora::jet
