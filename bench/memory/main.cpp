// Memory of the two web views together: a browser view showing a local page and the player
// playing a demo game. Once both have loaded, it prints the proportional set size (PSS) of the
// program and of all the web engine's processes, the same memory counted as if nothing else on
// the machine shared it, and the processor time they took meanwhile (the cost of playing the
// game).
//
//   velmora-bench-memory [--engine-defaults] [--settle SECONDS] [--game KIND] [--page ADDRESS]
//
// --engine-defaults leaves out the engine switches of prepareWebEngine(), for comparison;
// --page shows that address in the browser instead of a local page.
#include "ProcessUsage.h"

#include "DemoMovies.h"
#include "platform/web/FlashPlayer.h"
#include "platform/web/WebBrowser.h"
#include "platform/web/WebEngineSetup.h"
#include "support/TemporaryUserData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

namespace {

using velmora::bench::ProcessUsage;

bool writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QString option(const QStringList& args, const QString& name, const QString& fallback) {
    const qsizetype at = args.indexOf(name);
    return at >= 0 && at + 1 < args.size() ? args[at + 1] : fallback;
}

double totalCpu(const QList<ProcessUsage>& processes) {
    double seconds = 0;
    for (const ProcessUsage& p : processes)
        seconds += p.cpuSeconds;
    return seconds;
}

void report(QTextStream& out, const QList<ProcessUsage>& processes, double cpuShare, const QString& setup) {
    qint64 pss = 0, rss = 0;
    for (const ProcessUsage& p : processes) {
        out << QStringLiteral("%1 %2  PSS %3 MB  RSS %4 MB  %5\n")
                   .arg(p.pid, 7)
                   .arg(p.name, -16)
                   .arg(p.pssKiB / 1024.0, 7, 'f', 1)
                   .arg(p.rssKiB / 1024.0, 7, 'f', 1)
                   .arg(p.kind);
        pss += p.pssKiB;
        rss += p.rssKiB;
    }
    out << QStringLiteral("total (%1)  PSS %2 MB  RSS %3 MB  CPU while playing %4 %\n")
               .arg(setup)
               .arg(pss / 1024.0, 0, 'f', 1)
               .arg(rss / 1024.0, 0, 'f', 1)
               .arg(cpuShare * 100, 0, 'f', 1);
    // PSS shrinks when other programs map the same libraries; this does not.
    const qint64 alone = velmora::bench::exclusiveResidentKiB(processes);
    if (alone >= 0)
        out << QStringLiteral("total as if alone on the machine (each page once)  %1 MB\n")
                   .arg(alone / 1024.0, 0, 'f', 1);
}

} // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args.append(QString::fromLocal8Bit(argv[i]));
    const bool engineDefaults = args.contains(QStringLiteral("--engine-defaults"));
    const int settleSeconds = option(args, QStringLiteral("--settle"), QStringLiteral("10")).toInt();
    const QString gameKind = option(args, QStringLiteral("--game"), QStringLiteral("bounce"));
    QString page = option(args, QStringLiteral("--page"), QString());
    velmora::test::useTemporaryUserData();
    if (!engineDefaults)
        velmora::prepareWebEngine();
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    QApplication app(argc, argv);
    QTextStream out(stdout);

    QTemporaryDir dir;
    const QString game = dir.filePath(QStringLiteral("1.swf"));
    if (page.isEmpty()) {
        page = dir.filePath(QStringLiteral("showoff.htm"));
        if (!writeFile(page, "<!DOCTYPE html><meta charset=utf-8><body style='background:#000;color:#f80'>"
                             "\xe6\xb8\xb8\xe6\x88\x8f\xe7\x9b\x92</body>"))
            page.clear();
    }
    if (page.isEmpty() || !writeFile(game, velmora::swf::demoMovie(gameKind))) {
        out << "cannot write the page and the game " << gameKind << " into " << dir.path() << '\n';
        return 1;
    }

    QWidget window;
    auto* player = new velmora::FlashPlayer(QStringLiteral(VELMORA_PLAYER_DIR));
    auto* browser = new velmora::WebBrowser;
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(player, 9);
    layout->addWidget(browser, 1);
    window.resize(1016, 711);
    window.show();

    QElapsedTimer clock;
    clock.start();
    bool pageLoaded = false;
    bool gameLoaded = false;
    auto measureWhenBothLoaded = [&] {
        if (!pageLoaded || !gameLoaded)
            return;
        out << "both loaded after " << clock.elapsed() << " ms; measuring " << settleSeconds
            << " s of play after 2 s\n";
        out.flush();
        QTimer::singleShot(2000, &app, [&] {
            const double cpuBefore = totalCpu(velmora::bench::processTreeUsage(app.applicationPid()));
            QTimer::singleShot(settleSeconds * 1000, &app, [&, cpuBefore] {
                const QList<ProcessUsage> processes = velmora::bench::processTreeUsage(app.applicationPid());
                report(out, processes, (totalCpu(processes) - cpuBefore) / settleSeconds,
                       engineDefaults ? QStringLiteral("engine defaults")
                                      : QStringLiteral("prepareWebEngine"));
                app.quit();
            });
        });
    };
    QObject::connect(browser->findChild<QWebEngineView*>()->page(), &QWebEnginePage::loadFinished, &app,
                     [&](bool ok) {
                         pageLoaded = ok;
                         measureWhenBothLoaded();
                     });
    QObject::connect(player, &velmora::FlashPlayer::movieLoaded, &app, [&] {
        gameLoaded = true;
        measureWhenBothLoaded();
    });
    QObject::connect(browser, &velmora::WebBrowser::NavigateError, &app, [&] {
        out << "the page did not load\n";
        app.exit(1);
    });
    browser->setAllowedPages(page.startsWith(QLatin1String("http")) ? page : QString(), page);
    browser->setSilent(true);
    browser->Navigate(page);
    player->setMovie(game);
    QTimer::singleShot(300000, &app, [&] {
        out << "not loaded after 5 minutes\n";
        app.exit(1);
    });
    return app.exec();
}
