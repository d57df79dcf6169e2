#pragma once

#include "platform/web/GameAddress.h"
#include "platform/web/GameFileAccess.h"
#include "platform/web/GameSaves.h"
#include "platform/web/LaunchGate.h"
#include "platform/web/QuietPage.h"
#include "platform/web/UrlOpener.h"

#include <QSet>
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
// opener, keeps what games save (GameSaves), and passes on what its script reports.
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
    // The address under which the emulator plays that movie (GameAddress).
    const QUrl& gameUrl() const { return m_gameUrl; }
    // What that game has saved, for the emulator's storage on the page.
    GameSaves::Entries gameSaves() const { return m_saves.load(m_gameId); }

Q_SIGNALS:
    // The movie that the page's play() call tagged with serial has loaded.
    void movieLoaded(int serial, int width, int height, double frameRate);
    // The emulator has panicked: it may be unusable for later movies until the page is loaded
    // afresh.
    void emulatorPanicked();
    // The game has been stopped by the page's stop() call; what it saved on leaving has been
    // passed on before.
    void gameStopped();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    void onNewWindowRequested(QWebEngineNewWindowRequest& request);
    void save(const QString& report);

    QUrl m_pageUrl;
    QUrl m_scriptUrl;
    UrlOpener m_opener;
    GameFileAccess m_access;
    GameRequestFilter m_filter{m_access};
    LaunchGate m_launches;
    GameAddress m_addresses;
    QString m_gameId;
    QUrl m_gameUrl;
    GameSaves m_saves;
    // The games played on this page: the emulator saves a game's data also when it leaves
    // the page, after the next game has started.
    QSet<QString> m_playedGames;
};

} // namespace velmora
