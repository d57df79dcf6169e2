#include "platform/web/LaunchGate.h"

#include <QUrl>

namespace velmora {

LaunchGate::LaunchGate(std::chrono::milliseconds interval, Clock clock)
    : m_interval(interval)
    , m_clock(std::move(clock)) {
}

bool LaunchGate::admit(const QUrl& url, bool userInitiated) {
    // Other schemes would make the system start other programs or open local files.
    const bool isWebPage =
        (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) &&
        !url.host().isEmpty();
    if (!userInitiated || !isWebPage)
        return false;
    const auto now = m_clock();
    if (m_lastLaunch && now - *m_lastLaunch < m_interval)
        return false;
    m_lastLaunch = now;
    return true;
}

} // namespace velmora
