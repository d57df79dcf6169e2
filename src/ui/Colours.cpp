#include "ui/Colours.h"

#include <QPalette>
#include <QWidget>

namespace velmora::Colours {

void paintBlack(QWidget& widget, const QColor& textColor) {
    QPalette palette = widget.palette();
    for (auto role : {QPalette::Window, QPalette::Base})
        palette.setColor(role, Qt::black);
    for (auto role : {QPalette::WindowText, QPalette::Text})
        palette.setColor(role, textColor);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

} // namespace velmora::Colours
