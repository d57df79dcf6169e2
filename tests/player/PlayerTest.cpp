#include "PlayerTest.h"

#include "TestSupport.h"

#include "DemoMovies.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/PlayerPage.h"

#include <QKeyEvent>
#include <QPointer>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include <csignal>

namespace velmora::test {

namespace {

constexpr int kLoadTimeout = 90000;

using Metadata = std::tuple<int, int, double>;

Metadata metadata(const QList<QVariant>& signal) {
    return {signal.at(0).toInt(), signal.at(1).toInt(), signal.at(2).toDouble()};
}

struct Key {
    Qt::Key key;
    quint32 scanCode;
    quint32 keySym;
    const char* text;
};
// What an X11 keyboard sends: the engine takes the key's code from the scan code.
constexpr Key kKeyA{Qt::Key_A, 38, 0x61, "a"};
constexpr Key kKeyRight{Qt::Key_Right, 114, 0xff53, ""};

void sendKey(QEvent::Type type, const Key& k) {
    QKeyEvent event(type, k.key, Qt::NoModifier, k.scanCode, k.keySym, 0, QString::fromLatin1(k.text));
    QCoreApplication::sendEvent(QApplication::focusWidget(), &event);
}

double meanX(QWidget* player, QColor c) {
    return findColour(player, c, 30).x;
}

// Pixels of the player in the emulator's error colours (red to orange), and light ones (text).
struct Colours {
    int alarming = 0;
    int light = 0;
};

Colours coloursOf(QWidget* player) {
    const QImage image = player->grab().toImage();
    Colours c;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (p.red() > 200 && p.blue() < 120 && p.red() - p.green() > 60)
                ++c.alarming;
            else if (p.red() > 150 && p.green() > 150 && p.blue() > 150)
                ++c.light;
        }
    return c;
}

const QString kNoticeShown = QStringLiteral("!document.getElementById('notice').hidden");

} // namespace

void PlayerTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    // The program folder may be copied anywhere, also under a name with Chinese and spaces.
    const QString playerFolder = m_dir.filePath(QStringLiteral("游戏盒 程序/player"));
    QVERIFY(copyFolder(QStringLiteral(VELMORA_PLAYER_DIR), playerFolder));
    m_player = std::make_unique<FlashPlayer>(playerFolder);
    m_player->setUrlOpener([this](const QUrl& url) { m_opened.append(url.toString()); });
    m_player->resize(400, 300);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.get()));
}

void PlayerTest::cleanupTestCase() {
    m_player.reset();
}

void PlayerTest::init() {
    // Stops the game of the test before, and with it any page it still asks for.
    m_player->setMovie(QStringLiteral("http://"));
    QVERIFY(isPlayerEmpty());
    m_opened.clear();
}

QString PlayerTest::writeMovie(const QString& name, const QByteArray& movie) {
    QFile file(m_dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(movie) != movie.size())
        return {};
    return file.fileName();
}

QVariant PlayerTest::evaluateInPlayer(const QString& script) {
    // The player's page of the moment: a change of movie may replace it.
    return evaluate(pageOf(m_player.get()), script);
}

bool PlayerTest::isPlayerEmpty() {
    return evaluateInPlayer(QStringLiteral("document.querySelector('ruffle-player.game') === null")).toBool();
}

void PlayerTest::focusGameAndWait() {
    m_player->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_player.get()));
    m_player->focusGame();
    QTRY_VERIFY_WITH_TIMEOUT(
        QApplication::focusWidget() && m_player->isAncestorOf(QApplication::focusWidget()), kLoadTimeout);
    // The page learns of the focus in its own time; a key pressed before would be lost.
    QTRY_VERIFY_WITH_TIMEOUT(
        evaluate(
            pageOf(m_player.get()),
            QStringLiteral("document.hasFocus() && document.activeElement.localName === 'ruffle-player'"))
            .toBool(),
        kLoadTimeout);
}

