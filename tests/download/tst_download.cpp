#include "support/ScriptedServer.h"
#include "support/TestFiles.h"

#include "common/InstallPaths.h"
#include "download/BlockTransfer.h"
#include "download/DownloadQueue.h"
#include "download/GameDownload.h"
#include "download/RemoteGameFolder.h"
#include "platform/MessageSink.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <thread>

#include <csignal>
#include <sys/resource.h>

using namespace velmora;
using velmora::test::ScriptedServer;
using velmora::test::readFile;
using velmora::test::writeFile;

using Routes = std::map<std::string, ScriptedServer::Handler>;
Q_DECLARE_METATYPE(Routes)
Q_DECLARE_METATYPE(velmora::test::ScriptedServer::Handler)

namespace {

// Twenty polls of 50 ms: a time-out test takes about a second.
constexpr PollBudget ShortBudget{20, 50};

QByteArray sampleContent(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xff);
    return bytes;
}


// Alters the block that starts at offset; the others are answered correctly.
test::BlockTweak atBlock(qint64 offset, std::function<void(httplib::Response&)> change) {
    return [offset, change](qint64 first, httplib::Response& response) {
        if (first == offset)
            change(response);
    };
}

test::BlockTweak contentRange(qint64 offset, std::string value) {
    return atBlock(offset, [value](httplib::Response& r) { test::replaceHeader(r, "Content-Range", value); });
}

// Sends the headers of the block and half of its body, then closes the connection.
void cutBody(httplib::Response& response) {
    const std::string half = response.body.substr(0, response.body.size() / 2);
    const size_t declared = response.body.size();
    response.body.clear();
    test::replaceHeader(response, "Content-Type", "");
    response.set_content_provider(declared, "application/octet-stream",
                                  [half](size_t, size_t, httplib::DataSink& sink) {
                                      sink.write(half.data(), half.size());
                                      return false;
                                  });
}

QString gameName(bool onDisk, qint32 gameId) {
    return (onDisk ? QStringLiteral(" ") : QStringLiteral("*")) + QStringLiteral("游戏") +
           QString::number(gameId);
}

// Stands in for the window: records the row texts and the message boxes of game downloads.
class GameWindow : public MessageSink {
public:
    Answer show(const QString& text, const QString& caption, Icon icon, Buttons) override {
        messages << text;
        if (caption != QStringLiteral("提示") || icon != Icon::Information)
            messages << QStringLiteral("<not a notice>");
        return Answer::Ok;
    }

    GameDownloadContext context(const InstallPaths& paths, const QString& site, MirrorBase& mirror,
                                PollBudget budget = ShortBudget) {
        const auto setRow = [this](qint16 listIndex, const QString& text) {
            rowIndexes.insert(listIndex);
            rows << text;
        };
        return {paths,    SitePaths(site), mirror, *this, setRow, [this] { return queueLength; },
                gameName, budget};
    }

    int queueLength = 1;
    QSet<qint16> rowIndexes;
    QStringList rows;
    QStringList messages;
};

// A game file after a hard stop: what the list would make of it. Absent and empty both read as
// "not on disk"; anything else must be the whole game.
void checkNoPartGame(const QString& path, const QByteArray& game, const QString& when) {
    const QFileInfo file(path);
    const bool fine = !file.exists() || file.size() == 0 || readFile(path) == game;
    QVERIFY2(fine, qPrintable(when + QStringLiteral(": %1 of %2 bytes").arg(file.size()).arg(game.size())));
}

// Runs one download of url into path in a process of its own.
void startDownload(QProcess& process, const QString& url, const QString& path) {
    process.setProgram(QStringLiteral(VELMORA_DOWNLOAD_ONE));
    process.setArguments({url, path});
    process.setReadChannel(QProcess::StandardOutput);
    process.start();
    QVERIFY(process.waitForStarted());
}

} // namespace

class DownloadTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void downloadToFile_data();
    void downloadToFile();
    void eventLoopRunsDuringDownload();
    void nestedDownloadCompletes();

    void downloadGame_data();
    void downloadGame();
    void refusedConnectionFailsSilently();
    void missingGameRefreshesMirror_data();
    void missingGameRefreshesMirror();
    void mirrorBaseKeepsItsValueWithoutFile();

    void queueWorksOffGamesInClickOrder();
    void serverErrorIsToldOnlyForTheLastQueuedGame();

    void killedDownloadLeavesNoPartGame();
    void stopWhileTheGameIsWrittenLeavesNoPartGame();

