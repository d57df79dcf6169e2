#pragma once

#include <QColor>
#include <QVariant>

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

} // namespace velmora::test
