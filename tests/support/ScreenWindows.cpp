#include "support/ScreenWindows.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace velmora::test {

namespace {

// A property of window as bytes (format 8) or as the first 32-bit value (format 32).
QByteArray property(Display* display, Window window, Atom name, Atom type) {
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, name, 0, 1024, False, type, &actualType, &format, &count, &after,
                           &data) != Success ||
        !data)
        return {};
    // Xlib hands 32-bit values out as longs.
    const qsizetype size = format == 32 ? qsizetype(sizeof(long)) * qsizetype(count) : qsizetype(count);
    QByteArray value(reinterpret_cast<const char*>(data), size);
    XFree(data);
    return value;
}

} // namespace

ScreenWindows::ScreenWindows()
    : m_display(XOpenDisplay(nullptr)) {
}

ScreenWindows::~ScreenWindows() {
    if (m_display)
        XCloseDisplay(m_display);
}

std::vector<ShownWindow> ScreenWindows::withTitle(const QString& title) const {
    std::vector<ShownWindow> found;
    if (!m_display)
        return found;
    const Atom name = XInternAtom(m_display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(m_display, "UTF8_STRING", False);
    const Atom pidAtom = XInternAtom(m_display, "_NET_WM_PID", False);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (!XQueryTree(m_display, DefaultRootWindow(m_display), &root, &parent, &children, &count))
        return found;
    for (unsigned int i = 0; i < count; ++i) {
        XWindowAttributes attributes{};
        if (!XGetWindowAttributes(m_display, children[i], &attributes) || attributes.map_state != IsViewable)
            continue;
        if (QString::fromUtf8(property(m_display, children[i], name, utf8)) != title)
            continue;
        const QByteArray pid = property(m_display, children[i], pidAtom, XA_CARDINAL);
        found.push_back({children[i], pid.size() >= qsizetype(sizeof(long))
                                          ? qint64(*reinterpret_cast<const long*>(pid.constData()))
                                          : 0});
    }
    if (children)
        XFree(children);
    return found;
}

void ScreenWindows::focus(const ShownWindow& window) {
    XRaiseWindow(m_display, window.id);
    XSetInputFocus(m_display, window.id, RevertToParent, CurrentTime);
    XSync(m_display, False);
}

void ScreenWindows::close(const ShownWindow& window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window.id;
    event.xclient.message_type = XInternAtom(m_display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(m_display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(m_display, window.id, False, NoEventMask, &event);
    XSync(m_display, False);
}

} // namespace velmora::test
