#pragma once

#include "common/SitePaths.h"

#include <QObject>
#include <functional>

class QLabel;
class QTimer;

namespace velmora {

struct GameInfo;
class WebBrowser;

// The strip under the player. It shows the site's pages in the browser WebBrowser1 or, for
// half a minute after a game with a description has started, that description in Label50,
// which lies in the same place. A page that cannot be loaded gives way to the local fallback
// page.
class SidePanel : public QObject {
    Q_OBJECT
public:
    // A number r with 0 <= r < 1.
    using RandomSource = std::function<double()>;

    // Creates Label50 and Timer2 on the browser's window, Label50 below every windowed control.
    explicit SidePanel(WebBrowser* browser);

    // The site whose pages the panel shows and the full path of the local fallback page; the
    // browser shows nothing else.
    void setPages(const SitePaths& site, const QString& fallbackPage);
    // Shows a page of the site.
    void Navigate(const QString& address);
    // The puzzle, action or favourites page, one quarter, one half and one quarter of the time.
    void ShowRandomPage();
    // The page of ShowRandomPage for the draw r: n = r + r rounded half to even.
    static QString randomPage(double r);
    // Replaces the draw, seeded from the time of day.
    void setRandomSource(RandomSource source) { m_random = std::move(source); }

    // The strip keeps this height whatever the window's size.
    void setStripHeight(int pixels);
    // A description shows for the full 30 seconds, also when one is already showing; a Null
    // one ends the display at once; a failed read leaves the panel as it is.
    void ShowGameInfo(const GameInfo& info);

private:
    void NavigateError();
    void endGameInfo();

    WebBrowser* WebBrowser1;
    QLabel* Label50;
    QTimer* Timer2;
    SitePaths m_site{QString()};
    QString m_fallbackPage;
    RandomSource m_random;
    // The fallback page was asked for since the last page of the site: if it fails too, the
    // panel goes blank instead of asking for it again and again.
    bool m_fallbackShown = false;
};

} // namespace velmora
