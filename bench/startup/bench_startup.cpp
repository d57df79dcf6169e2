// Start-up, first play and memory of the game box on a small installation:
//  - the time from process start until the hot list is first painted, and the same for a bare
//    Qt window with a list and no web engine, started by the same harness (medians of runs);
//  - the time from a click on a game on disk (through the X server, as a user clicks) until its
//    first frame is shown and until an arrow key, held from the click on, moves it: the first
//    game after start, later ones on the same player page and the one that gets a fresh page;
//  - the memory (PSS) of the program and all its web engine processes with a game playing and
//    a page shown.
// The parent builds the installation and starts itself as the measured child.

#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "platform/QtMessageSink.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebEngineSetup.h"
#include "support/RealInput.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "DemoMovies.h"
#include "ProcessUsage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <utility>
#include <vector>

using namespace velmora;

namespace {

constexpr int Runs = 3;
constexpr int Games = 300;
// Two games on disk, both in the hot list: the square that the arrow keys move.
constexpr qint32 FirstGame = 3;
constexpr qint32 LaterGame = 6;
// How long after the list is painted the user clicks the first game, and how long the first
// game plays before the later one is clicked.
constexpr int FirstClickAfterPaintMs = 1000;
constexpr int LaterClickAfterMs = 3000;

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

QString makeInstallation(const QString& root) {
    const QString app = root + QStringLiteral("/box");
    const InstallPaths paths(app);
    QDir().mkpath(QFileInfo(paths.catalogueFile()).absolutePath());
    std::vector<tools::CatalogueRecord> games;
    for (int id = 1; id <= Games; ++id)
        games.push_back({id, QStringLiteral("游戏%1").arg(id), qint32(1 + id % 3), double(id % 50),
                         QStringLiteral("一个小游戏的介绍。")});
    if (!tools::writeCatalogue(games, paths.catalogueFile()).isEmpty())
        qFatal("cannot write the catalogue");
    writeFile(paths.mirrorFile(), "xyzfs1234sw\r\n");
    for (const qint32 id : {FirstGame, LaterGame})
        writeFile(paths.gameFile(id), swf::demoMovie(QStringLiteral("arrows")));
    return app;
}

qint64 treePssKiB(qint64 pid) {
    qint64 total = 0;
    for (const bench::ProcessUsage& process : bench::processTreeUsage(pid))
        total += process.pssKiB;
    return total;
}

void report(const char* line) {
    std::printf("%s\n", line);
    std::fflush(stdout);
}

// Prints "painted" at the first paint of the watched widget.
struct PaintWatch : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            report("painted");
            if (onPainted)
                QTimer::singleShot(0, onPainted);
        }
        return false;
    }
    bool painted = false;
    std::function<void()> onPainted;
};

// The mean x of the demo square's blue in the player, -1 while it is not shown.
double squareX(QWidget* player) {
    const QImage image = player->grab().toImage().convertToFormat(QImage::Format_RGB32);
    double sum = 0;
    int count = 0;
    for (int y = 0; y < image.height(); y += 2) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); x += 2) {
            const QRgb p = line[x];
            if (qAbs(qRed(p) - 40) + qAbs(qGreen(p) - 110) + qAbs(qBlue(p) - 240) < 30) {
                sum += x;
                ++count;
            }
        }
    }
    return count > 20 ? sum / count : -1;
}

// One click on a game's row with the Right arrow held from then on: prints "<label> <ms until
// the first frame> <ms until the square moved>", then calls done.
class PlayProbe : public QObject {
public:
    PlayProbe(QListWidget* list, QWidget* player, test::RealInput& input)
        : m_list(list)
        , m_player(player)
        , m_input(input) {
        m_poll.setInterval(5);
        connect(&m_poll, &QTimer::timeout, this, &PlayProbe::poll);
    }

