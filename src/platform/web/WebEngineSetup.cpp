#include "platform/web/WebEngineSetup.h"

#include <QCoreApplication>
#include <QWebEngineProfile>

namespace velmora {

void prepareWebEngine() {
    static const char* const kSwitches[] = {
        // Both views share one renderer instead of one per site (and another per window).
        "--renderer-process-limit=1",
        "--process-per-site",
        "--disable-site-isolation-trials",
        // Nothing reaches out to hosts of its own accord: the program talks to 127.0.0.1 only.
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-domain-reliability",
        "--no-pings",
        "--dns-prefetch-disable",
    };
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    for (const char* s : kSwitches)
        flags += ' ' + QByteArray(s);
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
}

QWebEngineProfile* sharedWebProfile() {
    static QWebEngineProfile* profile = [] {
        // Parented to the application so that it outlives every view's page.
        auto* p = new QWebEngineProfile(QCoreApplication::instance());
        p->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
        p->setHttpCacheMaximumSize(8 * 1024 * 1024);
        return p;
    }();
    return profile;
}

} // namespace velmora
