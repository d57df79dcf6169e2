#include "SavesTest.h"

#include "ProbeMovies.h"
#include "TestSupport.h"

#include "common/InstallPaths.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QProcess>
#include <QSocketNotifier>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace velmora::test {

namespace {

constexpr int kPlayTimeout = 120000;

// The player as the box's window holds it: closing ends the process at once, nothing saved.
class ClosingWindow : public QWidget {
public:
    explicit ClosingWindow(const QString& playerFolder)
        : m_player(new FlashPlayer(playerFolder, this)) {
        resize(400, 300);
        m_player->resize(size());
    }
    FlashPlayer* player() const { return m_player; }

protected:
    void closeEvent(QCloseEvent* event) override {
        event->accept();
        m_player->endGame();
        std::fflush(nullptr);
        std::_Exit(0);
    }

private:
    FlashPlayer* m_player;
};

} // namespace

int runSavesChild(const QString& playerFolder, const QString& movie) {
    ClosingWindow window(playerFolder);
    window.show();
    window.player()->setMovie(movie);
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &window, [&window] {
        char line[16] = {};
        if (read(STDIN_FILENO, line, sizeof line - 1) <= 0 || QByteArray(line).startsWith("close"))
            window.close();
    });
    return QApplication::exec();
}

void SavesTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_player = std::make_unique<FlashPlayer>(QStringLiteral(VELMORA_PLAYER_DIR));
    m_player->resize(400, 300);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.get()));
}

void SavesTest::cleanupTestCase() {
    m_player.reset();
}

void SavesTest::init() {
    m_player->setMovie(QStringLiteral("http://"));
    m_server.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_counts.clear();
    }
    m_server.route("/report", [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        if (request.get_param_value("probe") == "counter")
            m_counts.append(QString::fromStdString(request.get_param_value("got")));
        response.set_header("Access-Control-Allow-Origin", "*");
        response.set_content("", "text/plain");
    });
}

QString SavesTest::writeFile(const QString& path, const QByteArray& content) const {
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size())
        return {};
    return path;
}

QString SavesTest::makeProgramFolder(const QString& root) const {
    const InstallPaths paths(root);
    const QByteArray movie = counterMovie(m_server.url(QStringLiteral("report?")), QStringLiteral("progress"));
    if (!copyFolder(QStringLiteral(VELMORA_PLAYER_DIR), root + QStringLiteral("/player")) ||
        writeFile(paths.gameFile(7), movie).isEmpty())
        return {};
    return writeFile(paths.favouritesFolder() + QStringLiteral("/计数 100%#.swf"), movie);
}

QString SavesTest::lastCount() const {
    const std::lock_guard lock(m_mutex);
    return m_counts.isEmpty() ? QString() : m_counts.last();
}

QString SavesTest::runProgram(const QString& playerFolder, const QString& movie, const QString& dataHome) {
    {
        const std::lock_guard lock(m_mutex);
        m_counts.clear();
    }
    QProcess program;
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    program.start(QCoreApplication::applicationFilePath(),
                  {QStringLiteral("--saves-child"), playerFolder, movie, dataHome});
    if (!program.waitForStarted())
        return {};
    const bool reported = QTest::qWaitFor(
        [&] { return !lastCount().isEmpty() || program.state() == QProcess::NotRunning; }, kPlayTimeout);
    // Closed the moment the movie has saved and told: what it saved must be on disk by then.
    if (program.state() == QProcess::Running)
        program.write("close\n");
    program.closeWriteChannel();
    if (!program.waitForFinished(30000)) {
        program.kill();
        program.waitForFinished();
        return {};
    }
    return reported && program.exitCode() == 0 ? lastCount() : QString();
}

QString SavesTest::play(const QString& movie) {
    {
        const std::lock_guard lock(m_mutex);
        m_counts.clear();
    }
    m_player->setMovie(movie);
    return QTest::qWaitFor([&] { return !lastCount().isEmpty(); }, kPlayTimeout) ? lastCount() : QString();
}

void SavesTest::countOutlivesClosingTheProgram_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("favourite");
    // As ~/.local/… is: the emulator refuses paths with such a part for its saved objects.
    QTest::newRow("favourite in a hidden folder") << QStringLiteral(".hid/Box") << true;
    QTest::newRow("catalogue game, spaces, Chinese, % and #") << QStringLiteral("x y/游戏 100%#/.Box") << false;
}

