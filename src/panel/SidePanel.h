#pragma once

#include <QObject>

class QLabel;
class QTimer;

namespace velmora {

struct GameInfo;
class WebBrowser;

// The strip under the player. It shows the site's pages in the browser WebBrowser1 or, for
// half a minute after a game with a description has started, that description in Label50,
// which lies in the same place.
class SidePanel : public QObject {
    Q_OBJECT
public:
    // Creates Label50 and Timer2 on the browser's window, Label50 below every windowed control.
    explicit SidePanel(WebBrowser* browser);

    // The strip keeps this height whatever the window's size.
    void setStripHeight(int pixels);
    // A description shows for the full 30 seconds, also when one is already showing; a Null
    // one ends the display at once; a failed read leaves the panel as it is.
    void ShowGameInfo(const GameInfo& info);

private:
    void endGameInfo();

    WebBrowser* WebBrowser1;
    QLabel* Label50;
    QTimer* Timer2;
};

} // namespace velmora
