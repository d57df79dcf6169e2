// Start-up and memory of the game box on a small installation:
//  - the time from process start until the hot list is first painted (median of several runs);
//  - the memory (PSS) of the program and all its web engine processes with a game playing and
//    a page shown.
// The parent builds the installation and starts itself as the measured child.

#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "platform/QtMessageSink.h"
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
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace velmora;

namespace {

constexpr int Runs = 5;

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
    for (int id = 1; id <= 300; ++id)
        games.push_back({id, QStringLiteral("游戏%1").arg(id), qint32(1 + id % 3), double(id % 50),
                         QStringLiteral("一个小游戏的介绍。")});
    if (!tools::writeCatalogue(games, paths.catalogueFile()).isEmpty())
        qFatal("cannot write the catalogue");
    writeFile(paths.mirrorFile(), "xyzfs1234sw\r\n");
    writeFile(paths.gameFile(3), swf::demoMovie(swf::demoMovieKinds().front()));
    return app;
}

qint64 treePssKiB(qint64 pid) {
    qint64 total = 0;
    for (const bench::ProcessUsage& process : bench::processTreeUsage(pid))
        total += process.pssKiB;
    return total;
}

int runChild(int argc, char** argv, const QString& appPath, const QString& playerFolder,
             const QString& site) {
    prepareWebEngine();
    QApplication app(argc, argv);
    QtMessageSink messages;
    Form1 form({appPath, site, &messages, playerFolder, [] {
                    std::_Exit(0);
                }});

    auto* list = form.findChild<QListWidget*>(QStringLiteral("List1"));
    struct PaintWatch : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && !painted) {
                painted = true;
                std::printf("painted\n");
                std::fflush(stdout);
            }
            return false;
        }
        bool painted = false;
    } watch;
    list->viewport()->installEventFilter(&watch);

    form.load();
    form.showAtStart();

    auto* player = form.findChild<FlashPlayer*>(QStringLiteral("ShockwaveFlash1"));
    QObject::connect(player, &FlashPlayer::movieLoaded, &app, [] {
        // Let the game and the page run a little before measuring.
        QTimer::singleShot(3000, [] {
            std::printf("pss %lld\n", treePssKiB(QCoreApplication::applicationPid()));
            std::fflush(stdout);
            std::_Exit(0);
        });
    });
    QTimer::singleShot(500, &form, [&] {
        for (int row = 0; row < list->count(); ++row) {
            if (list->item(row)->data(Qt::UserRole).toInt() == 3) {
                list->setCurrentRow(row);
                player->setMovie(InstallPaths(appPath).gameFile(3));
            }
        }
    });
    QTimer::singleShot(60000, [] { std::_Exit(1); });
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    const QString playerFolder = QStringLiteral(VELMORA_PLAYER_DIR);
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]), playerFolder,
                        QString::fromLocal8Bit(argv[3]));

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
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), root.filePath(QStringLiteral("data")));

    std::vector<double> startMs;
    qint64 pss = 0;
    for (int run = 0; run < Runs; ++run) {
        QProcess child;
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer clock;
        clock.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), appPath, site});
        double painted = -1;
        while (child.state() != QProcess::NotRunning || child.bytesAvailable() > 0) {
            child.waitForReadyRead(100);
            while (child.canReadLine()) {
                const QByteArray line = child.readLine().trimmed();
                if (line == "painted" && painted < 0)
                    painted = clock.nsecsElapsed() / 1e6;
                else if (line.startsWith("pss "))
                    pss = std::max(pss, line.mid(4).toLongLong());
            }
        }
        if (painted < 0)
            qFatal("the game list was never painted");
        startMs.push_back(painted);
    }
    std::sort(startMs.begin(), startMs.end());
    std::printf("start-up until the hot list is painted: median %.0f ms (min %.0f, max %.0f, %d runs)\n",
                startMs[Runs / 2], startMs.front(), startMs.back(), Runs);
    std::printf("memory with a game playing and a page shown: %.0f MB PSS over all processes\n",
                pss / 1024.0);
    return 0;
}
