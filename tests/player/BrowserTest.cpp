#include "BrowserTest.h"

#include "TestSupport.h"

#include "platform/web/WebBrowser.h"
#include "platform/web/WebEngineSetup.h"

#include <QAction>
#include <QDesktopServices>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEngineDownloadRequest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <csignal>

namespace velmora::test {

namespace {

constexpr int kLoadTimeout = 60000;

const char* const kSystemSchemes[] = {"velmora-probe", "mailto", "http", "https", "file"};

void serveHtml(ScriptedServer& server, const std::string& path, const std::string& html) {
    server.route(path, [html](const httplib::Request&, httplib::Response& response) {
        response.set_content(html, "text/html");
    });
}

void redirect(ScriptedServer& server, const std::string& path, const QString& to) {
    server.route(path, [to = to.toStdString()](const httplib::Request&, httplib::Response& response) {
        response.set_redirect(to);
    });
}

} // namespace

void BrowserTest::initTestCase() {
    m_server = std::make_unique<ScriptedServer>();
    m_server->serveFiles(QStringLiteral(VELMORA_TEST_DATA));
    for (const char* scheme : kSystemSchemes)
        QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "openedBySystem");

    // The site: a page with one link over all of it, redirects away, a log-in, a hostile page.
    const QString elsewhere =
        m_site.baseUrl().replace(QLatin1String("127.0.0.1"), QLatin1String("localhost")) +
        QStringLiteral("elsewhere");
    m_site.route("/links.htm", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content("<!DOCTYPE html><title>links</title><body style='margin:0'><a href='" +
                                 request.get_param_value("to") +
                                 "' style='display:block;width:100vw;height:100vh'>link</a>",
                             "text/html");
    });
    redirect(m_site, "/to-custom", QStringLiteral("velmora-probe:redirected"));
    redirect(m_site, "/to-elsewhere", elsewhere);
    serveHtml(m_site, "/elsewhere", "<title>elsewhere</title>");
    m_site.route("/login", [this](const httplib::Request& request, httplib::Response& response) {
        if (request.has_header("Authorization"))
            ++m_credentialsSent;
        response.status = 401;
        response.set_header("WWW-Authenticate", "Basic realm=\"site\"");
        response.set_content("<title>login</title>", "text/html");
    });
    serveHtml(m_site, "/hostile.htm", R"(<!DOCTYPE html><title>waiting</title><body>
<a id="download" href="/download.bin" download>download</a>
<script>
  (async () => {
    const opened = window.open("/elsewhere");
    let file = "refused";
    try { await fetch("file:///etc/passwd"); file = "read"; } catch (e) {}
    const permission = await Notification.requestPermission();
    document.getElementById("download").click();
    await new Promise((resolve) => setTimeout(resolve, 500));
    document.title = `window=${opened === null || opened.closed} file=${file} permission=${permission}`;
  })();
</script>)");
    m_site.route("/download.bin", [](const httplib::Request&, httplib::Response& response) {
        response.set_header("Content-Disposition", "attachment; filename=\"velmora-download.bin\"");
        response.set_content("download", "application/octet-stream");
    });
}

void BrowserTest::cleanupTestCase() {
    for (const char* scheme : kSystemSchemes)
        QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    m_server.reset();
}

void BrowserTest::reportsEveryFailedLoad_data() {
    QTest::addColumn<QString>("site");
    QTest::addColumn<QString>("address");
    const QString closedSite = QStringLiteral("http://127.0.0.1:%1/").arg(closedPort());
    const QString site = m_server->url(QString());
    const QString missing = dataFile(QStringLiteral("missing.htm"));
    QTest::newRow("connection refused") << closedSite << closedSite + QStringLiteral("show1.htm");
    QTest::newRow("404") << site << m_server->url(QStringLiteral("show1.htm"));
    QTest::newRow("not an address") << site << QStringLiteral("show1.htm");
    QTest::newRow("missing local file") << site << missing;
    QTest::newRow("page of another site") << closedSite << m_server->url(QStringLiteral("good.html"));
    QTest::newRow("local file that is not the fallback page")
        << site << dataFile(QStringLiteral("good.html"));
}

void BrowserTest::reportsEveryFailedLoad() {
    QFETCH(QString, site);
    QFETCH(QString, address);
    WebBrowser browser;
    browser.setAllowedPages(site, dataFile(QStringLiteral("missing.htm")));
    browser.setSilent(true);
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    browser.Navigate(address);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kLoadTimeout);
    // The error page that follows is no second failure.
    QTest::qWait(500);
    QCOMPARE(errors.count(), 1);
}

