#include "common/NativeFileName.h"

#include <QStringDecoder>

namespace velmora::NativeFileName {

namespace {

constexpr char16_t EscapeBase = 0xDC00;

bool isEscapedByte(QChar c) {
    return c.unicode() >= EscapeBase + 0x80 && c.unicode() <= EscapeBase + 0xFF;
}

} // namespace

QString fromBytes(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    text.reserve(bytes.size());
    for (const char byte : bytes) {
        const auto value = static_cast<unsigned char>(byte);
        text.append(QChar(value < 0x80 ? char16_t(value) : char16_t(EscapeBase + value)));
    }
    return text;
}

QByteArray toBytes(const QString& path) {
    QByteArray bytes;
    qsizetype textStart = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isEscapedByte(path.at(i)))
            continue;
        bytes += QStringView(path).mid(textStart, i - textStart).toUtf8();
        bytes += char(path.at(i).unicode() - EscapeBase);
        textStart = i + 1;
    }
    bytes += QStringView(path).mid(textStart).toUtf8();
    return bytes;
}

} // namespace velmora::NativeFileName