    void start(qint32 gameId, const char* label, std::function<void()> done) {
        m_label = label;
        m_done = std::move(done);
        m_frameMs = -1;
        // The game before shows the same square until the player drops it.
        m_oldGameShown = squareX(m_player) >= 0;
        for (int row = 0; row < m_list->count(); ++row) {
            if (m_list->item(row)->data(Qt::UserRole).toInt() == gameId) {
                m_clock.start();
                m_input.clickRow(m_list, row);
                m_input.holdKey(XK_Right);
                m_poll.start();
                return;
            }
        }
        qFatal("game %d is not listed", gameId);
    }

private:
    void poll() {
        const double x = squareX(m_player);
        if (x < 0)
            m_oldGameShown = false;
        if (x < 0 || m_oldGameShown)
            return;
        if (m_frameMs < 0) {
            m_frameMs = m_clock.nsecsElapsed() / 1e6;
            m_startX = x;
            return;
        }
        if (x > m_startX + 4) {
            m_poll.stop();
            m_input.releaseKey(XK_Right);
            std::printf("%s %.0f %.0f\n", m_label, m_frameMs, m_clock.nsecsElapsed() / 1e6);
            std::fflush(stdout);
            m_done();
        }
    }

    QListWidget* m_list;
    QWidget* m_player;
    test::RealInput& m_input;
    QTimer m_poll;
    QElapsedTimer m_clock;
    const char* m_label = "";
    std::function<void()> m_done;
    double m_frameMs = -1;
    double m_startX = -1;
    bool m_oldGameShown = false;
};

int runBox(int argc, char** argv, const QString& appPath, const QString& playerFolder, const QString& site) {
    prepareWebEngine();
    QApplication app(argc, argv);
    QtMessageSink messages;
    Form1 form({appPath, site, &messages, playerFolder, [] {
                    std::_Exit(0);
                }});
    test::RealInput input;
    if (!input.isAvailable())
        qFatal("no X display with XTEST");

    auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    auto* player = form.findChild<FlashPlayer*>(QStringLiteral("ShockwaveFlash1"));
    PlayProbe probe(list, player, input);
    // The first game, later ones on the same page, and the one that gets a fresh page; the
    // two games take turns, so that each click changes the movie.
    std::vector<std::pair<qint32, const char*>> plays{{FirstGame, "first"}};
    for (int movie = 2; movie <= FlashPlayer::MoviesPerPage; ++movie)
        plays.push_back({movie % 2 ? FirstGame : LaterGame, "later"});
    plays.push_back({FlashPlayer::MoviesPerPage % 2 ? LaterGame : FirstGame, "fresh"});
    std::size_t next = 0;
    std::function<void()> playNext = [&] {
        if (next == plays.size()) {
            // Let the game and the page run a little before measuring.
            QTimer::singleShot(3000, [] {
                std::printf("pss %lld\n", treePssKiB(QCoreApplication::applicationPid()));
                std::fflush(stdout);
                std::_Exit(0);
            });
            return;
        }
        const auto [gameId, label] = plays[next++];
        QTimer::singleShot(next == 1 ? FirstClickAfterPaintMs : LaterClickAfterMs, &form,
                           [&, gameId, label] { probe.start(gameId, label, playNext); });
    };
    PaintWatch watch;
    watch.onPainted = [&] { playNext(); };
    list->viewport()->installEventFilter(&watch);

    form.load();
    form.showAtStart();
    // What a window manager does with a new window; keys go to the active one.
    form.activateWindow();
    QTimer::singleShot(300000, [] { std::_Exit(1); });
    return QApplication::exec();
}

// The same harness around a window that is nothing but a list of as many rows.
int runBare(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    auto* list = new QListWidget(&window);
    (new QVBoxLayout(&window))->addWidget(list);
    for (int id = 1; id <= Games / 3; ++id)
        list->addItem(QStringLiteral(" 游戏%1").arg(id));
    PaintWatch watch;
    watch.onPainted = [] { std::_Exit(0); };
    list->viewport()->installEventFilter(&watch);
    window.showMaximized();
    QTimer::singleShot(60000, [] { std::_Exit(1); });
    return QApplication::exec();
}

struct Figures {
    std::map<QByteArray, std::vector<double>> values;

    void add(const QByteArray& name, double value) { values[name].push_back(value); }
    double median(const QByteArray& name) {
        std::vector<double>& v = values[name];
        if (v.empty())
            qFatal("no figure %s", name.constData());
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    }
};

