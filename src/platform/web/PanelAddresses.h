#pragma once

#include <QString>
#include <QUrl>

namespace velmora {

// The pages the side panel may show: web pages of the program's site (http or https, on the
// site's host and port) and the local fallback page. Nothing else, whatever a page links or
// redirects to.
class PanelAddresses {
public:
    PanelAddresses() = default;
    // site: the site's base address; fallbackPage: the full path of the local page.
    PanelAddresses(const QUrl& site, const QString& fallbackPage);

    bool allows(const QUrl& url) const;

private:
    bool isOfSite(const QUrl& url) const;

    QUrl m_site;
    QString m_fallbackPage;
};

} // namespace velmora
