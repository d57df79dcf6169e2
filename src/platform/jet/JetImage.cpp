#include "platform/jet/JetImage.h"

#include <QFile>

namespace velmora::jet {

std::optional<JetImage> JetImage::load(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Read one byte past the limit rather than trusting size(), which the file may outgrow.
    QByteArray bytes = file.read(MaxFileSize + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileSize)
        return std::nullopt;
    return JetImage(std::move(bytes));
}

JetImage::JetImage(QByteArray bytes)
    : m_bytes(std::move(bytes)) {
    if (const qsizetype tail = m_bytes.size() % PageSize)
        m_bytes.append(PageSize - tail, '\0');
}

QByteArrayView JetImage::page(quint32 number) const {
    if (number >= pageCount())
        return {};
    return QByteArrayView(m_bytes).sliced(qsizetype(number) * PageSize, PageSize);
}

} // namespace velmora::jet
