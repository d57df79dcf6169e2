#include "HostileGameTest.h"

#include "ProbeMovies.h"
#include "TestSupport.h"

#include "platform/web/WebBrowser.h"

#include <QDir>
#include <QSignalSpy>
#include <QTest>
#include <QUuid>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace velmora::test {

namespace {

constexpr int kLoadTimeout = 90000;
// How long the engine is given to act on a request it should refuse, after the movie has shown
// that it made the request.
constexpr int kSettle = 1500;

const QString kSecret = QStringLiteral("SECRET-") + QUuid::createUuid().toString(QUuid::Id128);

QString fileUrl(const QString& path) {
    return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

} // namespace

void HostileGameTest::initTestCase() {
    QVERIFY(m_dir.isValid());
    m_player = std::make_unique<FlashPlayer>(QStringLiteral(VELMORA_PLAYER_DIR));
    m_player->setUrlOpener([this](const QUrl& url) { m_opened.append(url.toString()); });
    m_player->resize(400, 300);
    m_player->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_player.get()));
}

void HostileGameTest::cleanupTestCase() {
    m_player.reset();
}

void HostileGameTest::init() {
    m_player->setMovie(QStringLiteral("http://"));
    m_opened.clear();
    m_server.reset();
    {
        const std::lock_guard lock(m_mutex);
        m_reports.clear();
        m_requestTargets.clear();
        m_credentials.clear();
    }
    m_server.route("/report", [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        m_requestTargets.append(QString::fromStdString(request.target));
        m_reports.append({QString::fromStdString(request.get_param_value("probe")),
                          QString::fromStdString(request.get_param_value("got"))});
        // Keeps the engine from logging every report as a refused cross-origin read.
        response.set_header("Access-Control-Allow-Origin", "*");
        response.set_content("", "text/plain");
    });
    m_server.route("/login", [this](const httplib::Request& request, httplib::Response& response) {
        const std::lock_guard lock(m_mutex);
        m_requestTargets.append(QString::fromStdString(request.target));
        if (request.has_header("Authorization"))
            m_credentials.append(QString::fromStdString(request.get_header_value("Authorization")));
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"games\"");
        response.set_content("login=required", "text/plain");
    });
}

QString HostileGameTest::writeFile(const QString& relative, const QByteArray& content) {
    const QString path = m_dir.filePath(relative);
    QFile file(path);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
        file.write(content) != content.size())
        return {};
    return path;
}

QString HostileGameTest::reportUrl() const {
    return m_server.baseUrl() + QStringLiteral("report?");
}

QList<HostileGameTest::Report> HostileGameTest::reports() const {
    const std::lock_guard lock(m_mutex);
    return m_reports;
}

QString HostileGameTest::lastReport(const QString& probe) const {
    const QList<Report> all = reports();
    for (auto it = all.crbegin(); it != all.crend(); ++it)
        if (it->probe == probe)
            return it->got;
    return {};
}

void HostileGameTest::clickIntoGame() {
    QWidget* surface = m_player->findChild<QWebEngineView*>()->focusProxy();
    QVERIFY(surface);
    QTest::mouseClick(surface, Qt::LeftButton, {}, surface->rect().center());
}