private:
    QString url(const std::string& path) const {
        return m_server->baseUrl() + QString::fromStdString(path).mid(1);
    }
    QString local(const QString& relative) const { return m_paths->local(relative); }
    void checkBlockRequests(int expectedBlocks) const;

    std::unique_ptr<ScriptedServer> m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<InstallPaths> m_paths;
};

void DownloadTest::initTestCase() {
    m_server = std::make_unique<ScriptedServer>();
}

void DownloadTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("cons")));
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("res/velmora")));
    m_paths = std::make_unique<InstallPaths>(m_dir->path());
}

void DownloadTest::cleanup() {
    m_server->reset();
}

// Every request asks for the next block in turn, with the fixed headers. A redirected request
// asks the new address for the same range (Qt drops a GET's Content-Type on the way, and at
// times sends the redirected request twice, which is harmless for a GET).
void DownloadTest::checkBlockRequests(int expectedBlocks) const {
    QStringList expected;
    for (int block = 0; block < expectedBlocks; ++block)
        expected << QStringLiteral("bytes=%1-%2").arg(block * 20480).arg(block * 20480 + 20480);
    std::map<std::string, QStringList> rangesByPath;
    for (const auto& request : m_server->requests()) {
        QStringList& ranges = rangesByPath[request.path];
        const QString range = QString::fromStdString(request.range);
        if (ranges.isEmpty() || ranges.last() != range)
            ranges << range;
        if (request.path == "/f.bin")
            QCOMPARE(request.contentType, std::string("application/octet-stream"));
    }
    for (const auto& [path, ranges] : rangesByPath)
        QCOMPARE(ranges, expected);
}

void DownloadTest::downloadToFile_data() {
    QTest::addColumn<Routes>("routes");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("blocks");

    for (const int size : {0, 1, 20480, 20481, 20482, 100000}) {
        const QByteArray content = sampleContent(size);
        QTest::addRow("%d bytes", size) << Routes{{"/f.bin", test::serveRanges(content)}} << true << content
                                        << std::max(1, (size - 1 + 20479) / 20480);
    }
    const QByteArray content = sampleContent(50000);
    QTest::newRow("redirect followed") << Routes{{"/f.bin",
                                                  [](const httplib::Request&, httplib::Response& r) {
                                                      r.set_redirect("/moved.bin");
                                                  }},
                                                 {"/moved.bin", test::serveRanges(content)}}
                                       << true << content << 3;

    const auto fails = [&](const char* name, ScriptedServer::Handler handler) {
        QTest::newRow(name) << Routes{{"/f.bin", handler}} << false << QByteArray() << -1;
    };
    const auto failsWith = [&](const char* name, test::BlockTweak tweak) {
        fails(name, test::serveRanges(content, tweak));
    };
    fails("200 with the whole file", test::answer(200, content));
    fails("403", test::answer(403));
    fails("404", test::answer(404));
    fails("500", test::answer(500));
    fails("no answer", [this](const httplib::Request&, httplib::Response&) { m_server->stall(); });
    failsWith("416 on a later block", atBlock(20480, [](httplib::Response& r) {
                  r.status = 416;
                  r.body.clear();
                  test::replaceHeader(r, "Content-Range", "bytes */50000");
              }));
    failsWith("no Content-Range", contentRange(0, ""));
    failsWith("unknown total", contentRange(0, "bytes 0-20480/*"));
    failsWith("non-numeric total", contentRange(0, "bytes 0-20480/5x000"));
    failsWith("total over the size limit", contentRange(0, "bytes 0-20480/2147483647"));
    failsWith("total beyond 32 bits", contentRange(0, "bytes 0-20480/4294967296"));
    failsWith("wrong start offset", atBlock(20480, [content](httplib::Response& r) {
                  test::replaceHeader(r, "Content-Range", "bytes 0-20480/50000");
                  r.body = content.first(20481).toStdString();
              }));
    failsWith("total changes between blocks", contentRange(20480, "bytes 20480-40960/50001"));
    failsWith("body shorter than its range", atBlock(20480, [](httplib::Response& r) { r.body.pop_back(); }));
    failsWith("body longer than its range",
              atBlock(0, [](httplib::Response& r) { r.body.append(100000, 'x'); }));
    failsWith("block shorter than asked", atBlock(0, [](httplib::Response& r) {
                  test::replaceHeader(r, "Content-Range", "bytes 0-99/50000");
                  r.body.resize(100);
              }));
    failsWith("content changes between blocks", atBlock(20480, [](httplib::Response& r) { r.body[0] ^= 1; }));
    failsWith("connection cut in the body", atBlock(20480, cutBody));
}

