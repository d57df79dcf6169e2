#include "support/RealInput.h"

#include <QListWidget>
#include <QWidget>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

namespace velmora::test {

namespace {

unsigned int xButton(Qt::MouseButton button) {
    switch (button) {
    case Qt::MiddleButton:
        return 2;
    case Qt::RightButton:
        return 3;
    default:
        return 1;
    }
}

bool hasXTest(Display* display) {
    int event = 0, error = 0, major = 0, minor = 0;
    return display && XTestQueryExtension(display, &event, &error, &major, &minor);
}

} // namespace

RealInput::RealInput()
    : m_display(XOpenDisplay(nullptr)) {}

RealInput::~RealInput() {
    if (m_display)
        XCloseDisplay(m_display);
}

bool RealInput::isAvailable() const {
    return hasXTest(m_display);
}

void RealInput::moveTo(const QWidget* widget, QPoint at) {
    // Global widget coordinates are X screen pixels (no scaling under the test display).
    const QPoint global = widget->mapToGlobal(at);
    XTestFakeMotionEvent(m_display, -1, global.x(), global.y(), CurrentTime);
    XSync(m_display, False);
}

void RealInput::click(const QWidget* widget, QPoint at, Qt::MouseButton button) {
    moveTo(widget, at);
    XTestFakeButtonEvent(m_display, xButton(button), True, CurrentTime);
    XTestFakeButtonEvent(m_display, xButton(button), False, CurrentTime);
    XSync(m_display, False);
}

void RealInput::clickRow(QListWidget* list, int row) {
    QListWidgetItem* item = list->item(row);
    list->scrollToItem(item);
    click(list->viewport(), list->visualItemRect(item).center());
}

void RealInput::pressKey(KeySym key) {
    holdKey(key);
    releaseKey(key);
}

void RealInput::holdKey(KeySym key) {
    sendKey(key, true);
}

void RealInput::releaseKey(KeySym key) {
    sendKey(key, false);
}

void RealInput::sendKey(KeySym key, bool down) {
    const KeyCode code = XKeysymToKeycode(m_display, key);
    XTestFakeKeyEvent(m_display, code, down ? True : False, CurrentTime);
    XSync(m_display, False);
}

} // namespace velmora::test
