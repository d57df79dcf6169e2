#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

struct _XDisplay;

namespace velmora::test {

// A window on screen, as the X server knows it.
struct ShownWindow {
    unsigned long id = 0;
    qint64 pid = 0; // of the program that shows it (_NET_WM_PID), 0 when unknown
};

// The top-level windows that any program shows on the X server, so that a test can watch and
// answer another process's windows as a user sees them.
class ScreenWindows {
public:
    ScreenWindows();
    ~ScreenWindows();
    ScreenWindows(const ScreenWindows&) = delete;
    ScreenWindows& operator=(const ScreenWindows&) = delete;

    bool isAvailable() const { return m_display != nullptr; }
    // The mapped top-level windows whose title is exactly title.
    std::vector<ShownWindow> withTitle(const QString& title) const;
    // Gives window the keyboard, as a window manager does for a window that the user looks at.
    void focus(const ShownWindow& window);
    // Asks the window's program to close it, as its close button does.
    void close(const ShownWindow& window);

private:
    _XDisplay* m_display;
};

} // namespace velmora::test
