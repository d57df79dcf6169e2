#include "platform/web/WebEngineSetup.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <QWebEngineProfile>

namespace velmora {

namespace {

QWebEngineProfile* newDiskProfile(const QString& name) {
    // Parented to the application so that it outlives every view's page.
    // Its storage goes to userDataFolder() + "/QtWebEngine/" + name, and the cache with it.
    auto* p = new QWebEngineProfile(name, QCoreApplication::instance());
    p->setCachePath(p->persistentStoragePath());
    p->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    // Bounds what the profile's folder grows to with use.
    p->setHttpCacheMaximumSize(32 * 1024 * 1024);
    p->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);
    // Pages, and the emulator's own messages, in the language of the program.
    p->setHttpAcceptLanguage(QStringLiteral("zh-CN,zh"));
    return p;
}

} // namespace

void prepareWebEngine() {
    static const char* const kSwitches[] = {
        // The emulator is a large WebAssembly module: compile only the functions a game calls,
        // and only with the baseline compiler. Optimising all of it in the background cost
        // some 90 MB that stayed with the renderer; playing took no more processor time without.
        "--js-flags=\"--wasm-lazy-compilation --liftoff-only\"",
        // Nothing reaches out to hosts of its own accord: the program talks to 127.0.0.1 only.
        "--disable-background-networking",
        "--disable-component-update",
        "--disable-domain-reliability",
        "--no-pings",
        "--dns-prefetch-disable",
    };
    const QByteArray given = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    QByteArray flags = given;
    for (const QByteArray s : kSwitches) {
        // A switch that is already given keeps the value given.
        const qsizetype valueAt = s.indexOf('=');
        if (!given.contains(valueAt < 0 ? s : s.left(valueAt)))
            flags += ' ' + s;
    }
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    // The web views are drawn by Qt Quick's software renderer, and the engine then composites
    // without OpenGL. Under a software GL driver (llvmpipe, what a machine without a graphics
    // driver has) the GL path cost the program's own process some 100 MB more, with buffers
    // for every movie a page had played, and the processor time while a game played nearly
    // doubled. Games draw with the emulator's canvas renderer then. Values given stay.
    if (!qEnvironmentVariableIsSet("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    // Nothing draws with OpenGL then, but the engine would still make a GL context at start,
    // which loads the GL driver (llvmpipe's compiler alone is some 25 MB resident). Under X,
    // no GL at all; Qt says once on start that it made no context.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}

QString userDataFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString gameSavesFolder() {
    return userDataFolder() + QStringLiteral("/saves");
}

QWebEngineProfile* panelWebProfile() {
    static QWebEngineProfile* profile = newDiskProfile(QStringLiteral("panel"));
    return profile;
}

QWebEngineProfile* playerWebProfile() {
    static QWebEngineProfile* profile = newDiskProfile(QStringLiteral("player"));
    return profile;
}

} // namespace velmora
