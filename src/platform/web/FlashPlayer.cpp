#include "platform/web/FlashPlayer.h"

#include "common/FileHelpers.h"
#include "common/NativeFileName.h"

#include "platform/web/EmbeddedView.h"
#include "platform/web/PlayerPage.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>
#include <QWebEngineLoadingInfo>
#include <QWebEngineView>

namespace velmora {

FlashPlayer::FlashPlayer(const QString& playerFolder, QWidget* parent, ViewStart viewStart)
    : QWidget(parent)
    , m_playerFolder(playerFolder) {
    if (viewStart == ViewStart::AtOnce)
        start();
}

void FlashPlayer::start() {
    if (m_page)
        return;
    m_page = makePage();
    embedView(this, m_page);
    m_page->load(m_page->pageUrl());
}

PlayerPage* FlashPlayer::makePage() {
    auto* page = new PlayerPage(m_playerFolder);
    if (m_opener)
        page->setUrlOpener(m_opener);
    connect(page, &QWebEnginePage::loadingChanged, this, &FlashPlayer::onLoadingChanged);
    connect(page, &PlayerPage::movieLoaded, this, [this](int serial, int width, int height, double frameRate) {
        if (serial == m_serial)
            Q_EMIT movieLoaded(width, height, frameRate);
    });
    connect(page, &QWebEnginePage::renderProcessTerminated, this,
            [this](QWebEnginePage::RenderProcessTerminationStatus status) {
                if (status != QWebEnginePage::NormalTerminationStatus)
                    restartPage();
            });
    connect(page, &PlayerPage::emulatorPanicked, this, [this] { m_emulatorPanicked = true; });
    return page;
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
    m_opener = std::move(opener);
    if (m_page)
        m_page->setUrlOpener(m_opener);
}

void FlashPlayer::endGame() {
    // A page being replaced may still be saving its game.
    if (m_leavingPage)
        waitUntilStopped(m_leavingPage);
    if (!m_pageReady || m_movie.isEmpty())
        return;
    m_movie.clear();
    ++m_serial;
    m_page->runJavaScript(QStringLiteral("velmora.stop()"));
    waitUntilStopped(m_page);
}

void FlashPlayer::waitUntilStopped(PlayerPage* page) {
    QEventLoop wait;
    connect(page, &PlayerPage::gameStopped, &wait, &QEventLoop::quit);
    QTimer::singleShot(StopTimeoutMs, &wait, &QEventLoop::quit);
    wait.exec();
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
        startAfresh(m_emulatorPanicked ? LeavingGame::Gone : LeavingGame::Stops);
        return; // the movie follows once the fresh page has loaded
    }
    const QString file = QDir::cleanPath(m_movie);
    if (!QDir::isAbsolutePath(file) || !isRegularFile(file)) {
        m_page->setGameFile(QString());
        m_page->runJavaScript(QStringLiteral("velmora.stop()"));
        return;
    }
    ++m_moviesOnPage;
    m_page->setGameFile(file);
    // The addresses carry the names' bytes on disk, which need not be UTF-8; the engine opens
    // the files by those bytes. The arguments go into the script as JSON, so that no file name
    // or saved text can break out of it.
    const auto fileUrl = [](const QString& path) -> QString {
        return QStringLiteral("file://") + QString::fromLatin1(NativeFileName::toBytes(path).toPercentEncoding("/"));
    };
    const QJsonObject game{
        {QStringLiteral("url"), m_page->gameUrl().toString(QUrl::FullyEncoded)},
        {QStringLiteral("file"), fileUrl(file)},
        {QStringLiteral("folder"), fileUrl(file.left(file.lastIndexOf(u'/') + 1))},
    };
    QJsonObject saves;
    const GameSaves::Entries entries = m_page->gameSaves();
    for (auto it = entries.begin(); it != entries.end(); ++it)
        saves.insert(it.key(), it.value());
    const QJsonArray playArgs{game, m_serial, saves, qint64(GameSaves::GameLimit)};
    const QString args = QString::fromUtf8(QJsonDocument(playArgs).toJson(QJsonDocument::Compact));
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
    startAfresh(LeavingGame::Gone);
}

void FlashPlayer::startAfresh(LeavingGame leaving) {
    m_emulatorPanicked = false;
    m_moviesOnPage = 0;
    m_pageReady = false;
    // A new page, not a reload: a reload keeps the page's process, and with it the most memory
    // the emulator ever took there; the old page's process ends with the page.
    PlayerPage* old = m_page;
    old->disconnect(this);
    old->setParent(this); // the view would delete the page it no longer shows
    m_page = makePage();
    auto* view = QWebEngineView::forPage(old);
    m_page->setParent(view);
    view->setPage(m_page);
    // The old page's widget would stay the view's focus proxy, hidden, and refuse the keyboard
    // until the new page has a widget. Meanwhile the view takes it, and hands it on then.
    view->setFocusProxy(nullptr);
    // The new page loads once the old one has stopped its game and has handed over what the
    // game saved on leaving, which the next game may read.
    auto* timeout = new QTimer(old);
    const auto retire = [this, old, fresh = m_page, timeout] {
        timeout->stop();
        old->disconnect(this);
        old->deleteLater();
        if (m_leavingPage == old)
            m_leavingPage = nullptr;
        if (m_page == fresh)
            fresh->load(fresh->pageUrl());
    };
    if (leaving == LeavingGame::Gone) {
        retire();
        return;
    }
    m_leavingPage = old;
    connect(old, &PlayerPage::gameStopped, this, retire);
    connect(timeout, &QTimer::timeout, this, retire);
    timeout->start(StopTimeoutMs);
    old->runJavaScript(QStringLiteral("velmora.stop()"));
}

} // namespace velmora