void BrowserTest::loadsGoodPagesWithoutError_data() {
    QTest::addColumn<bool>("local");
    QTest::newRow("web page") << false;
    QTest::newRow("local file under a Chinese folder name") << true;
}

void BrowserTest::loadsGoodPagesWithoutError() {
    QFETCH(bool, local);
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/网页 XXXXXX"));
    const QString copy = dir.filePath(QStringLiteral("showoff.htm"));
    QVERIFY(QFile::copy(dataFile(QStringLiteral("good.html")), copy));

    WebBrowser browser;
    browser.setAllowedPages(m_server->url(QString()), copy);
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    QSignalSpy loads(pageOf(&browser), &QWebEnginePage::loadFinished);
    browser.Navigate(local ? copy : m_server->url(QStringLiteral("good.html")));
    QTRY_COMPARE_WITH_TIMEOUT(loads.count(), 1, kLoadTimeout);
    QCOMPARE(loads.first().first().toBool(), true);
    QCOMPARE(pageOf(&browser)->title(), QStringLiteral("good"));
    QCOMPARE(errors.count(), 0);
}

void BrowserTest::silentPageRaisesNoDialog() {
    WebBrowser browser;
    browser.setAllowedPages(m_server->url(QString()), QString());
    browser.setSilent(true);
    QVERIFY(browser.isSilent());
    // A dialog would block here, in its own event loop, until someone closed it.
    browser.Navigate(m_server->url(QStringLiteral("dialogs.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("confirm=false prompt=null"),
                              kLoadTimeout);
}

void BrowserTest::silentPageCanBeLeftDespiteUnloadWarning() {
    WebBrowser browser;
    browser.setAllowedPages(m_server->url(QString()), QString());
    browser.setSilent(true);
    browser.resize(400, 300);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&browser));
    browser.Navigate(m_server->url(QStringLiteral("unload.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("unload"), kLoadTimeout);
    // The warning is only given once the user has clicked into the page.
    QWidget* surface = browser.findChild<QWebEngineView*>()->focusProxy();
    QTRY_VERIFY_WITH_TIMEOUT(surface, kLoadTimeout);
    // The first clicks may come before the page takes input.
    QVERIFY(QTest::qWaitFor(
        [&] {
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(200, 150));
            return QTest::qWaitFor([&] { return pageOf(&browser)->title() == QLatin1String("clicked"); },
                                   1000);
        },
        kLoadTimeout));

    browser.Navigate(m_server->url(QStringLiteral("good.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("good"), kLoadTimeout);
}

void BrowserTest::reportsDeadPageProcess() {
    WebBrowser browser;
    browser.setAllowedPages(m_server->url(QString()), QString());
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    browser.Navigate(m_server->url(QStringLiteral("good.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("good"), kLoadTimeout);
    const qint64 pid = pageOf(&browser)->renderProcessPid();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGKILL);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kLoadTimeout);
}

void BrowserTest::pageLinksGoNowhereElse_data() {
    QTest::addColumn<QString>("link");
    QTest::addColumn<QString>("refused"); // where the navigation ends, refused
    const QString elsewhere =
        m_site.baseUrl().replace(QLatin1String("127.0.0.1"), QLatin1String("localhost")) +
        QStringLiteral("elsewhere");
    QTest::newRow("custom scheme") << QStringLiteral("velmora-probe:clicked")
                                   << QStringLiteral("velmora-probe:clicked");
    QTest::newRow("mail") << QStringLiteral("mailto:someone@example.com")
                          << QStringLiteral("mailto:someone@example.com");
    QTest::newRow("custom scheme through a redirect")
        << QStringLiteral("/to-custom") << QStringLiteral("velmora-probe:redirected");
    QTest::newRow("another site") << elsewhere << elsewhere;
    QTest::newRow("another site through a redirect") << QStringLiteral("/to-elsewhere") << elsewhere;
}

void BrowserTest::pageLinksGoNowhereElse() {
    QFETCH(QString, link);
    QFETCH(QString, refused);
    m_openedBySystem.clear();
    WebBrowser browser;
    browser.setAllowedPages(m_site.baseUrl(), dataFile(QStringLiteral("missing.htm")));
    browser.setSilent(true);
    browser.resize(400, 100);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    QList<QUrl> navigations;
    connect(pageOf(&browser), &QWebEnginePage::loadingChanged, this,
            [&](const QWebEngineLoadingInfo& info) { navigations.append(info.url()); });
    const QString page = m_site.baseUrl() + QStringLiteral("links.htm?to=") + QUrl::toPercentEncoding(link);
    browser.Navigate(page);
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("links"), kLoadTimeout);

    // One click, the way a user follows a link; the first clicks may come before the page takes
    // input.
    QWidget* surface = browser.findChild<QWebEngineView*>()->focusProxy();
    QTRY_VERIFY_WITH_TIMEOUT(surface, kLoadTimeout);
    QVERIFY(QTest::qWaitFor(
        [&] {
            QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(200, 50));
            return QTest::qWaitFor([&] { return navigations.contains(QUrl(refused)); }, 1000);
        },
        kLoadTimeout));
    QTest::qWait(1000);
    QCOMPARE(m_openedBySystem, QStringList());
    QCOMPARE(pageOf(&browser)->url(), QUrl(page));
    QCOMPARE(errors.count(), 0);
    for (const auto& request : m_site.requests())
        QVERIFY(request.path != "/elsewhere");
}

void BrowserTest::programPagesThatCannotBeShownFail_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("redirected to another site") << QStringLiteral("to-elsewhere");
    QTest::newRow("redirected to a custom scheme") << QStringLiteral("to-custom");
    QTest::newRow("asking for a log-in") << QStringLiteral("login");
}

void BrowserTest::programPagesThatCannotBeShownFail() {
    QFETCH(QString, path);
    m_openedBySystem.clear();
    m_credentialsSent = 0;
    WebBrowser browser;
    browser.setAllowedPages(m_site.baseUrl(), QString());
    browser.setSilent(true);
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    browser.Navigate(m_site.baseUrl() + path);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kLoadTimeout);
    QTest::qWait(1000);
    QCOMPARE(errors.count(), 1);
    QCOMPARE(m_openedBySystem, QStringList());
    // A log-in is cancelled, not answered with an empty name and password.
    QCOMPARE(m_credentialsSent.load(), 0);
    for (const auto& request : m_site.requests())
        QVERIFY(request.path != "/elsewhere");
}

void BrowserTest::hostilePageGetsNoFurther() {
    QList<QPointer<QWebEngineDownloadRequest>> downloads;
    const QMetaObject::Connection asked =
        connect(panelWebProfile(), &QWebEngineProfile::downloadRequested, this,
                [&](QWebEngineDownloadRequest* d) { downloads.append(d); });
    WebBrowser browser;
    browser.setAllowedPages(m_site.baseUrl(), QString());
    browser.setSilent(true);
    browser.Navigate(m_site.baseUrl() + QStringLiteral("hostile.htm"));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(),
                              QStringLiteral("window=true file=refused permission=denied"), kLoadTimeout);
    // The download was asked for and nobody took it: nothing was written.
    QTRY_COMPARE_WITH_TIMEOUT(downloads.size(), 1, kLoadTimeout);
    QTRY_VERIFY_WITH_TIMEOUT(!downloads.first() ||
                                 downloads.first()->state() == QWebEngineDownloadRequest::DownloadCancelled,
                             kLoadTimeout);
    disconnect(asked);
    if (downloads.first())
        QVERIFY(!QFile::exists(downloads.first()->downloadDirectory() + u'/' +
                               downloads.first()->downloadFileName()));
    // No window opened the page it asked for.
    for (const auto& request : m_site.requests())
        QVERIFY(request.path != "/elsewhere");
}

void BrowserTest::offersNoEngineMenu() {
    // The engine's menu (back, reload, save page, view source) would offer what a strip of the
    // site's pages cannot do; the side panel has none. Its entries are Chinese all the same.
    WebBrowser browser;
    browser.setAllowedPages(m_site.baseUrl(), QString());
    browser.resize(400, 100);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    browser.Navigate(m_site.baseUrl() + QStringLiteral("elsewhere"));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("elsewhere"), kLoadTimeout);
    QVERIFY(rightClickPage(&browser));
    QVERIFY(!engineMenuOpened());
    QCOMPARE(pageOf(&browser)->action(QWebEnginePage::Back)->text(), QStringLiteral("后退"));
    QCOMPARE(pageOf(&browser)->action(QWebEnginePage::ViewSource)->text(), QStringLiteral("查看页面源代码"));
}

} // namespace velmora::test
