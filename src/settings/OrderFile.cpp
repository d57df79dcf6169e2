#include "settings/OrderFile.h"

#include "common/FileHelpers.h"

#include <QFile>
#include <QFileInfo>

namespace velmora::OrderFile {

QByteArrayList parse(const QByteArray& content) {
    QByteArrayList rows;
    qsizetype start = 0;
    const qsizetype size = content.size();
    while (start < size) {
        qsizetype end = start;
        while (end < size && content[end] != '\r' && content[end] != '\n')
            ++end;
        if (end > start)
            rows << content.mid(start, end - start);
        if (end + 1 < size && content[end] == '\r' && content[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return rows;
}

QByteArray compose(const QByteArrayList& rows) {
    QByteArray content;
    for (const QByteArray& row : rows)
        content += row + "\r\n";
    return content;
}

std::optional<QByteArrayList> read(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return QByteArrayList();
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return parse(content);
}

bool write(const QString& path, const QString& tempPath, const QByteArrayList& rows) {
    if (writeFileDurably(tempPath, compose(rows)) && PromoteTempFile(tempPath, path))
        return true;
    (void)DeleteIfExists(tempPath);
    return false;
}

} // namespace velmora::OrderFile