void PlayerTest::playsMoviesAsWritten() {
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("游戏 1.swf"), stillMovie(320, 240, 12)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(metadata(loaded.takeFirst()), Metadata(320, 240, 12.0));

    m_player->setMovie(writeMovie(QStringLiteral("game#2 %20.swf"), stillMovie(550, 400, 24.5)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(metadata(loaded.takeFirst()), Metadata(550, 400, 24.5));
}

void PlayerTest::dropsMovieOnHttp() {
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("a.swf"), stillMovie(100, 100, 10)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    m_player->setMovie(QStringLiteral("http://"));
    QVERIFY(isPlayerEmpty());

    // A movie dropped before it has loaded reports nothing; only the one after it does.
    loaded.clear();
    m_player->setMovie(writeMovie(QStringLiteral("b.swf"), stillMovie(120, 90, 15)));
    m_player->setMovie(QStringLiteral("http://"));
    m_player->setMovie(writeMovie(QStringLiteral("c.swf"), stillMovie(160, 120, 20)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(metadata(loaded.takeFirst()), Metadata(160, 120, 20.0));
}

void PlayerTest::survivesBadMovieFiles() {
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("corrupt.swf"), QByteArray("FWS\x08garbage", 11)));
    m_player->setMovie(writeMovie(QStringLiteral("empty.swf"), QByteArray()));
    m_player->setMovie(m_dir.filePath(QStringLiteral("missing.swf")));
    QVERIFY(isPlayerEmpty());
    m_player->setMovie(m_dir.path()); // a folder
    QVERIFY(isPlayerEmpty());
    m_player->setMovie(writeMovie(QStringLiteral("truncated.swf"), stillMovie(200, 100, 30).left(30)));
    m_player->setMovie(writeMovie(QStringLiteral("good.swf"), stillMovie(200, 100, 30)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(metadata(loaded.takeFirst()), Metadata(200, 100, 30.0));
}

void PlayerTest::playsOnAFreshPageAfterManyMovies() {
    // Cleared before each game, as the window does; every movie plays, also the one that
    // comes while the used page is being replaced. The used page goes, and its process with it.
    QPointer<QWebEnginePage> used = pageOf(m_player.get());
    QVERIFY(evaluate(used, QStringLiteral("window.usedPage = true")).toBool());
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    for (int i = 1; i <= FlashPlayer::MoviesPerPage + 1; ++i) {
        m_player->setMovie(QStringLiteral("http://"));
        m_player->setMovie(writeMovie(QStringLiteral("第%1个.swf").arg(i), stillMovie(100 + i, 80, 10)));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), i, kLoadTimeout);
        QCOMPARE(metadata(loaded.last()), Metadata(100 + i, 80, 10.0));
    }
    QTRY_VERIFY(used.isNull());
    QCOMPARE(evaluateInPlayer(QStringLiteral("window.usedPage === undefined")).toBool(), true);
}

void PlayerTest::closingWaitsForTheReplacedPageToStop() {
    // Plays until a page has been replaced and the new one is used up.
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    QWebEnginePage* page = pageOf(m_player.get());
    int onNewPage = 0;
    for (int i = 1; onNewPage < FlashPlayer::MoviesPerPage; ++i) {
        m_player->setMovie(QStringLiteral("http://"));
        m_player->setMovie(writeMovie(QStringLiteral("满%1.swf").arg(i), stillMovie(100, 80, 10)));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), i, kLoadTimeout);
        if (pageOf(m_player.get()) != page) {
            page = pageOf(m_player.get());
            onNewPage = 1;
        } else if (onNewPage > 0) {
            ++onNewPage;
        }
    }
    // Closed the moment the used page is replaced: the program waits until its game has saved.
    auto* used = qobject_cast<PlayerPage*>(page);
    QVERIFY(used);
    QSignalSpy stopped(used, &PlayerPage::gameStopped);
    m_player->setMovie(QStringLiteral("http://"));
    QVERIFY(pageOf(m_player.get()) != used);
    m_player->endGame();
    QCOMPARE(stopped.count(), 1);
}

void PlayerTest::showsNoticeForUnplayableFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QByteArray noise(4096, '\0');
    QRandomGenerator random(16);
    for (char& b : noise)
        b = char(random.bounded(256));
    QTest::newRow("random bytes") << noise;
}

