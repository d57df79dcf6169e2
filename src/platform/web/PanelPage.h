#pragma once

#include "platform/web/PanelAddresses.h"
#include "platform/web/QuietPage.h"

namespace velmora {

// The side panel's page: shows only the addresses it is allowed (see PanelAddresses). Links,
// scripts and redirects that lead anywhere else go nowhere; frames inside a page may come from
// any web address.
class PanelPage : public QuietPage {
    Q_OBJECT
public:
    explicit PanelPage(QObject* parent = nullptr);

    void setAllowedPages(const PanelAddresses& addresses) { m_addresses = addresses; }
    const PanelAddresses& allowedPages() const { return m_addresses; }
    // Shows an empty page: the one address outside the allowed pages that the program itself
    // may ask for, never a page or a script.
    void showBlank();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    PanelAddresses m_addresses;
    bool m_blankAsked = false;
};

} // namespace velmora
