#include "ui/FullScreenPlay.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QWidget>

namespace velmora {

FullScreenPlay::FullScreenPlay(Controls controls)
    : QObject(controls.window)
    , m_controls(std::move(controls)) {
    // The back button is for the mouse only: the keyboard stays with the game, so Space or Enter
    // in a game never leaves full-screen play.
    m_controls.backButton->setFocusPolicy(Qt::NoFocus);
}

void FullScreenPlay::ToggleFullScreen() {
    if (m_isFullScreen)
        leave();
    else
        enter();
}

void FullScreenPlay::enter() {
    m_isFullScreen = true;
    QWidget* window = m_controls.window;
    // The window system's full-screen state drops the frame and covers a desktop's panels too.
    // The screen's geometry comes first, for window systems without that state (no window
    // manager); set afterwards, it would end the state again.
    if (const QScreen* screen = window->screen())
        window->setGeometry(screen->geometry());
    window->setWindowState(Qt::WindowFullScreen);
    afterLayout();
    m_controls.list->hide();
    m_controls.browser->hide();
    m_controls.backButton->show();
    m_controls.backButton->raise();
    // Esc is the keyboard's way back. It is taken before the game sees it, as a web page would
    // swallow it, and only while the window covers the screen.
    QCoreApplication::instance()->installEventFilter(this);
    m_controls.focusGame();
}

void FullScreenPlay::leave() {
    m_isFullScreen = false;
    QCoreApplication::instance()->removeEventFilter(this);
    m_controls.window->setWindowState(Qt::WindowMaximized);
    // The layout pass puts the player back at its place, also where the window system keeps
    // the window's size and sends no resize.
    m_controls.layout();
    m_controls.list->show();
    m_controls.browser->show();
    m_controls.backButton->hide();
    m_controls.focusGame();
}

bool FullScreenPlay::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
        return false;
    const auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != m_controls.window)
        return false;
    ToggleFullScreen();
    return true;
}

void FullScreenPlay::afterLayout() {
    if (m_isFullScreen)
        m_controls.player->setGeometry(m_controls.window->rect());
}

} // namespace velmora
