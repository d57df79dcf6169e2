#include "ui/TabLabel.h"

#include "ui/Colours.h"

#include <QMouseEvent>
#include <QPainter>

namespace velmora {

TabLabel::TabLabel(const QString& caption, QWidget* parent)
    : QLabel(caption, parent) {
    Colours::paintBlack(*this, TabTextColor);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(true);
    setFocusPolicy(Qt::NoFocus);
    // Hover colour needs move events without a button held.
    setMouseTracking(true);
}

QColor TabLabel::textColor() const {
    return palette().color(QPalette::WindowText);
}

void TabLabel::setTextColor(const QColor& color) {
    if (textColor() == color)
        return;
    QPalette p = palette();
    p.setColor(QPalette::WindowText, color);
    setPalette(p);
}

bool TabLabel::hasBorder() const {
    return frameShape() == QFrame::Box;
}

void TabLabel::setBorder(bool on) {
    setFrameShape(on ? QFrame::Box : QFrame::NoFrame);
}

void TabLabel::mouseMoveEvent(QMouseEvent* event) {
    setTextColor(TabHoverColor);
    // Accepted, so the move does not reach the window surface, which would reset the colour.
    event->accept();
}

void TabLabel::mousePressEvent(QMouseEvent* event) {
    setBorder(true);
    event->accept();
}

void TabLabel::mouseReleaseEvent(QMouseEvent* event) {
    // Qt grabs the mouse for the pressed widget, so the release arrives here wherever the
    // pointer is by then.
    setBorder(false);
    event->accept();
    Q_EMIT released();
}

void TabLabel::paintEvent(QPaintEvent* event) {
    // The tab is one text line high. Faces that stand in for the design font have taller line
    // spacing than their ideographs need, so the ink of the caption is centred in the tab rather
    // than hung from the font's ascent, which would cut its lower part off.
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.setPen(textColor());
    const QRect area = contentsRect();
    const QRect ink = fontMetrics().tightBoundingRect(QStringLiteral("热"));
    const int baseline = area.top() + (area.height() - ink.height()) / 2 - ink.top();
    painter.setClipRect(area);
    painter.drawText(QPoint(area.left(), baseline), text());
}

} // namespace velmora