void DownloadTest::downloadToFile() {
    QFETCH(Routes, routes);
    QFETCH(bool, succeeds);
    QFETCH(QByteArray, content);
    QFETCH(int, blocks);
    for (const auto& [path, handler] : routes)
        m_server->route(path, handler);
    const QString tempPath = local(QStringLiteral("cons/f2.inb"));
    const QString finalPath = local(QStringLiteral("cons/f.inb"));
    writeFile(finalPath, "old content");

    QCOMPARE(DownloadToFile(url("/f.bin"), tempPath, finalPath, ShortBudget), succeeds);

    QCOMPARE(readFile(finalPath), succeeds ? content : QByteArray("old content"));
    QVERIFY(!QFile::exists(tempPath));
    if (blocks > 0)
        checkBlockRequests(blocks);
}

void DownloadTest::eventLoopRunsDuringDownload() {
    const QByteArray content = sampleContent(100000);
    const auto blocks = test::serveRanges(content);
    m_server->route("/slow.bin", [blocks](const httplib::Request& request, httplib::Response& response) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        blocks(request, response);
    });
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);

    QVERIFY(DownloadToFile(url("/slow.bin"), local(QStringLiteral("s2")), local(QStringLiteral("s")),
                           ShortBudget));
    QVERIFY(ticks > 0);
}

void DownloadTest::nestedDownloadCompletes() {
    const QByteArray outer = sampleContent(60000);
    const QByteArray inner = sampleContent(30000).toBase64();
    const auto outerBlocks = test::serveRanges(outer);
    m_server->route("/outer.bin",
                    [outerBlocks](const httplib::Request& request, httplib::Response& response) {
                        // Long enough for the inner download to start and end while the outer one waits.
                        if (test::requestedRange(request).first == 0)
                            std::this_thread::sleep_for(std::chrono::milliseconds(300));
                        outerBlocks(request, response);
                    });
    m_server->route("/inner.bin", test::serveRanges(inner));
    bool outerDone = false;
    bool innerDoneFirst = false;
    QTimer::singleShot(20, [&] {
        QVERIFY(DownloadToFile(url("/inner.bin"), local(QStringLiteral("i2")), local(QStringLiteral("i")),
                               ShortBudget));
        innerDoneFirst = !outerDone;
    });

    QVERIFY(DownloadToFile(url("/outer.bin"), local(QStringLiteral("o2")), local(QStringLiteral("o")),
                           ShortBudget));
    outerDone = true;
    QVERIFY(innerDoneFirst);
    QCOMPARE(readFile(local(QStringLiteral("o"))), outer);
    QCOMPARE(readFile(local(QStringLiteral("i"))), inner);
}

void DownloadTest::downloadGame_data() {
    QTest::addColumn<ScriptedServer::Handler>("handler");
    QTest::addColumn<int>("queueLength");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QByteArray>("content");

    const QByteArray game = sampleContent(100000);
    const QStringList failedRows{QStringLiteral("开始下载"), QStringLiteral("*游戏7")};
    QTest::newRow("100000 bytes") << test::serveRanges(game) << 1
                                  << QStringList{QStringLiteral("开始下载"),
                                                 QStringLiteral("正在下载 20%"),
                                                 QStringLiteral("正在下载 40%"),
                                                 QStringLiteral("正在下载 61%"),
                                                 QStringLiteral("正在下载 81%"),
                                                 QStringLiteral("正在下载 99%"),
                                                 QStringLiteral(" 游戏7")}
                                  << QStringList() << game;
    QTest::newRow("empty game") << test::serveRanges({}) << 1
                                << QStringList{QStringLiteral("开始下载"), QStringLiteral(" 游戏7")}
                                << QStringList() << QByteArray("");
    const auto fails = [&](const char* name, ScriptedServer::Handler handler, int queueLength,
                           QStringList rows, QStringList messages) {
        QTest::newRow(name) << handler << queueLength << rows << messages << QByteArray();
    };
    fails("200 with the whole file", test::answer(200, game), 1, failedRows,
          {QStringLiteral("不支持断点续传")});
    fails("403", test::answer(403), 1, failedRows, {QStringLiteral("连接数过多")});
    fails("500 alone in the queue", test::answer(500), 1, failedRows,
          {QStringLiteral("网络繁忙或不畅,请再试")});
    fails("500 with another game queued", test::answer(500), 2, failedRows, {});
    fails("no answer", [this](const httplib::Request&, httplib::Response&) { m_server->stall(); }, 1,
          failedRows, {QStringLiteral("下载文件超时")});
    fails("no Content-Range", test::serveRanges(game, contentRange(0, "")), 1, failedRows,
          {QStringLiteral("无法获取文件大小！")});
    // A failure after some blocks: the row has shown progress, the file is gone, no message.
    fails("connection cut in the body", test::serveRanges(game, atBlock(20480, cutBody)), 1,
          {QStringLiteral("开始下载"), QStringLiteral("正在下载 20%"), QStringLiteral("*游戏7")}, {});
}

