#include "platform/web/PanelPage.h"

#include "platform/web/WebEngineSetup.h"

#include <utility>

namespace velmora {

PanelPage::PanelPage(QObject* parent)
    : QuietPage(panelWebProfile(), parent) {
}

void PanelPage::showBlank() {
    m_blankAsked = true;
    load(QUrl(QStringLiteral("about:blank")));
}

bool PanelPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (isMainFrame) {
        const bool blank = std::exchange(m_blankAsked, false) && url == QUrl(QStringLiteral("about:blank"));
        return blank || m_addresses.allows(url);
    }
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("about");
}

} // namespace velmora