void SavesTest::countOutlivesClosingTheProgram() {
    QFETCH(QString, folder);
    QFETCH(bool, favourite);
    const QString root = m_dir.filePath(QString::fromLatin1(QTest::currentDataTag()).replace(u' ', u'-'));
    const QString programFolder = root + u'/' + folder;
    const QString dataHome = root + QStringLiteral("/data");
    const QString favouriteMovie = makeProgramFolder(programFolder);
    QVERIFY(!favouriteMovie.isEmpty());
    const QString movie = favourite ? favouriteMovie : InstallPaths(programFolder).gameFile(7);
    const QString playerFolder = programFolder + QStringLiteral("/player");

    QCOMPARE(runProgram(playerFolder, movie, dataHome), QStringLiteral("1"));
    QCOMPARE(runProgram(playerFolder, movie, dataHome), QStringLiteral("2"));
    // Kept with the user's data, not in the program folder.
    QVERIFY(!QDir(dataHome).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    QCOMPARE(QDir(programFolder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("player"), QStringLiteral("res"), QStringLiteral("我的收藏")}));
}

void SavesTest::copiesOfTheProgramFolderShareTheCount() {
    const QString dataHome = m_dir.filePath(QStringLiteral("shared-data"));
    const QString first = m_dir.filePath(QStringLiteral("copies/one/Box"));
    const QString second = m_dir.filePath(QStringLiteral("copies/.two/Box"));
    const QString movie = makeProgramFolder(first);
    QVERIFY(!movie.isEmpty());
    QVERIFY(!makeProgramFolder(second).isEmpty());
    QCOMPARE(runProgram(first + QStringLiteral("/player"), movie, dataHome), QStringLiteral("1"));
    QCOMPARE(runProgram(second + QStringLiteral("/player"), QString(movie).replace(first, second), dataHome),
             QStringLiteral("2"));
}

void SavesTest::countNotFlushedIsSavedOnClosing() {
    // The game leaves its object to be saved when the player ends, as many do.
    const QString dataHome = m_dir.filePath(QStringLiteral("unflushed-data"));
    const QString programFolder = m_dir.filePath(QStringLiteral("unflushed/Box"));
    QVERIFY(!makeProgramFolder(programFolder).isEmpty());
    const QString movie = writeFile(programFolder + QStringLiteral("/我的收藏/later.swf"),
                                    counterMovie(m_server.url(QStringLiteral("report?")), QStringLiteral("progress"),
                                                 QString(), Flush::OnLeaving));
    QVERIFY(!movie.isEmpty());
    QCOMPARE(runProgram(programFolder + QStringLiteral("/player"), movie, dataHome), QStringLiteral("1"));
    QCOMPARE(runProgram(programFolder + QStringLiteral("/player"), movie, dataHome), QStringLiteral("2"));
}

void SavesTest::countNotFlushedOutlivesItsPage() {
    // Cleared before each game as the window does; on the way one page is used up and replaced
    // by a new one, and the count saved as the game left the old page must be there.
    const QString movie = writeFile(m_dir.filePath(QStringLiteral("new-page/res/velmora/5.swf")),
                                    counterMovie(m_server.url(QStringLiteral("report?")), QStringLiteral("progress"),
                                                 QString(), Flush::OnLeaving));
    QVERIFY(!movie.isEmpty());
    for (int i = 1; i <= FlashPlayer::MoviesPerPage + 1; ++i) {
        m_player->setMovie(QStringLiteral("http://"));
        QCOMPARE(play(movie), QString::number(i));
    }
}

void SavesTest::gamesWithTheSameObjectNameCountApart() {
    const QString report = m_server.url(QStringLiteral("report?"));
    // Two games in one folder, as the catalogue's are, the same object name each; one of them
    // also asks for the object shared by the whole folder, as a game of a site would.
    const QString folder = m_dir.filePath(QStringLiteral("apart/res/velmora"));
    const QString one = writeFile(folder + QStringLiteral("/1.swf"), counterMovie(report, QStringLiteral("score")));
    const QString two = writeFile(folder + QStringLiteral("/2.swf"), counterMovie(report, QStringLiteral("score")));
    const QString three =
        writeFile(folder + QStringLiteral("/3.swf"), counterMovie(report, QStringLiteral("score"), QStringLiteral("/")));
    const QString four =
        writeFile(folder + QStringLiteral("/4.swf"), counterMovie(report, QStringLiteral("score"), QStringLiteral("/")));
    QVERIFY(!one.isEmpty() && !two.isEmpty() && !three.isEmpty() && !four.isEmpty());

    QCOMPARE(play(one), QStringLiteral("1"));
    QCOMPARE(play(one), QStringLiteral("2"));
    QCOMPARE(play(two), QStringLiteral("1"));
    QCOMPARE(play(three), QStringLiteral("1"));
    QCOMPARE(play(four), QStringLiteral("1"));
    QCOMPARE(play(three), QStringLiteral("2"));
    QCOMPARE(play(one), QStringLiteral("3"));
}

} // namespace velmora::test
