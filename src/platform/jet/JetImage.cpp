#include "platform/jet/JetImage.h"

#include <QFile>

namespace velmora::jet {

std::optional<JetImage> JetImage::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // The length when opened is what is read; a file that shrinks meanwhile is refused.
    const qint64 size = file.size();
    if (size > MaxFileSize)
        return std::nullopt;
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError || bytes.size() != size)
        return std::nullopt;
    return JetImage(std::move(bytes));
}

JetImage::JetImage(QByteArray bytes)
    : m_bytes(std::move(bytes)) {
    if (const qsizetype tail = m_bytes.size() % PageSize)
        m_bytes.append(PageSize - tail, '\0');
    // An encrypted database is decrypted here and its key cleared, so that the checks and
    // libmdb both read plain pages.
    const quint32 key = readEncodingKey(page(0)).value_or(0);
    if (key == 0)
        return;
    for (quint32 number = 1; number < pageCount(); ++number)
        togglePageEncryption(m_bytes.data() + qsizetype(number) * PageSize, number, key);
    writeEncodingKey(m_bytes, 0);
}

QByteArrayView JetImage::page(quint32 number) const {
    if (number >= pageCount())
        return {};
    return QByteArrayView(m_bytes).sliced(qsizetype(number) * PageSize, PageSize);
}

} // namespace velmora::jet
