// The demo games in the player: each game's size, and the time from handing the player the
// game until the player reports it loaded (stage size known, first frame on its way). The
// first load after start also compiles the emulator; later loads are the median of a few.

#include "platform/web/FlashPlayer.h"
#include "platform/web/WebEngineSetup.h"
#include "support/TemporaryUserData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

#include <algorithm>
#include <cstdio>

using namespace velmora;

namespace {

constexpr int Runs = 5;
const QStringList Games = {QStringLiteral("starpatrol"), QStringLiteral("bricks"), QStringLiteral("blockpop"),
                           QStringLiteral("echo")};

QString gamePath(const QString& name) {
    return QStringLiteral(GAMES_DIR "/") + name + QStringLiteral(".swf");
}

// Milliseconds until the player reports the game loaded, -1 when it did not within a minute.
qint64 loadTime(FlashPlayer& player, const QString& game) {
    player.setMovie(QStringLiteral("http://"));
    bool loaded = false;
    const auto connection = QObject::connect(&player, &FlashPlayer::movieLoaded, [&] { loaded = true; });
    QElapsedTimer clock;
    clock.start();
    player.setMovie(gamePath(game));
    const bool ok = QTest::qWaitFor([&] { return loaded; }, 60000);
    QObject::disconnect(connection);
    return ok ? clock.elapsed() : -1;
}

} // namespace

int main(int argc, char** argv) {
    velmora::test::useTemporaryUserData();
    prepareWebEngine();
    QApplication app(argc, argv);
    FlashPlayer player(QStringLiteral(PLAYER_FOLDER));
    player.resize(842, 625);
    player.show();
    if (!QTest::qWaitForWindowExposed(&player))
        return 1;
    std::printf("first game after start (%s): %lld ms\n", qPrintable(Games.front()),
                static_cast<long long>(loadTime(player, Games.front())));
    std::printf("%-12s %10s %12s\n", "game", "bytes", "load (ms)");
    for (const QString& game : Games) {
        std::vector<qint64> times;
        for (int i = 0; i < Runs; ++i)
            times.push_back(loadTime(player, game));
        std::sort(times.begin(), times.end());
        std::printf("%-12s %10lld %12lld\n", qPrintable(game),
                    static_cast<long long>(QFileInfo(gamePath(game)).size()),
                    static_cast<long long>(times[Runs / 2]));
    }
    return 0;
}
