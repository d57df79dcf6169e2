#include "platform/web/PlayerPage.h"

#include <QColor>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

namespace velmora {

namespace {

const QString kLoadedReport = QStringLiteral("velmora:loaded ");

} // namespace

PlayerPage::PlayerPage(const QString& playerFolder, QObject* parent)
    : QuietPage(parent)
    , m_pageUrl(QUrl::fromLocalFile(playerFolder + QStringLiteral("/player.html")))
    , m_scriptUrl(QUrl::fromLocalFile(playerFolder + QStringLiteral("/player.js")))
    , m_opener([](const QUrl& url) { QDesktopServices::openUrl(url); }) {
    setSilent(true);
    setBackgroundColor(Qt::black);
    QWebEngineSettings* s = settings();
    // Game sound starts with the game, without a click first.
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // Games have network access: the page is a local file, the game's data may be on the web.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    // window.open() of a game: no window, the address goes to the browser of the user.
    connect(this, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) { openExternally(request.requestedUrl()); });
}

bool PlayerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool isMainFrame) {
    if (url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) == m_pageUrl)
        return true;
    // A game that navigates its own window asks for a web page: the player stays.
    if (isMainFrame)
        openExternally(url);
    return false;
}

void PlayerPage::openExternally(const QUrl& url) {
    // Only web pages: a game must not make the system open local files or other programs.
    if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https"))
        m_opener(url);
}

void PlayerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                          int lineNumber, const QString& sourceId) {
    if (QUrl(sourceId) != m_scriptUrl || !message.startsWith(kLoadedReport)) {
        QuietPage::javaScriptConsoleMessage(level, message, lineNumber, sourceId); // the log
        return;
    }
    const QJsonObject o = QJsonDocument::fromJson(message.mid(kLoadedReport.size()).toUtf8()).object();
    Q_EMIT movieLoaded(o.value(QLatin1String("serial")).toInt(-1), o.value(QLatin1String("width")).toInt(),
                       o.value(QLatin1String("height")).toInt(),
                       o.value(QLatin1String("frameRate")).toDouble());
}

} // namespace velmora
