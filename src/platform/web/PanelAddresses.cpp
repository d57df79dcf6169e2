#include "platform/web/PanelAddresses.h"

#include <QFileInfo>

namespace velmora {

namespace {

bool isWebScheme(const QString& scheme) {
    return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

QString canonicalFile(const QString& path) {
    return path.isEmpty() ? QString() : QFileInfo(path).canonicalFilePath();
}

} // namespace

PanelAddresses::PanelAddresses(const QUrl& site, const QString& fallbackPage)
    : m_site(site)
    , m_fallbackPage(fallbackPage) {
}

bool PanelAddresses::allows(const QUrl& url) const {
    if (isWebScheme(url.scheme()))
        return isOfSite(url);
    if (!url.isLocalFile())
        return false;
    // Compared as the files they are: a link or another spelling of the path is the same page.
    const QString file = canonicalFile(url.toLocalFile());
    return !file.isEmpty() && file == canonicalFile(m_fallbackPage);
}

bool PanelAddresses::isOfSite(const QUrl& url) const {
    if (!isWebScheme(m_site.scheme()) || m_site.host().isEmpty() ||
        url.host().compare(m_site.host(), Qt::CaseInsensitive) != 0)
        return false;
    // A site may move between http and https on their standard ports; any other port is
    // another server.
    const auto onStandardPort = [](const QUrl& u) {
        return u.port() < 0 || u.port() == (u.scheme() == QLatin1String("https") ? 443 : 80);
    };
    if (onStandardPort(url) && onStandardPort(m_site))
        return true;
    return url.port() >= 0 && url.port() == m_site.port();
}

} // namespace velmora
