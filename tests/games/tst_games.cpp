// The demo games in the real player: each loads and draws its title screen, a game's sound
// reaches the audio output with no click, the mouse game follows a real pointer and click.
// Game state is read from the player's pixels: the games draw their objects in colours of
// their own.
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebEngineSetup.h"
#include "support/TemporaryUserData.h"

#include <QApplication>
#include <QImage>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <memory>
#include <optional>

using namespace velmora;

namespace {

constexpr int kTimeout = 90000;

QString gamePath(const QString& name) {
    return QStringLiteral(GAMES_DIR "/") + name + QStringLiteral(".swf");
}

QWebEnginePage* pageOf(QWidget* player) {
    return player->findChild<QWebEngineView*>()->page();
}

QVariant runScript(QWebEnginePage* page, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [result](const QVariant& v) { *result = v; });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, 30000))
        return {};
    return result->value();
}

// Where the pixels of one colour are in a widget: how many, and their mean x (-1 without any).
struct Spot {
    int count = 0;
    double x = -1;
};

Spot find(QWidget* widget, QColor c) {
    const QImage image = widget->grab().toImage();
    Spot spot;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - c.red()) + qAbs(p.green() - c.green()) + qAbs(p.blue() - c.blue()) < 24) {
                ++spot.count;
                sum += x;
            }
        }
    if (spot.count > 0)
        spot.x = sum / spot.count;
    return spot;
}

// The pointer of the X server, moved and clicked through XTEST as a user's hand would: Qt's
// synthetic events skip the way from the server into the web content, where input gets lost.
class RealPointer {
public:
    RealPointer()
        : m_display(XOpenDisplay(nullptr)) {}
    ~RealPointer() {
        if (m_display)
            XCloseDisplay(m_display);
    }
    RealPointer(const RealPointer&) = delete;
    RealPointer& operator=(const RealPointer&) = delete;

    bool isAvailable() const { return m_display != nullptr; }

    // global: in pixels of the X screen, as QWidget::mapToGlobal gives them under xvfb-run.
    void moveTo(QPoint global) {
        XTestFakeMotionEvent(m_display, -1, global.x(), global.y(), 0);
        XSync(m_display, False);
    }

    void click(QPoint global) {
        moveTo(global);
        XTestFakeButtonEvent(m_display, 1, True, 0);
        XTestFakeButtonEvent(m_display, 1, False, 0);
        XSync(m_display, False);
    }

private:
    Display* m_display;
};

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
        QTRY_VERIFY_WITH_TIMEOUT(find(m_player.get(), title).count > 300, kTimeout);
    }

    void mouseGameFollowsRealPointerAndClick() {
        const QColor paddle(0x38f0c8);
        RealPointer pointer;
        QVERIFY2(pointer.isAvailable(), "no X display with XTEST");
        QCOMPARE(std::get<0>(play(QStringLiteral("bricks"))), 600);
        QTRY_VERIFY_WITH_TIMEOUT(find(m_player.get(), QColor(0xffd23d)).count > 300, kTimeout);
        QCOMPARE(find(m_player.get(), paddle).count, 0);

        // A click on the title screen starts the game: the paddle appears under the pointer.
        const QRect area(m_player->mapToGlobal(QPoint(0, 0)), m_player->size());
        pointer.click(QPoint(area.left() + area.width() / 4, area.center().y()));
        QTRY_VERIFY_WITH_TIMEOUT(find(m_player.get(), paddle).count > 50, kTimeout);
        QVERIFY(find(m_player.get(), paddle).x < m_player->width() / 2.0);
        // It follows the pointer to the other side.
        pointer.moveTo(QPoint(area.right() - area.width() / 4, area.center().y()));
        QTRY_VERIFY_WITH_TIMEOUT(find(m_player.get(), paddle).x > m_player->width() / 2.0, kTimeout);
    }

    void soundStartsWithoutClick() {
        runScript(pageOf(m_player.get()), kAudioProbe);
        QCOMPARE(std::get<0>(play(QStringLiteral("echo"))), 480);
        // The greeting of the pads plays by itself: no click, no key.
        QTRY_VERIFY_WITH_TIMEOUT(
            runScript(pageOf(m_player.get()), QStringLiteral("audioProbe.loudBuffers")).toInt() > 0,
            kTimeout);
        QCOMPARE(runScript(pageOf(m_player.get()), QStringLiteral("audioProbe.context.state")).toString(),
                 QStringLiteral("running"));
    }
};

int main(int argc, char** argv) {
    velmora::test::useTemporaryUserData();
    prepareWebEngine();
    QApplication app(argc, argv);
    GamesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_games.moc"