void HostileGameTest::gameReadsNothingOutsideItsFolder() {
    // A game in a folder of its own; the user's file in a folder beside it.
    const QString games = QStringLiteral("游戏 games");
    const QString secret = writeFile(QStringLiteral("secret/secret.txt"), kSecret.toUtf8());
    const QString secretFolder = QFileInfo(secret).absolutePath();
    QVERIFY(!secret.isEmpty());
    QVERIFY(!writeFile(games + QStringLiteral("/beside.txt"), "BESIDE-OK").isEmpty());
    QVERIFY(!writeFile(games + QStringLiteral("/levels/level1.txt"), "LEVEL-OK").isEmpty());
    QVERIFY(!writeFile(games + QStringLiteral("/part.swf"), stillMovie(50, 50, 10)).isEmpty());
    QVERIFY(!writeFile(QStringLiteral("secret/other.swf"), stillMovie(50, 50, 10)).isEmpty());
    QVERIFY(QFile::link(secret, m_dir.filePath(games + QStringLiteral("/out.txt"))));
    QVERIFY(QFile::link(secretFolder, m_dir.filePath(games + QStringLiteral("/out"))));

    const QList<Probe> refused{
        {QStringLiteral("absolute"), fileUrl(secret)},
        {QStringLiteral("dot-dot"), QStringLiteral("../secret/secret.txt")},
        {QStringLiteral("encoded-dot-dot"), QStringLiteral("%2e%2e/secret/secret.txt")},
        {QStringLiteral("encoded-slashes"), QStringLiteral("..%2Fsecret%2Fsecret.txt")},
        {QStringLiteral("backslashes"), QStringLiteral("..\\secret\\secret.txt")},
        {QStringLiteral("localhost"),
         QStringLiteral("file://localhost") + QUrl::fromLocalFile(secret).path()},
        {QStringLiteral("upper-case"), QStringLiteral("FILE://") + QUrl::fromLocalFile(secret).path()},
        {QStringLiteral("file-link"), QStringLiteral("out.txt")},
        {QStringLiteral("folder-link"), QStringLiteral("out/secret.txt")},
        {QStringLiteral("home-folder"), fileUrl(QDir::homePath()) + u'/'},
        {QStringLiteral("system-file"), QStringLiteral("file:///etc/passwd")},
        {QStringLiteral("login"), m_server.baseUrl() + QStringLiteral("login")},
    };
    const QList<Probe> allowed{
        {QStringLiteral("beside"), QStringLiteral("beside.txt")},
        {QStringLiteral("subfolder"), QStringLiteral("levels/level1.txt")},
        {QStringLiteral("beside-by-path"), fileUrl(m_dir.filePath(games + QStringLiteral("/beside.txt")))},
    };
    const QList<Probe> movies{
        {QStringLiteral("movie-outside"), fileUrl(m_dir.filePath(QStringLiteral("secret/other.swf")))},
        {QStringLiteral("movie-dot-dot"), QStringLiteral("../secret/other.swf")},
        {QStringLiteral("movie-beside"), QStringLiteral("part.swf")},
    };
    const QString movie = writeFile(games + QStringLiteral("/probe.swf"),
                                    fileProbeMovie(reportUrl(), refused + allowed, movies));
    m_player->setMovie(movie);
    QTRY_VERIFY_WITH_TIMEOUT(reports().size() >= refused.size() + allowed.size() + movies.size(),
                             kLoadTimeout);

    for (const Probe& p : refused)
        QVERIFY2(lastReport(p.name) == QLatin1String("undefined"),
                 qPrintable(p.name + u'=' + lastReport(p.name)));
    QCOMPARE(lastReport(QStringLiteral("beside")), QStringLiteral("BESIDE-OK"));
    QCOMPARE(lastReport(QStringLiteral("subfolder")), QStringLiteral("LEVEL-OK"));
    QCOMPARE(lastReport(QStringLiteral("beside-by-path")), QStringLiteral("BESIDE-OK"));
    QCOMPARE(lastReport(QStringLiteral("movie-outside")), QStringLiteral("error"));
    QCOMPARE(lastReport(QStringLiteral("movie-dot-dot")), QStringLiteral("error"));
    QCOMPARE(lastReport(QStringLiteral("movie-beside")), QStringLiteral("loaded"));

    const std::lock_guard lock(m_mutex);
    for (const QString& target : std::as_const(m_requestTargets))
        QVERIFY2(!target.contains(kSecret), qPrintable(target));
    // The log-in was asked for and cancelled: no empty user name and password went out.
    QVERIFY(m_requestTargets.contains(QStringLiteral("/login")));
    QCOMPARE(m_credentials, QStringList());
}

void HostileGameTest::gameOpensPagesOnlyOnAClick_data() {
    QTest::addColumn<QString>("target");
    QTest::newRow("new window") << QStringLiteral("_blank");
    QTest::newRow("own window") << QString();
    QTest::newRow("top window") << QStringLiteral("_top");
}

