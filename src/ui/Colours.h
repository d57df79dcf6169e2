#pragma once

#include <QColor>

class QWidget;

namespace velmora::Colours {

// The text of the game list and of the window.
inline const QColor LightGrey{224, 224, 224};

// The window's look: a black background that the widget paints itself, and text in textColor.
void paintBlack(QWidget& widget, const QColor& textColor);

} // namespace velmora::Colours