void DownloadTest::downloadGame() {
    QFETCH(ScriptedServer::Handler, handler);
    QFETCH(int, queueLength);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, messages);
    QFETCH(QByteArray, content);
    writeFile(local(QStringLiteral("cons/guihu.inb")), "abcdefghijklmn\r\n");
    m_server->route("/jkde/7.swf", handler);
    MirrorBase mirror(*m_paths);
    mirror.ReadMirrorBase();
    GameWindow window;
    window.queueLength = queueLength;

    DownloadGame(window.context(*m_paths, m_server->baseUrl(), mirror), 3, 7);

    QCOMPARE(window.rows, rows);
    QCOMPARE(window.rowIndexes, QSet<qint16>{3});
    QCOMPARE(window.messages, messages);
    const QString gameFile = m_paths->gameFolder() + QStringLiteral("7.swf");
    QCOMPARE(QFile::exists(gameFile), !content.isNull());
    if (!content.isNull())
        QCOMPARE(readFile(gameFile), content);
}

// Nothing answers at all: no status to judge, so no message, only the missing name.
void DownloadTest::refusedConnectionFailsSilently() {
    const QString site = QStringLiteral("http://127.0.0.1:%1/").arg(test::closedPort());
    MirrorBase mirror(*m_paths);
    GameWindow window;

    DownloadGame(window.context(*m_paths, site, mirror), 0, 7);

    QCOMPARE(window.messages, QStringList());
    QCOMPARE(window.rows, (QStringList{QStringLiteral("开始下载"), QStringLiteral("*游戏7")}));
    QVERIFY(!QFile::exists(m_paths->gameFolder() + QStringLiteral("7.swf")));
}

void DownloadTest::missingGameRefreshesMirror_data() {
    QTest::addColumn<ScriptedServer::Handler>("mirrorFile");
    QTest::addColumn<QByteArray>("guihu");
    QTest::addColumn<QString>("folder");

    QTest::newRow("refreshed") << test::serveRanges("0123456789AB,x") << QByteArray("0123456789AB,x")
                               << QStringLiteral("9A34");
    QTest::newRow("refresh fails") << test::answer(500) << QByteArray("abcdefghijklmn\r\n")
                                   << QStringLiteral("jkde");
}

// After a 404 the site's guihu.txt replaces cons/guihu.inb and the next attempt uses the new
// remote folder; when the refresh fails, the old file and folder stay.
void DownloadTest::missingGameRefreshesMirror() {
    QFETCH(ScriptedServer::Handler, mirrorFile);
    QFETCH(QByteArray, guihu);
    QFETCH(QString, folder);
    writeFile(local(QStringLiteral("cons/guihu.inb")), "abcdefghijklmn\r\n");
    m_server->route("/gengxin/guihu.txt", mirrorFile);
    const QByteArray game = sampleContent(30000);
    m_server->route("/9A34/7.swf", test::serveRanges(game));
    MirrorBase mirror(*m_paths);
    mirror.ReadMirrorBase();
    GameWindow window;
    const GameDownloadContext context = window.context(*m_paths, m_server->baseUrl(), mirror);

    DownloadGame(context, 0, 7);

    QCOMPARE(window.messages, QStringList{QStringLiteral("文件无法找到")});
    QCOMPARE(window.rows.last(), QStringLiteral("*游戏7"));
    QVERIFY(!QFile::exists(m_paths->gameFolder() + QStringLiteral("7.swf")));
    QCOMPARE(readFile(local(QStringLiteral("cons/guihu.inb"))), guihu);
    QVERIFY(!QFile::exists(local(QStringLiteral("cons/guihu2.inb"))));
    QCOMPARE(mirror.remoteGameFolder(), folder);

    DownloadGame(context, 0, 7);
    const bool found = folder == QStringLiteral("9A34");
    QCOMPARE(window.rows.last(), gameName(found, 7));
    QCOMPARE(readFile(m_paths->gameFolder() + QStringLiteral("7.swf")),
             found ? game : QByteArray("<missing>"));
}

