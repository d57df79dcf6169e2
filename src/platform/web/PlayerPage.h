#pragma once

#include "platform/web/GameFileAccess.h"
#include "platform/web/LaunchGate.h"
#include "platform/web/QuietPage.h"
#include "platform/web/UrlOpener.h"

#include <QWebEngineUrlRequestInterceptor>

class QWebEngineNewWindowRequest;

namespace velmora {

// Refuses every request of the player page that GameFileAccess does not allow. It sits in the
// engine's network path, where no script of the page can reach it.
class GameRequestFilter : public QWebEngineUrlRequestInterceptor {
public:
    explicit GameRequestFilter(const GameFileAccess& access)
        : m_access(access) {}
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    const GameFileAccess& m_access;
};

// The page of the game player: loads only itself, reads of the local disk only what the game
// on display may read, hands the web pages that a game asks for on a user's click to the url
// opener, and passes on what its script reports.
class PlayerPage : public QuietPage {
    Q_OBJECT
public:
    // playerFolder holds player.html, player.js and the emulator's files.
    explicit PlayerPage(const QString& playerFolder, QObject* parent = nullptr);

    QUrl pageUrl() const { return m_pageUrl; }
    void setUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }
    // The full path of the movie that is about to play, empty when none: from now on the page
    // may read that movie and the files in its folder, and nothing else of the local disk.
    void setGameFile(const QString& moviePath);

Q_SIGNALS:
    // The movie that the page's play() call tagged with serial has loaded.
    void movieLoaded(int serial, int width, int height, double frameRate);
    // The emulator has panicked: it may be unusable for later movies until the page is loaded
    // afresh.
    void emulatorPanicked();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);

    QUrl m_pageUrl;
    QUrl m_scriptUrl;
    UrlOpener m_opener;
    GameFileAccess m_access;
    GameRequestFilter m_filter{m_access};
    LaunchGate m_launches;
};

} // namespace velmora
