#include "platform/web/FlashPlayer.h"

#include "platform/web/EmbeddedView.h"
#include "platform/web/PlayerPage.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QWebEngineLoadingInfo>

namespace velmora {

FlashPlayer::FlashPlayer(const QString& playerFolder, QWidget* parent)
    : QWidget(parent)
    , m_page(new PlayerPage(playerFolder)) {
    embedView(this, m_page);
    connect(m_page, &QWebEnginePage::loadingChanged, this, &FlashPlayer::onLoadingChanged);
    connect(m_page, &PlayerPage::movieLoaded, this,
            [this](int serial, int width, int height, double frameRate) {
                if (serial == m_serial)
                    Q_EMIT movieLoaded(width, height, frameRate);
            });
    connect(m_page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    restartPage();
            });
    connect(m_page, &PlayerPage::emulatorPanicked, this, [this] { m_emulatorPanicked = true; });
    m_page->load(m_page->pageUrl());
}

void FlashPlayer::setMovie(const QString& movie) {
    m_movie = movie;
    ++m_serial;
    if (m_pageReady)
        showMovie();
}

void FlashPlayer::focusGame() {
    setFocus(Qt::OtherFocusReason);
    if (m_pageReady)
        m_page->runJavaScript(QStringLiteral("velmora.focus()"));
}

void FlashPlayer::setUrlOpener(UrlOpener opener) {
    m_page->setUrlOpener(std::move(opener));
}

void FlashPlayer::onLoadingChanged(const QWebEngineLoadingInfo& info) {
    // Navigations away from the page are refused and end in a failed load of their own, which
    // leaves the page as it was.
    if (info.url() != m_page->pageUrl())
        return;
    m_pageReady = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
    if (m_pageReady)
        showMovie();
}

void FlashPlayer::showMovie() {
    // The page is loaded afresh after a panic (the emulator may fail every later movie on it;
    // the notice stays until then) and once it has played its share of movies, at the next
    // change of movie: the window clears the player with "http://" before each game.
    if (m_emulatorPanicked || m_moviesOnPage >= MoviesPerPage) {
        startAfresh();
        return; // the movie follows once the fresh page has loaded
    }
    const QFileInfo file(m_movie);
    if (!file.isAbsolute() || !file.isFile()) {
        m_page->setGameFile(QString());
        m_page->runJavaScript(QStringLiteral("velmora.stop()"));
        return;
    }
    ++m_moviesOnPage;
    m_page->setGameFile(file.absoluteFilePath());
    // The address goes into the script as JSON, so that no file name can break out of it.
    const QString url = QUrl::fromLocalFile(file.absoluteFilePath()).toString(QUrl::FullyEncoded);
    const QString args =
        QString::fromUtf8(QJsonDocument(QJsonArray{url, m_serial}).toJson(QJsonDocument::Compact));
    m_page->runJavaScript(QStringLiteral("velmora.play(...%1)").arg(args));
    // A new movie replaces the element that had the keyboard; the game keeps it.
    if (hasFocus())
        m_page->runJavaScript(QStringLiteral("velmora.focus()"));
}

void FlashPlayer::restartPage() {
    // The page's process died (with it the game). The game is not started again, in case it
    // was the cause; the player comes back black.
    m_movie.clear();
    ++m_serial;
    startAfresh();
}

void FlashPlayer::startAfresh() {
    m_emulatorPanicked = false;
    m_moviesOnPage = 0;
    m_pageReady = false;
    m_page->load(m_page->pageUrl());
}

} // namespace velmora
