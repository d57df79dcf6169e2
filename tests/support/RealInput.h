#pragma once

#include <QPoint>
#include <Qt>

// Key symbols by name (XK_Right, XK_space, XK_a): plain macros, no Xlib types.
#include <X11/keysym.h>

class QListWidget;
class QWidget;
struct _XDisplay;

namespace velmora::test {

// An X key symbol, as in <X11/keysym.h>.
using KeySym = unsigned long;

// The pointer and keyboard of the X server, driven through the XTEST extension as a user's hand
// would. Unlike Qt's synthetic events, these take the whole way from the server through Qt and
// the web engine into a page, where input can get lost. Every call returns once the server has
// taken the events; the program sees them when its event loop next runs, in the order sent.
class RealInput {
public:
    RealInput();
    ~RealInput();
    RealInput(const RealInput&) = delete;
    RealInput& operator=(const RealInput&) = delete;

    // False without an X display or without XTEST; nothing else works then.
    bool isAvailable() const;

    // at: in the widget's own coordinates.
    void moveTo(const QWidget* widget, QPoint at);
    void click(const QWidget* widget, QPoint at, Qt::MouseButton button = Qt::LeftButton);
    // A left click on the middle of a row of the list, scrolled into view first.
    void clickRow(QListWidget* list, int row);

    // Press and release.
    void pressKey(KeySym key);
    void holdKey(KeySym key);
    void releaseKey(KeySym key);

private:
    void sendKey(KeySym key, bool down);

    _XDisplay* m_display;
};

} // namespace velmora::test