void DownloadTest::mirrorBaseKeepsItsValueWithoutFile() {
    const QString guihu = local(QStringLiteral("cons/guihu.inb"));
    MirrorBase mirror(*m_paths);
    mirror.ReadMirrorBase();
    QCOMPARE(mirror.remoteGameFolder(), QString());
    writeFile(guihu, "  \"abcdefghij\",xyz\r\n");
    mirror.ReadMirrorBase();
    QCOMPARE(mirror.remoteGameFolder(), QStringLiteral("jde"));
    QVERIFY(QFile::remove(guihu));
    mirror.ReadMirrorBase();
    QCOMPARE(mirror.remoteGameFolder(), QStringLiteral("jde"));
}

// Games queued while one downloads wait their turn; the call that started the queue returns
// only when the queue is empty, and meanwhile the list must not change.
void DownloadTest::queueWorksOffGamesInClickOrder() {
    writeFile(local(QStringLiteral("cons/guihu.inb")), "abcdefghijklmn\r\n");
    const test::Gate firstAnswer;
    m_server->route("/jkde/1.swf", firstAnswer.hold(test::serveRanges(sampleContent(30000))));
    m_server->route("/jkde/2.swf", test::serveRanges(sampleContent(10)));
    m_server->route("/jkde/3.swf", test::serveRanges(sampleContent(20)));
    MirrorBase mirror(*m_paths);
    mirror.ReadMirrorBase();
    GameWindow window;
    DownloadQueue queue(window.context(*m_paths, m_server->baseUrl(), mirror, PollBudget{}));
    QVERIFY(!queue.refuseListChange());

    QStringList whileDownloading;
    QTimer::singleShot(0, [&] {
        queue.QueueGameDownload(5, 2);
        queue.QueueGameDownload(6, 3);
        whileDownloading << window.rows;
        for (int row = 0; row < queue.rowCount(); ++row)
            whileDownloading << queue.index(row).data().toString() + u'/' +
                                    queue.index(row).data(Qt::UserRole).toString();
        whileDownloading << QString::number(queue.isQueued(6)) << QString::number(queue.isQueued(4))
                         << QString::number(queue.refuseListChange());
        firstAnswer.open();
    });
    queue.QueueGameDownload(4, 1);

    QCOMPARE(
        whileDownloading,
        (QStringList{QStringLiteral("准备下载"), QStringLiteral("开始下载"), QStringLiteral("准备下载"),
                     QStringLiteral("准备下载"), QStringLiteral("4/1"), QStringLiteral("5/2"),
                     QStringLiteral("6/3"), QStringLiteral("1"), QStringLiteral("1"), QStringLiteral("1")}));
    QCOMPARE(window.messages, QStringList{QStringLiteral("正在下载，请稍候！")});
    QStringList order;
    for (const auto& request : m_server->requests()) {
        if (!order.contains(QString::fromStdString(request.path)))
            order << QString::fromStdString(request.path);
    }
    QCOMPARE(order, (QStringList{QStringLiteral("/jkde/1.swf"), QStringLiteral("/jkde/2.swf"),
                                 QStringLiteral("/jkde/3.swf")}));
    QCOMPARE(window.rows.filter(QStringLiteral("游戏")),
             (QStringList{QStringLiteral(" 游戏1"), QStringLiteral(" 游戏2"), QStringLiteral(" 游戏3")}));
    QCOMPARE(queue.rowCount(), 0);
    QVERIFY(!queue.isQueued(4));
    QVERIFY(!queue.refuseListChange());
    QCOMPARE(window.messages.size(), 1);
}

