#include "BrowserTest.h"

#include "TestSupport.h"

#include "platform/web/WebBrowser.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <csignal>

namespace velmora::test {

namespace {

constexpr int kLoadTimeout = 60000;

} // namespace

void BrowserTest::initTestCase() {
    m_server = std::make_unique<ScriptedServer>();
    m_server->serveFiles(QStringLiteral(VELMORA_TEST_DATA));
}

void BrowserTest::cleanupTestCase() {
    m_server.reset();
}

void BrowserTest::reportsEveryFailedLoad_data() {
    QTest::addColumn<QString>("address");
    QTest::newRow("connection refused") << QStringLiteral("http://127.0.0.1:%1/show1.htm").arg(closedPort());
    QTest::newRow("404") << m_server->url(QStringLiteral("show1.htm"));
    QTest::newRow("not an address") << QStringLiteral("show1.htm");
    QTest::newRow("missing local file") << dataFile(QStringLiteral("missing.htm"));
}

void BrowserTest::reportsEveryFailedLoad() {
    QFETCH(QString, address);
    WebBrowser browser;
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
    browser.setSilent(true);
    QVERIFY(browser.isSilent());
    // A dialog would block here, in its own event loop, until someone closed it.
    browser.Navigate(m_server->url(QStringLiteral("dialogs.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("confirm=false prompt=null"),
                              kLoadTimeout);
}

void BrowserTest::silentPageCanBeLeftDespiteUnloadWarning() {
    WebBrowser browser;
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
    QSignalSpy errors(&browser, &WebBrowser::NavigateError);
    browser.Navigate(m_server->url(QStringLiteral("good.html")));
    QTRY_COMPARE_WITH_TIMEOUT(pageOf(&browser)->title(), QStringLiteral("good"), kLoadTimeout);
    const qint64 pid = pageOf(&browser)->renderProcessPid();
    QVERIFY(pid > 0);
    ::kill(pid_t(pid), SIGKILL);
    QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 1, kLoadTimeout);
}

} // namespace velmora::test
