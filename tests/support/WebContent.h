#pragma once

#include <QColor>
#include <QVariant>

#include <functional>

class QWebEnginePage;
class QWidget;

namespace velmora::test {

// Before the QApplication: the engine's switches of the program, and no sandbox when running
// as root (the engine refuses to start otherwise).
void prepareTestWebEngine();

// The page shown by the web view inside a browser or player widget.
QWebEnginePage* pageOf(QWidget* widget);
// Runs script in page and returns its result, waiting for it; invalid after 30 s without one.
QVariant evaluate(QWebEnginePage* page, const QString& script);

// Where the pixels of one colour are on a widget as it is drawn now: how many, and their mean
// x (-1 without any). Games are read back this way: their objects have colours of their own.
struct ColourSpot {
    int count = 0;
    double x = -1;
};
ColourSpot findColour(QWidget* widget, QColor colour, int tolerance = 24);
// Looks every 200 ms until the colour's pixels satisfy done, for at most timeoutMs; the last
// look. Each look grabs the widget, which starves a web view on a busy machine if done often.
ColourSpot waitForColour(QWidget* widget, QColor colour, const std::function<bool(const ColourSpot&)>& done,
                         int timeoutMs);

} // namespace velmora::test