// Starts this program with arguments and collects the figures it prints, each line's time
// since the start included ("painted").
void runChild(const QStringList& arguments, Figures& figures, qint64& pss) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer clock;
    clock.start();
    child.start(QCoreApplication::applicationFilePath(), arguments);
    const QByteArray kind = arguments.first().toLatin1();
    while (child.state() != QProcess::NotRunning || child.bytesAvailable() > 0) {
        child.waitForReadyRead(100);
        while (child.canReadLine()) {
            const QList<QByteArray> words = child.readLine().trimmed().split(' ');
            if (words.first() == "painted")
                figures.add(kind + " painted", clock.nsecsElapsed() / 1e6);
            else if (words.first() == "pss")
                pss = std::max(pss, words.value(1).toLongLong());
            else if (words.size() == 3) {
                figures.add(words[0] + " frame", words[1].toDouble());
                figures.add(words[0] + " key", words[2].toDouble());
            }
        }
    }
    // A run that hung is told and left out; its figures so far count.
    if (child.exitCode() != 0)
        std::fprintf(stderr, "%s ended with %d\n", kind.constData(), child.exitCode());
}

} // namespace

int main(int argc, char** argv) {
    const QString playerFolder = QStringLiteral(VELMORA_PLAYER_DIR);
    if (argc >= 4 && qstrcmp(argv[1], "--box") == 0)
        return runBox(argc, argv, QString::fromLocal8Bit(argv[2]), playerFolder, QString::fromLocal8Bit(argv[3]));
    if (argc >= 2 && qstrcmp(argv[1], "--bare") == 0)
        return runBare(argc, argv);

    QCoreApplication app(argc, argv);
    QTemporaryDir root;
    const QString appPath = makeInstallation(root.path());
    // The side panel's page comes from a local folder standing in for the site.
    QDir().mkpath(root.filePath(QStringLiteral("site")));
    QFile page(root.filePath(QStringLiteral("site/show1.htm")));
    if (page.open(QIODevice::WriteOnly))
        page.write("<html><body style='background:#000;color:#ff8000'>热门游戏推荐</body></html>");
    page.close();
    const QString site = QUrl::fromLocalFile(root.filePath(QStringLiteral("site"))).toString() + u'/';

    // The user's data of every run in one folder, as a user's is: the web profiles are made by
    // the first run and used by the others.
    qputenv("XDG_DATA_HOME", QFile::encodeName(root.filePath(QStringLiteral("data"))));
    // A desktop session has a message bus. Without one (a bare X server) the web engine waits
    // several seconds for dbus-launch to fail, which no player meets; an address that fails at
    // once stands in for the session's bus.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent");

    Figures figures;
    qint64 pss = 0;
    for (int run = 0; run < Runs; ++run) {
        runChild({QStringLiteral("--box"), appPath, site}, figures, pss);
        runChild({QStringLiteral("--bare")}, figures, pss);
    }
    const double box = figures.median("--box painted");
    const double bare = figures.median("--bare painted");
    std::printf("start-up until the hot list is painted: median %.0f ms; a bare Qt window with a list: "
                "%.0f ms; ratio %.1fx (goal: at most 2x); %d runs each\n",
                box, bare, box / bare, Runs);
    std::printf("click on a game on disk (%d ms after the list is painted) until its first frame: "
                "%.0f ms, until a held arrow key moves it: %.0f ms (goal: 1000 ms)\n",
                FirstClickAfterPaintMs, figures.median("first frame"), figures.median("first key"));
    std::printf("click on a later game until its first frame: %.0f ms, until the key moves it: %.0f ms "
                "(goal: 300 ms)\n",
                figures.median("later frame"), figures.median("later key"));
    std::printf("the same for the game that gets a fresh player page (after %d on one page): %.0f ms, %.0f ms\n",
                FlashPlayer::MoviesPerPage, figures.median("fresh frame"), figures.median("fresh key"));
    std::printf("memory with a game playing and a page shown: %.0f MB PSS over all processes\n", pss / 1024.0);
    return 0;
}
