// The demo games in the real player: each loads and draws its title screen, a game's sound
// reaches the audio output with no click, the mouse game follows a real pointer and click, and
// the keyboard game, chosen in the game box's favourites, takes an arrow key pressed at once.
// Game state is read from the player's pixels: the games draw their objects in colours of
// their own.
#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "platform/web/FlashPlayer.h"
#include "support/RealInput.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedServer.h"
#include "support/WebContent.h"
#include "tools/catalogue/CatalogueWriter.h"
#include "support/TemporaryUserData.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QTest>

#include <memory>

using namespace velmora;
using namespace velmora::test;

namespace {

constexpr int kTimeout = 90000;

QString gamePath(const QString& name) {
    return QStringLiteral(GAMES_DIR "/") + name + QStringLiteral(".swf");
}

// Installed in the player's page before a game starts: counts the audio buffers with sound in
// them that the emulator hands to the output, and keeps the audio context of the last one.
const QString kAudioProbe = QStringLiteral(R"(
(() => {
    if (window.audioProbe) {
        audioProbe.loudBuffers = 0;
        return;
    }
    window.audioProbe = { loudBuffers: 0, context: null };
    const start = AudioBufferSourceNode.prototype.start;
    AudioBufferSourceNode.prototype.start = function (...args) {
        const samples = this.buffer ? this.buffer.getChannelData(0) : [];
        if (samples.some((s) => Math.abs(s) > 0.01)) {
            ++audioProbe.loudBuffers;
            audioProbe.context = this.context;
        }
        return start.apply(this, args);
    };
})()
)");

} // namespace

class GamesTest : public QObject {
    Q_OBJECT

    std::unique_ptr<FlashPlayer> m_player;

    using Metadata = std::tuple<int, int, double>;

