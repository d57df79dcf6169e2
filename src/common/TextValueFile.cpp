#include "common/TextValueFile.h"

#include <QFile>

#include <cerrno>
#include <iconv.h>

namespace velmora::TextValueFile {

namespace {

bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}

} // namespace

QString decodeGbk(const QByteArray& bytes) {
    iconv_t cd = iconv_open("UTF-16LE", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1))
        return QString::fromLatin1(bytes);
    QString out;
    QByteArray buffer(bytes.size() * 2 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        size_t outLeft = static_cast<size_t>(buffer.size());
        const size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        const qsizetype produced = buffer.size() - static_cast<qsizetype>(outLeft);
        out += QStringView(reinterpret_cast<const char16_t*>(buffer.constData()), produced / 2);
        if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
            // An invalid or truncated sequence: replace one byte and carry on.
            out += QChar::ReplacementCharacter;
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    return out;
}

std::optional<QString> firstValue(const QByteArray& content) {
    qsizetype pos = 0;
    const qsizetype size = content.size();
    while (pos < size && (content[pos] == ' ' || content[pos] == '\t'))
        ++pos;
    if (pos == size)
        return std::nullopt;

    qsizetype end = pos;
    if (content[pos] == '"') {
        // A quoted field runs to its closing quote (commas inside it belong to the value).
        ++pos;
        end = pos;
        while (end < size && content[end] != '"' && !isLineEnd(content[end]))
            ++end;
    } else {
        while (end < size && content[end] != ',' && !isLineEnd(content[end]))
            ++end;
    }
    return decodeGbk(content.mid(pos, end - pos));
}

std::optional<QString> readFirstValue(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    // Only the first line matters; version files are tiny, but a hostile one need not be.
    const QByteArray head = file.read(64 * 1024);
    if (head.isEmpty())
        return std::nullopt;
    return firstValue(head);
}

} // namespace velmora::TextValueFile
