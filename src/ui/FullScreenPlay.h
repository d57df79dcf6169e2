#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace velmora {

// Full-screen play: the window drops its frame and covers the whole screen, the game covers the
// whole window and only the back button stays above it. The player is never reparented or
// reloaded, so the game runs on through both transitions.
class FullScreenPlay : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QWidget* window;
        QWidget* player;
        QWidget* list;
        QWidget* browser;
        QWidget* backButton;
        std::function<void()> focusGame; // gives the keyboard to the game
        std::function<void()> layout;    // the window's layout pass
    };

    explicit FullScreenPlay(Controls controls);

    bool IsFullScreen() const { return m_isFullScreen; }
    void ToggleFullScreen();
    // Runs after every layout pass: in full-screen play the player covers the client area. The
    // window system resizes the window some time after the state change, so this is the one
    // place that knows the final size.
    void afterLayout();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enter();
    void leave();

    Controls m_controls;
    bool m_isFullScreen = false;
};

} // namespace velmora
