// A long evening at the box: games played one after another, each by a click on its row in the
// list, as a player would, with the real window, player and side panel. Prints the memory of
// the program and all its web engine processes (PSS) when the box has settled after start,
// after half the games and after all of them, and where it is at the end.
//
//   bench_soak [--games N] [--interval MS] [--settle MS]
//
// --games: how many games are played (100); --interval: how long each game plays once it has
// loaded (1500 ms); --settle: the pause before each measurement (5000 ms).

#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "platform/QtMessageSink.h"
#include "platform/QtTranslations.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebEngineSetup.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "DemoMovies.h"
#include "ProcessUsage.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

int option(const QStringList& args, const QString& name, int fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1].toInt() : fallback;
}

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The movies to play: the written demo movies, and the demo games where they are built.
QList<QByteArray> games() {
    QList<QByteArray> result;
    for (const QString& kind : swf::demoMovieKinds())
        result.append(swf::demoMovie(kind));
#ifdef GAMES_DIR
    for (const QFileInfo& file : QDir(QStringLiteral(GAMES_DIR)).entryInfoList({QStringLiteral("*.swf")})) {
        QFile f(file.filePath());
        if (f.open(QIODevice::ReadOnly))
            result.append(f.readAll());
    }
#endif
    return result;
}

// An installation whose hot category lists the games, all of them on disk; the site is a local
// folder with its pages.
QString makeInstallation(const QString& root, const QList<QByteArray>& movies) {
    const QString app = root + QStringLiteral("/box");
    const InstallPaths paths(app);
    QDir().mkpath(QFileInfo(paths.catalogueFile()).absolutePath());
    std::vector<tools::CatalogueRecord> records;
    for (qint32 id = 1; id <= qint32(movies.size()); ++id) {
        records.push_back(
            {id, QStringLiteral("游戏%1").arg(id), 1, double(100 - id), QStringLiteral("一个小游戏。")});
        writeFile(paths.gameFile(id), movies[id - 1]);
    }
    if (!tools::writeCatalogue(records, paths.catalogueFile()).isEmpty())
        qFatal("cannot write the catalogue");
    writeFile(paths.mirrorFile(), "xyzfs1234sw\r\n");
    for (int page = 1; page <= 4; ++page)
        writeFile(root + QStringLiteral("/site/show%1.htm").arg(page),
                  "<html><body style='background:#000;color:#ff8000'>\xe7\x83\xad\xe9\x97\xa8</body></html>");
    return app;
}

void printUsage(const char* when) {
    qint64 pss = 0;
    const QList<bench::ProcessUsage> processes = bench::processTreeUsage(QCoreApplication::applicationPid());
    for (const bench::ProcessUsage& p : processes)
        pss += p.pssKiB;
    std::printf("%-22s PSS %7.1f MB  (", when, pss / 1024.0);
    for (const bench::ProcessUsage& p : processes)
        std::printf(" %s %.0f", qPrintable(p.kind.isEmpty() ? p.name : p.kind), p.pssKiB / 1024.0);
    std::printf(" )");
    // PSS falls when other programs map the same libraries; this does not.
    const qint64 alone = bench::exclusiveResidentKiB(processes);
    if (alone >= 0)
        std::printf("  as if alone %.1f MB", alone / 1024.0);
    std::printf("\n");
    std::fflush(stdout);
}

void printLoadTimes(const char* which, std::vector<qint64> ms) {
    std::sort(ms.begin(), ms.end());
    if (!ms.empty())
        std::printf("from the click until the game has loaded, %s: median %lld ms, slowest %lld ms\n", which,
                    ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const int count = option(args, QStringLiteral("--games"), 100);
    const int interval = option(args, QStringLiteral("--interval"), 1500);
    const int settle = option(args, QStringLiteral("--settle"), 5000);

    prepareWebEngine();
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    installChineseTranslations(app);

    QTemporaryDir root;
    const QList<QByteArray> movies = games();
    const QString appPath = makeInstallation(root.path(), movies);
    const QString site = QUrl::fromLocalFile(root.filePath(QStringLiteral("site"))).toString() + u'/';
    QtMessageSink messages;
    Form1 form({appPath, site, &messages, QStringLiteral(VELMORA_PLAYER_DIR), [] {
                }});
    messages.setParent(&form);
    form.load();
    form.showAtStart();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the window was never shown");
    QTest::qWait(settle);
    printUsage("idle after start");

    auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    auto* player = form.findChild<FlashPlayer*>(QStringLiteral("ShockwaveFlash1"));
    int loaded = 0;
    QObject::connect(player, &FlashPlayer::movieLoaded, [&] { ++loaded; });
    int failed = 0;
    // The first game of each page waits for the emulator to start on it.
    std::vector<qint64> freshPageMs, usedPageMs;
    for (int game = 1; game <= count; ++game) {
        const QListWidgetItem* row = list->item((game - 1) % list->count());
        const int before = loaded;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(row).center());
        const bool freshPage = (game - 1) % FlashPlayer::MoviesPerPage == 0;
        if (QTest::qWaitFor([&] { return loaded > before; }, 30000))
            (freshPage ? freshPageMs : usedPageMs).push_back(clock.elapsed());
        else
            ++failed;
        QTest::qWait(interval);
        if (game == count / 2 || game == count) {
            QTest::qWait(settle);
            printUsage(qPrintable(QStringLiteral("after %1 games").arg(game)));
        }
    }
    printLoadTimes("the first game on a page", freshPageMs);
    printLoadTimes("the other games", usedPageMs);
    if (failed)
        std::printf("%d of %d games did not report loading within 30 s\n", failed, count);
    return failed ? 1 : 0;
}
