#pragma once

#include "platform/web/QuietPage.h"
#include "platform/web/UrlOpener.h"

namespace velmora {

// The page of the game player: loads only itself, hands every other page a game asks for to
// the url opener, and passes on what its script reports.
class PlayerPage : public QuietPage {
    Q_OBJECT
public:
    // playerFolder holds player.html, player.js and the emulator's files.
    explicit PlayerPage(const QString& playerFolder, QObject* parent = nullptr);

    QUrl pageUrl() const { return m_pageUrl; }
    void setUrlOpener(UrlOpener opener) { m_opener = std::move(opener); }

Q_SIGNALS:
    // The movie that the page's play() call tagged with serial has loaded.
    void movieLoaded(int serial, int width, int height, double frameRate);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message, int lineNumber,
                                  const QString& sourceId) override;

private:
    void openExternally(const QUrl& url);

    QUrl m_pageUrl;
    QUrl m_scriptUrl;
    UrlOpener m_opener;
};

} // namespace velmora