void HostileGameTest::gameOpensPagesOnlyOnAClick() {
    QFETCH(QString, target);
    const QString first = QStringLiteral("http://127.0.0.1:9/sponsor?target=") + target;
    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(
        writeFile(QStringLiteral("launch.swf"),
                  launchProbeMovie(reportUrl(), first, target, QStringLiteral("http://127.0.0.1:9/more"))));
    QTRY_COMPARE_WITH_TIMEOUT(lastReport(QStringLiteral("ready")), QStringLiteral("yes"), kLoadTimeout);
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QTest::qWait(kSettle);
    QCOMPARE(m_opened, QStringList()); // nothing without a click

    // One click, ten pages asked for: the first one opens.
    clickIntoGame();
    QTRY_COMPARE_WITH_TIMEOUT(lastReport(QStringLiteral("click")), QStringLiteral("1"), kLoadTimeout);
    QTest::qWait(kSettle);
    QCOMPARE(m_opened, QStringList{first});

    // A second click at once opens nothing more: one launch every few seconds at most.
    clickIntoGame();
    QTRY_COMPARE_WITH_TIMEOUT(lastReport(QStringLiteral("click")), QStringLiteral("2"), kLoadTimeout);
    QTest::qWait(kSettle);
    QCOMPARE(m_opened, QStringList{first});

    // The movie's script and full-screen requests had no effect, and the player page stayed.
    QWebEnginePage* page = pageOf(m_player.get());
    QCOMPARE(evaluate(page, QStringLiteral("document.fullscreenElement === null")).toBool(), true);
    QCOMPARE(page->title(), QStringLiteral("Velmora"));
    QVERIFY(page->url().toString().endsWith(QLatin1String("/player.html")));
}

void HostileGameTest::nextGamePlaysAfterAnEmulatorPanic() {
    m_player->setMovie(writeFile(QStringLiteral("panic.swf"), panicMovie()));
    // The emulator's error screen gives way to the player's notice.
    const QString panicShown = QStringLiteral("!document.getElementById('notice').hidden");
    QTRY_VERIFY_WITH_TIMEOUT(evaluate(pageOf(m_player.get()), panicShown).toBool(), kLoadTimeout);

    QSignalSpy loaded(m_player.get(), &FlashPlayer::movieLoaded);
    m_player->setMovie(writeFile(QStringLiteral("after.swf"), stillMovie(320, 200, 20)));
    QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, kLoadTimeout);
    QCOMPARE(evaluate(pageOf(m_player.get()), panicShown).toBool(), false);
}

void HostileGameTest::gameKeepsRunningWhileThePanelHangs() {
    m_server.route("/hang.htm", [](const httplib::Request&, httplib::Response& response) {
        response.set_content("<!DOCTYPE html><title>hanging</title>"
                             "<script>setTimeout(() => { for (;;) {} }, 200)</script>",
                             "text/html");
    });
    m_player->setMovie(writeFile(QStringLiteral("beat.swf"), heartbeatMovie(reportUrl())));
    QTRY_VERIFY_WITH_TIMEOUT(lastReport(QStringLiteral("beat")).toInt() >= 3, kLoadTimeout);

    auto browser = std::make_unique<WebBrowser>();
    browser->setAllowedPages(m_server.baseUrl(), QString());
    browser->resize(400, 100);
    browser->show();
    browser->Navigate(m_server.baseUrl() + QStringLiteral("hang.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(browser.get())->title(), QStringLiteral("hanging"), kLoadTimeout);
    QTest::qWait(kSettle); // the loop has begun
    QVERIFY(pageOf(browser.get())->renderProcessPid() != pageOf(m_player.get())->renderProcessPid());
    const int before = lastReport(QStringLiteral("beat")).toInt();
    QTRY_VERIFY_WITH_TIMEOUT(lastReport(QStringLiteral("beat")).toInt() >= before + 10, kLoadTimeout);
}

} // namespace velmora::test
