#include "panel/SidePanel.h"

#include "catalogue/Catalogue.h"
#include "catalogue/Categories.h"
#include "platform/web/WebBrowser.h"
#include "ui/Colours.h"
#include "ui/TabLabel.h"

#include <QLabel>
#include <QRandomGenerator>
#include <QTime>
#include <QTimer>

#include <cmath>

namespace velmora {

namespace {

double timeOfDayDraw() {
    QRandomGenerator generator(static_cast<quint32>(QTime::currentTime().msecsSinceStartOfDay()));
    return generator.generateDouble();
}

} // namespace

SidePanel::SidePanel(WebBrowser* browser)
    : QObject(browser->parentWidget())
    , WebBrowser1(browser)
    , Label50(new QLabel(browser->parentWidget()))
    , Timer2(new QTimer(browser->parentWidget()))
    , m_random(timeOfDayDraw) {
    Label50->setObjectName(QStringLiteral("Label50"));
    Label50->setGeometry(browser->geometry());
    Colours::paintBlack(*Label50, TabLabel::TabTextColor);
    Label50->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label50->setWordWrap(true);
    // Descriptions come from the site's catalogue: never interpret them as markup.
    Label50->setTextFormat(Qt::PlainText);
    Label50->hide();
    // A text label lies below every windowed control.
    Label50->lower();

    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(30000);
    connect(Timer2, &QTimer::timeout, this, &SidePanel::endGameInfo);
    connect(WebBrowser1, &WebBrowser::NavigateError, this, &SidePanel::NavigateError);
}

void SidePanel::setPages(const SitePaths& site, const QString& fallbackPage) {
    m_site = site;
    m_fallbackPage = fallbackPage;
    WebBrowser1->setAllowedPages(site.baseUrl(), fallbackPage);
}

void SidePanel::Navigate(const QString& address) {
    m_fallbackShown = false;
    WebBrowser1->Navigate(address);
}

QString SidePanel::randomPage(double r) {
    // The default rounding mode rounds halves to even: r = 0.25 gives 0, r = 0.75 gives 2.
    switch (static_cast<int>(std::nearbyint(r + r))) {
    case 0:
        return Categories::Puzzle.page;
    case 1:
        return Categories::Action.page;
    default:
        return Categories::Favourites.page;
    }
}

void SidePanel::ShowRandomPage() {
    Navigate(m_site.baseUrl() + randomPage(m_random()));
}

void SidePanel::NavigateError() {
    if (m_fallbackShown) {
        // The fallback page failed as well: asking for it again would fail forever.
        WebBrowser1->showBlank();
        return;
    }
    m_fallbackShown = true;
    WebBrowser1->Navigate(m_fallbackPage);
}

void SidePanel::setStripHeight(int pixels) {
    WebBrowser1->resize(WebBrowser1->width(), pixels);
    Label50->resize(Label50->width(), pixels);
}

void SidePanel::ShowGameInfo(const GameInfo& info) {
    switch (info.kind) {
    case GameInfo::Kind::Failed:
        // The catalogue may have been replaced under an older list: leave the panel as it is.
        return;
    case GameInfo::Kind::Null:
        Label50->hide();
        WebBrowser1->show();
        return;
    case GameInfo::Kind::Text:
        Label50->setText(info.text);
        Label50->show();
        WebBrowser1->hide();
        Timer2->start();
        return;
    }
}

void SidePanel::endGameInfo() {
    Timer2->stop();
    Label50->hide();
    WebBrowser1->show();
}

} // namespace velmora