void PlayerTest::showsNoticeForUnplayableFile() {
    QFETCH(QByteArray, content);
    m_player->setMovie(writeMovie(QStringLiteral("坏游戏.swf"), content));
    QTRY_VERIFY_WITH_TIMEOUT(evaluateInPlayer(kNoticeShown).toBool(), kLoadTimeout);
    // Only the notice: nothing of the emulator (its error screen, its details, its name).
    QCOMPARE(evaluateInPlayer(QStringLiteral("document.body.innerText.trim()")).toString(),
             QStringLiteral("无法播放这个游戏，可以重新下载后再试。"));
    QVERIFY(isPlayerEmpty());
    const Colours shown = coloursOf(m_player.get());
    QCOMPARE(shown.alarming, 0);
    QVERIFY(shown.light > 0);

    // The next game plays in its place, and "http://" leaves the player black.
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("好游戏.swf"), stillMovie(200, 150, 10)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QVERIFY(!evaluateInPlayer(kNoticeShown).toBool());
    m_player->setMovie(writeMovie(QStringLiteral("坏游戏.swf"), content));
    QTRY_VERIFY_WITH_TIMEOUT(evaluateInPlayer(kNoticeShown).toBool(), kLoadTimeout);
    m_player->setMovie(QStringLiteral("http://"));
    QTRY_VERIFY_WITH_TIMEOUT(!evaluateInPlayer(kNoticeShown).toBool(), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(coloursOf(m_player.get()).light, 0, kLoadTimeout);
}

void PlayerTest::startsSoundWithoutClick() {
    // The engine's autoplay rule is what the emulator's audio runs into: without a click,
    // audio only starts when the page may play sound on its own.
    QCOMPARE(evaluateInPlayer(QStringLiteral("new AudioContext().state")).toString(),
             QStringLiteral("running"));
}

void PlayerTest::rightClickOffersOnlyWorkingEntries() {
    // Without a game the player has no menu at all.
    QVERIFY(rightClickPage(m_player.get()));
    QVERIFY(!engineMenuOpened());

    // With one, the emulator's menu opens and the engine's does not; the menu holds the
    // game's entries and the volume, and nothing that copies debug data or leads to the
    // emulator's site, nor separators left over from them.
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("menu.swf"), stillMovie(320, 240, 12)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    const QString menuShown = QStringLiteral(
        "!document.querySelector('ruffle-player').shadowRoot.getElementById('context-menu-overlay')"
        ".classList.contains('hidden')");
    QVERIFY(!evaluateInPlayer(menuShown).toBool());
    QVERIFY(rightClickPage(m_player.get()));
    QVERIFY(!engineMenuOpened());
    QVERIFY(evaluateInPlayer(menuShown).toBool());
    const QStringList entries =
        evaluateInPlayer(QStringLiteral("[...document.querySelector('ruffle-player').shadowRoot"
                                      ".querySelectorAll('#context-menu > li')].map(li => "
                                      "li.classList.contains('menu-separator') ? '-' : li.dataset.text)"))
            .toStringList();
    QVERIFY2(entries.contains(QStringLiteral("音量控制")), qPrintable(entries.join(u'|')));
    for (const QString& entry : entries)
        QVERIFY2(!entry.contains(QStringLiteral("Ruffle"), Qt::CaseInsensitive) &&
                     !entry.contains(QStringLiteral("调试")) &&
                     !entry.contains(QStringLiteral("debug"), Qt::CaseInsensitive),
                 qPrintable(entry));
    QVERIFY2(entries.first() != u'-' && entries.last() != u'-' &&
                 !entries.join(QString()).contains(QStringLiteral("--")),
             qPrintable(entries.join(u'|')));
}

void PlayerTest::keyPressReachesGameAfterFocus() {
    const QString probe = QStringLiteral("http://127.0.0.1:9/key-a");
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("keys.swf"), keyProbeMovie(probe)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    focusGameAndWait();
    if (QTest::currentTestFailed())
        return;
    QVERIFY(m_opened.isEmpty());

    // Held down until the game has seen it: the game looks at the key once a frame.
    sendKey(QEvent::KeyPress, kKeyA);
    QTRY_VERIFY_WITH_TIMEOUT(!m_opened.isEmpty(), kLoadTimeout);
    sendKey(QEvent::KeyRelease, kKeyA);
    QCOMPARE(m_opened.first(), probe);
}

void PlayerTest::arrowKeysMoveTheDemoSquare() {
    const QColor blue(40, 110, 240), green(60, 200, 90);
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("arrows.swf"), swf::demoMovie(QStringLiteral("arrows"))));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(meanX(m_player.get(), blue) > 0, kLoadTimeout);
    const double start = meanX(m_player.get(), blue);
    const double posts = meanX(m_player.get(), green);
    focusGameAndWait();
    if (QTest::currentTestFailed())
        return;
    sendKey(QEvent::KeyPress, kKeyRight);
    QTRY_VERIFY_WITH_TIMEOUT(meanX(m_player.get(), blue) > start + 20, kLoadTimeout);
    sendKey(QEvent::KeyRelease, kKeyRight);
    // Only the square: the posts around it stay where they are.
    QCOMPARE(qRound(meanX(m_player.get(), green)), qRound(posts));
}

void PlayerTest::recoversFromDeadPageProcess() {
    const qint64 pid = pageOf(m_player.get())->renderProcessPid();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGKILL);
    QTRY_VERIFY_WITH_TIMEOUT(pageOf(m_player.get())->renderProcessPid() != pid &&
                                 pageOf(m_player.get())->renderProcessPid() > 0,
                             kLoadTimeout);

    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeMovie(QStringLiteral("after.swf"), stillMovie(300, 200, 25)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(metadata(loaded.takeFirst()), Metadata(300, 200, 25.0));
}

} // namespace velmora::test