// The busy-network message is kept back while another game waits, so the queue must answer
// the download's question about its length.
void DownloadTest::serverErrorIsToldOnlyForTheLastQueuedGame() {
    writeFile(local(QStringLiteral("cons/guihu.inb")), "abcdefghijklmn\r\n");
    const test::Gate firstAnswer;
    m_server->route("/jkde/1.swf", firstAnswer.hold(test::answer(500)));
    m_server->route("/jkde/2.swf", test::answer(500));
    MirrorBase mirror(*m_paths);
    mirror.ReadMirrorBase();
    GameWindow window;
    DownloadQueue queue(window.context(*m_paths, m_server->baseUrl(), mirror, PollBudget{}));
    QTimer::singleShot(0, [&] {
        queue.QueueGameDownload(1, 2);
        firstAnswer.open();
    });
    queue.QueueGameDownload(0, 1);

    QCOMPARE(window.messages, QStringList{QStringLiteral("网络繁忙或不畅,请再试")});
    QCOMPARE(window.rowIndexes, (QSet<qint16>{0, 1}));
    QCOMPARE(window.rows.last(), QStringLiteral("*游戏2"));
}

// Stopped hard before, during and after each block and while the game is being saved, a
// download leaves its game file absent, empty or whole, never a part that reads as on disk.
void DownloadTest::killedDownloadLeavesNoPartGame() {
    const QByteArray game = sampleContent(12 * 20480 + 77);
    // A slow site, so that a stop falls between blocks as often as within one.
    m_server->route("/g.swf", test::serveRanges(game, [](qint64, httplib::Response&) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(3));
                    }));
    const QString path = local(QStringLiteral("1.swf"));
    QStringList outcomes;
    // Stop after reading that many reports, then after waiting that many microseconds.
    std::vector<std::pair<int, int>> stops;
    for (int reports = 1; reports <= 14; ++reports)
        stops.emplace_back(reports, (reports * 797) % 3000);
    for (int wait = 0; wait <= 20000; wait += 500)
        stops.emplace_back(14, wait); // after the last block: while the game is saved
    for (const auto& [reports, wait] : stops) {
        QVERIFY(!QFile::exists(path) || QFile::remove(path));
        QProcess process;
        startDownload(process, url("/g.swf"), path);
        QElapsedTimer clock;
        clock.start();
        for (int seen = 0; seen < reports && clock.elapsed() < 60000;) {
            if (process.canReadLine())
                seen += process.readLine().isEmpty() ? 0 : 1;
            else if (!process.waitForReadyRead(100) && process.state() == QProcess::NotRunning)
                QFAIL("the download ended before its stop");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(wait));
        ::kill(pid_t(process.processId()), SIGKILL);
        QVERIFY(process.waitForFinished(60000));
        const QString when = QStringLiteral("stopped after %1 reports and %2 us").arg(reports).arg(wait);
        checkNoPartGame(path, game, when);
        if (QTest::currentTestFailed())
            return;
        outcomes << (!QFile::exists(path)          ? QStringLiteral("absent")
                     : QFileInfo(path).size() == 0 ? QStringLiteral("empty")
                                                   : QStringLiteral("whole"));
    }
    // The stops cover the download and its end.
    QVERIFY(outcomes.contains(QStringLiteral("empty")));
    QVERIFY(outcomes.contains(QStringLiteral("whole")));
}

// The process dies in the middle of writing the game (a file size limit stops it there, as a
// power cut would), and the list must not see half a game.
void DownloadTest::stopWhileTheGameIsWrittenLeavesNoPartGame() {
    const QByteArray game = sampleContent(5 * 20480);
    m_server->route("/g.swf", test::serveRanges(game));
    const QString path = local(QStringLiteral("1.swf"));
    QProcess process;
    process.setChildProcessModifier([limit = rlim_t(game.size() / 2)] {
        const rlimit noCore{0, 0};
        setrlimit(RLIMIT_CORE, &noCore);
        const rlimit size{limit, limit};
        setrlimit(RLIMIT_FSIZE, &size);
    });
    startDownload(process, url("/g.swf"), path);
    QVERIFY(process.waitForFinished(60000));
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QVERIFY(process.readAllStandardOutput().endsWith("last block\n"));
    checkNoPartGame(path, game, QStringLiteral("stopped while writing"));
}

QTEST_GUILESS_MAIN(DownloadTest)
#include "tst_download.moc"