    // Starts the game and waits until the player reports it loaded: its stage size and frame
    // rate, all -1 when it did not load.
    Metadata play(const QString& game) {
        QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
        m_player->setMovie(gamePath(game));
        if (!QTest::qWaitFor([&] { return !loaded.isEmpty(); }, kTimeout))
            return {-1, -1, -1};
        const QList<QVariant> args = loaded.takeFirst();
        return {args.at(0).toInt(), args.at(1).toInt(), args.at(2).toDouble()};
    }

private Q_SLOTS:
    void initTestCase() {
        m_player = std::make_unique<FlashPlayer>(QStringLiteral(PLAYER_FOLDER));
        m_player->resize(480, 360);
        m_player->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_player.get()));
    }

    void cleanupTestCase() { m_player.reset(); }

    void init() { m_player->setMovie(QStringLiteral("http://")); }

    void loadsAndDrawsItsTitle_data() {
        QTest::addColumn<QString>("game");
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<QColor>("title");
        QTest::newRow("keyboard") << QStringLiteral("starpatrol") << 640 << 480 << QColor(0x59d8ff);
        QTest::newRow("mouse") << QStringLiteral("bricks") << 600 << 450 << QColor(0xffd23d);
        QTest::newRow("puzzle") << QStringLiteral("blockpop") << 560 << 420 << QColor(0xffc93c);
        QTest::newRow("sound") << QStringLiteral("echo") << 480 << 360 << QColor(0xffffff);
    }

    void loadsAndDrawsItsTitle() {
        QFETCH(QString, game);
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(QColor, title);
        QVERIFY(QFileInfo(gamePath(game)).size() > 0);
        QCOMPARE(play(game), Metadata(width, height, 60.0));
        // The title's letters: the game's own code runs and draws with its own font.
        QTRY_VERIFY_WITH_TIMEOUT(findColour(m_player.get(), title).count > 300, kTimeout);
    }

    void mouseGameFollowsRealPointerAndClick() {
        const QColor paddle(0x38f0c8);
        RealInput input;
        QVERIFY2(input.isAvailable(), "no X display with XTEST");
        QCOMPARE(std::get<0>(play(QStringLiteral("bricks"))), 600);
        QTRY_VERIFY_WITH_TIMEOUT(findColour(m_player.get(), QColor(0xffd23d)).count > 300, kTimeout);
        QCOMPARE(findColour(m_player.get(), paddle).count, 0);

        // A click on the title screen starts the game: the paddle appears under the pointer.
        const QRect area = m_player->rect();
        input.click(m_player.get(), QPoint(area.left() + area.width() / 4, area.center().y()));
        QTRY_VERIFY_WITH_TIMEOUT(findColour(m_player.get(), paddle).count > 50, kTimeout);
        QVERIFY(findColour(m_player.get(), paddle).x < m_player->width() / 2.0);
        // It follows the pointer to the other side.
        input.moveTo(m_player.get(), QPoint(area.right() - area.width() / 4, area.center().y()));
        QTRY_VERIFY_WITH_TIMEOUT(findColour(m_player.get(), paddle).x > m_player->width() / 2.0, kTimeout);
    }

    void keyboardGameInTheBoxTakesAKeyPressedAtOnce() {
        RealInput input;
        QVERIFY2(input.isAvailable(), "no X display with XTEST");
        // A program folder with one catalogue game and the keyboard game among the favourites.
        QTemporaryDir root;
        const InstallPaths paths(root.filePath(QStringLiteral("box")));
        QVERIFY(QDir().mkpath(QFileInfo(paths.catalogueFile()).absolutePath()));
        QVERIFY(tools::writeCatalogue({{1, QStringLiteral("小游戏"), 1, 1, std::nullopt}}, paths.catalogueFile())
                    .isEmpty());
        QVERIFY(QDir().mkpath(paths.favouritesFolder()));
        QVERIFY(QFile::copy(gamePath(QStringLiteral("starpatrol")),
                            paths.favouritesFolder() + QStringLiteral("/starpatrol.swf")));
        RecordingMessageSink messages;
        Form1 form({paths.appPath(), QStringLiteral("http://127.0.0.1:%1/").arg(closedPort()), &messages,
                    QStringLiteral(PLAYER_FOLDER), [] {
                    }});
        form.load();
        form.show();
        form.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&form));
        auto* favourites = form.findChild<QWidget*>(QStringLiteral("Label51"));
        auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
        auto* player = form.findChild<FlashPlayer*>(QStringLiteral("ShockwaveFlash1"));

        input.click(favourites, favourites->rect().center());
        QTRY_COMPARE(form.CurrentCategory(), QStringLiteral("wodeshoucang"));
        QCOMPARE(list->count(), 1);
        input.clickRow(list, 0);
        // The arrow key starts the game on its title screen and flies the ship from the middle
        // to the right.
        input.holdKey(XK_Right);
        const double middle = player->width() / 2.0;
        const ColourSpot ship = waitForColour(
            player, QColor(0x2ee6a0), [&](const ColourSpot& s) { return s.x > middle + 30; }, kTimeout);
        input.releaseKey(XK_Right);
        QVERIFY2(ship.x > middle + 30, qPrintable(QStringLiteral("the ship is at x %1").arg(ship.x)));
        QVERIFY(messages.shown.empty());
    }

    void soundStartsWithoutClick() {
        evaluate(pageOf(m_player.get()), kAudioProbe);
        QCOMPARE(std::get<0>(play(QStringLiteral("echo"))), 480);
        // The greeting of the pads plays by itself: no click, no key.
        QTRY_VERIFY_WITH_TIMEOUT(
            evaluate(pageOf(m_player.get()), QStringLiteral("audioProbe.loudBuffers")).toInt() > 0,
            kTimeout);
        QCOMPARE(evaluate(pageOf(m_player.get()), QStringLiteral("audioProbe.context.state")).toString(),
                 QStringLiteral("running"));
    }
};

int main(int argc, char** argv) {
    velmora::test::useTemporaryUserData();
    prepareTestWebEngine();
    QApplication app(argc, argv);
    GamesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_games.moc"
