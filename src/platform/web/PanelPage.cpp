#include "platform/web/PanelPage.h"

#include "platform/web/WebEngineSetup.h"

namespace velmora {

PanelPage::PanelPage(QObject* parent)
    : QuietPage(panelWebProfile(), parent) {
}

bool PanelPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (isMainFrame)
        return m_addresses.allows(url);
    const QString scheme = url.scheme();
    return scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
           scheme == QLatin1String("about");
}

} // namespace velmora
