#include "platform/web/PlayerPage.h"

#include "platform/web/WebEngineSetup.h"

#include <QColor>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineSettings>

namespace velmora {

namespace {

const QString kLoadedReport = QStringLiteral("velmora:loaded ");
const QString kPanicReport = QStringLiteral("velmora:panic ");
const QString kSaveReport = QStringLiteral("velmora:save ");
const QString kStoppedReport = QStringLiteral("velmora:stopped ");

} // namespace

void GameRequestFilter::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!m_access.allows(info.requestUrl()))
        info.block(true);
}

PlayerPage::PlayerPage(const QString& playerFolder, QObject* parent)
    : QuietPage(playerWebProfile(), parent)
    , m_pageUrl(QUrl::fromLocalFile(playerFolder + QStringLiteral("/player.html")))
    , m_scriptUrl(QUrl::fromLocalFile(playerFolder + QStringLiteral("/player.js")))
    , m_opener([](const QUrl& url) { QDesktopServices::openUrl(url); })
    , m_access(playerFolder)
    // The player folder is the folder "player" in the program folder.
    , m_addresses(playerFolder + QStringLiteral("/.."))
    , m_saves(gameSavesFolder()) {
    setSilent(true);
    setBackgroundColor(Qt::black);
    setUrlRequestInterceptor(&m_filter);
    QWebEngineSettings* s = settings();
    // Game sound starts with the game, without a click first.
    s->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
    // Games have network access: the page is a local file, the game's data may be on the web.
    // Which local files they may read is the request filter's decision.
    s->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    s->setAttribute(QWebEngineSettings::ShowScrollBars, false);
    connect(this, &QWebEnginePage::newWindowRequested, this, &PlayerPage::onNewWindowRequested);
}

void PlayerPage::setGameFile(const QString& moviePath) {
    m_access.setMovie(moviePath);
    m_gameId = m_addresses.gameId(moviePath);
    m_gameUrl = m_addresses.movieUrl(moviePath);
    if (!m_gameId.isEmpty())
        m_playedGames.insert(m_gameId);
    // Each game starts with a clean slate: its first click may open a page at once.
    m_launches = LaunchGate();
}

void PlayerPage::onNewWindowRequested(QWebEngineNewWindowRequest& request) {
    // No window, ever: a page that the user asked for goes to the user's browser. The page's
    // script turns requests for the player's own window into requests like this one, so that
    // the engine says whether the user asked.
    if (m_launches.admit(request.requestedUrl(), request.isUserInitiated()))
        m_opener(request.requestedUrl());
}

bool PlayerPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
    // The player page stays: every other page is refused here, whatever asked for it.
    return url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery) == m_pageUrl;
}

void PlayerPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                          int lineNumber, const QString& sourceId) {
    // Reports come from the page's own script only; the emulator and the games log as well.
    const bool fromPage = QUrl(sourceId) == m_scriptUrl;
    if (fromPage && message.startsWith(kLoadedReport)) {
        const QJsonObject o = QJsonDocument::fromJson(message.mid(kLoadedReport.size()).toUtf8()).object();
        Q_EMIT movieLoaded(o.value(QLatin1String("serial")).toInt(-1),
                           o.value(QLatin1String("width")).toInt(), o.value(QLatin1String("height")).toInt(),
                           o.value(QLatin1String("frameRate")).toDouble());
    } else if (fromPage && message.startsWith(kPanicReport)) {
        Q_EMIT emulatorPanicked();
    } else if (fromPage && message.startsWith(kSaveReport)) {
        save(message.mid(kSaveReport.size()));
    } else if (fromPage && message.startsWith(kStoppedReport)) {
        Q_EMIT gameStopped();
    } else {
        QuietPage::javaScriptConsoleMessage(level, message, lineNumber, sourceId); // the log
    }
}

void PlayerPage::save(const QString& report) {
    // {"key": …, "value": …}; no value: the entry is gone. The key starts with the game's id.
    const QJsonObject o = QJsonDocument::fromJson(report.toUtf8()).object();
    const QString key = o.value(QLatin1String("key")).toString();
    const QString game = key.section(u'/', 0, 0);
    if (!m_playedGames.contains(game))
        return;
    const QJsonValue value = o.value(QLatin1String("value"));
    const bool saved = value.isString() ? m_saves.put(game, key, value.toString()) : m_saves.remove(game, key);
    if (!saved)
        qWarning("The data of game %s could not be saved in %s", qPrintable(game), qPrintable(m_saves.folder()));
}

} // namespace velmora
