#include "ui/Artwork.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStringList>

namespace velmora::Artwork {

QImage iconPicture(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);

    QLinearGradient tile(0, 0, 0, 32);
    tile.setColorAt(0, QColor(60, 60, 60));
    tile.setColorAt(1, QColor(10, 10, 10));
    p.setPen(QPen(QColor(255, 128, 0), 1.5));
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    // The pad's body.
    QPainterPath pad;
    pad.addRoundedRect(QRectF(5, 11, 22, 12), 6, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 128, 0));
    p.drawPath(pad);

    // Cross on the left, two buttons on the right.
    p.setBrush(Qt::black);
    p.drawRect(QRectF(9, 15.5, 6, 3));
    p.drawRect(QRectF(10.5, 14, 3, 6));
    p.setBrush(QColor(255, 255, 0));
    p.drawEllipse(QPointF(20.5, 16), 1.7, 1.7);
    p.drawEllipse(QPointF(23.5, 18.5), 1.7, 1.7);
    return image;
}

QIcon windowIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64})
        icon.addPixmap(QPixmap::fromImage(iconPicture(size)));
    return icon;
}

QPixmap backButtonPicture() {
    QPixmap pixmap(47, 27);
    pixmap.fill(Qt::black);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setPen(QPen(QColor(255, 128, 0), 1));
    p.setBrush(QColor(40, 40, 40));
    p.drawRoundedRect(QRectF(0.5, 0.5, 46, 26), 4, 4);

    QFont font;
    font.setFamilies(
        {QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC"), QStringLiteral("Noto Serif CJK SC")});
    font.setPixelSize(15);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(255, 255, 0));
    p.drawText(QRect(0, 0, 47, 27), Qt::AlignCenter, QStringLiteral("返回"));
    return pixmap;
}

} // namespace velmora::Artwork
