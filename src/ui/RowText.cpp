#include "ui/RowText.h"

#include <QRegularExpression>

namespace velmora {

QString oneLineRowText(const QString& text) {
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\n\r\v\f\u0085\u2028\u2029]"));
    QString line = text;
    return line.replace(lineBreak, QStringLiteral(" "));
}

} // namespace velmora
