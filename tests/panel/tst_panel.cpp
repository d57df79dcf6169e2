#include "catalogue/Catalogue.h"
#include "common/SitePaths.h"
#include "panel/SidePanel.h"
#include "platform/web/WebBrowser.h"
#include "platform/web/WebEngineSetup.h"
#include "support/ScriptedServer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <map>
#include <memory>
#include <optional>

using namespace velmora;
using velmora::test::ScriptedServer;

namespace {

constexpr int LoadTimeout = 60000;

QWebEnginePage* pageOf(QWidget* widget) {
    return widget->findChild<QWebEngineView*>()->page();
}

QString pageText(QWidget* widget) {
    auto result = std::make_shared<std::optional<QString>>();
    pageOf(widget)->runJavaScript(QStringLiteral("document.body ? document.body.innerText : ''"),
                                  [result](const QVariant& v) { *result = v.toString(); });
    static_cast<void>(QTest::qWaitFor([&] { return result->has_value(); }, LoadTimeout));
    return result->value_or(QString());
}

// The strip as the window has it: the browser and the panel's label and timer on one widget.
struct Panel {
    explicit Panel(const QString& site, const QString& fallback) {
        window.resize(800, 100);
        browser = new WebBrowser(&window);
        browser->setGeometry(0, 0, 800, 65);
        browser->setSilent(true);
        panel = new SidePanel(browser);
        panel->setPages(SitePaths(site), fallback);
        window.show();
    }
    QLabel* label() const { return window.findChild<QLabel*>(QStringLiteral("Label50")); }
    QTimer* timer() const { return window.findChild<QTimer*>(QStringLiteral("Timer2")); }

    QWidget window;
    WebBrowser* browser = nullptr;
    SidePanel* panel = nullptr;
};

} // namespace

class PanelTest : public QObject {
    Q_OBJECT

private:
    // The fallback page as it ships, in a program folder of its own.
    QString installFallback() {
        const QString path = m_dir->path() + QStringLiteral("/res/showoff.htm");
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile::remove(path);
        if (!QFile::copy(QStringLiteral(VELMORA_FALLBACK_PAGE), path))
            qFatal("cannot copy the fallback page");
        return path;
    }
    // The site's pages asked for (the engine asks for an icon as well).
    QStringList pagesAsked() const {
        QStringList pages;
        for (const auto& request : m_site.requests()) {
            const QString path = QString::fromStdString(request.path);
            if (path.startsWith(QStringLiteral("/show")))
                pages << path;
        }
        return pages;
    }

    ScriptedServer m_site;
    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init() {
        m_site.reset();
        m_dir = std::make_unique<QTemporaryDir>();
        for (const char* page : {"/show1.htm", "/show2.htm", "/show3.htm", "/show4.htm"}) {
            m_site.route(page, [page](const httplib::Request&, httplib::Response& response) {
                response.set_content(std::string("<title>") + page + "</title>", "text/html");
            });
        }
    }

    void failedPagesGiveWayToTheFallbackPage_data() {
        QTest::addColumn<bool>("siteUp");
        QTest::addColumn<bool>("random");
        QTest::newRow("no connection, category page") << false << false;
        QTest::newRow("no connection, random page") << false << true;
        QTest::newRow("page missing on the site") << true << false;
    }

    void failedPagesGiveWayToTheFallbackPage() {
        QFETCH(bool, siteUp);
        QFETCH(bool, random);
        const QString site =
            siteUp ? m_site.baseUrl() : QStringLiteral("http://127.0.0.1:%1/").arg(test::closedPort());
        const QString fallback = installFallback();
        Panel strip(site, fallback);
        QSignalSpy errors(strip.browser, &WebBrowser::NavigateError);
        if (random)
            strip.panel->ShowRandomPage();
        else
            strip.panel->Navigate(site + QStringLiteral("missing.htm"));

        QTRY_COMPARE_WITH_TIMEOUT(pageOf(strip.browser)->title(), QStringLiteral("Velmora游戏盒"),
                                  LoadTimeout);
        QCOMPARE(strip.browser->LocationURL(), QUrl::fromLocalFile(fallback));
        QCOMPARE(errors.count(), 1);
        // The page as it ships says, in Chinese, that the site cannot be reached.
        QVERIFY(pageText(strip.browser).contains(QStringLiteral("无法连接")));

        // A page that loads afterwards is shown again.
        if (siteUp) {
            strip.panel->Navigate(site + QStringLiteral("show3.htm"));
            QTRY_COMPARE_WITH_TIMEOUT(pageOf(strip.browser)->title(), QStringLiteral("/show3.htm"),
                                      LoadTimeout);
        }
    }

    void failingFallbackPageEndsBlankInsteadOfReloading() {
        m_site.route("/broken.htm", test::answer(500));
        const QString missingFallback = m_dir->path() + QStringLiteral("/res/showoff.htm");
        Panel strip(m_site.baseUrl(), missingFallback);
        QSignalSpy errors(strip.browser, &WebBrowser::NavigateError);

        strip.panel->Navigate(m_site.url(QStringLiteral("broken.htm")));
        QTRY_COMPARE_WITH_TIMEOUT(errors.count(), 2, LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(strip.browser->LocationURL(), QUrl(QStringLiteral("about:blank")),
                                  LoadTimeout);
        // Proving a loop absent takes a while of quiet.
        QTest::qWait(1500);
        QCOMPARE(errors.count(), 2);
        QCOMPARE(strip.browser->LocationURL(), QUrl(QStringLiteral("about:blank")));

        // The next page of the site gets its own fallback attempt: the fallback page is there now.
        const QString fallback = installFallback();
        QCOMPARE(fallback, missingFallback);
        strip.panel->Navigate(m_site.url(QStringLiteral("broken.htm")));
        QTRY_COMPARE_WITH_TIMEOUT(strip.browser->LocationURL(), QUrl::fromLocalFile(fallback), LoadTimeout);
        QTRY_COMPARE_WITH_TIMEOUT(pageOf(strip.browser)->title(), QStringLiteral("Velmora游戏盒"),
                                  LoadTimeout);
        QCOMPARE(errors.count(), 3);
    }

    void randomPageFollowsTheDraw_data() {
        QTest::addColumn<double>("r");
        QTest::addColumn<QString>("page");
        QTest::newRow("0") << 0.0 << QStringLiteral("/show2.htm");
        QTest::newRow("0.25, a tie rounded to even") << 0.25 << QStringLiteral("/show2.htm");
        QTest::newRow("just above 0.25") << std::nextafter(0.25, 1.0) << QStringLiteral("/show3.htm");
        QTest::newRow("just below 0.75") << std::nextafter(0.75, 0.0) << QStringLiteral("/show3.htm");
        QTest::newRow("0.75, a tie rounded to even") << 0.75 << QStringLiteral("/show4.htm");
        QTest::newRow("just below 1") << std::nextafter(1.0, 0.0) << QStringLiteral("/show4.htm");
    }

    void randomPageFollowsTheDraw() {
        QFETCH(double, r);
        QFETCH(QString, page);
        Panel strip(m_site.baseUrl(), installFallback());
        strip.panel->setRandomSource([r] { return r; });
        strip.panel->ShowRandomPage();
        QTRY_COMPARE_WITH_TIMEOUT(pageOf(strip.browser)->title(), page, LoadTimeout);
        QCOMPARE(pagesAsked(), QStringList{page});
    }

    void randomPagesComeInTheRatioOneTwoOne() {
        std::map<QString, int> counts;
        // Evenly spread draws give the exact shares; the hot page never comes.
        constexpr int Draws = 4000;
        for (int i = 0; i < Draws; ++i)
            ++counts[SidePanel::randomPage((i + 0.5) / Draws)];
        QCOMPARE(counts, (std::map<QString, int>{{QStringLiteral("show2.htm"), 1000},
                                                 {QStringLiteral("show3.htm"), 2000},
                                                 {QStringLiteral("show4.htm"), 1000}}));
        // Pseudo-random draws come close to them.
        QRandomGenerator generator(20240601);
        counts.clear();
        for (int i = 0; i < Draws; ++i)
            ++counts[SidePanel::randomPage(generator.generateDouble())];
        QVERIFY(qAbs(counts[QStringLiteral("show2.htm")] - 1000) < 120);
        QVERIFY(qAbs(counts[QStringLiteral("show3.htm")] - 2000) < 150);
        QVERIFY(qAbs(counts[QStringLiteral("show4.htm")] - 1000) < 120);
    }

    void nullDescriptionDuringADescriptionEndsItAtOnce() {
        Panel strip(m_site.baseUrl(), installFallback());
        strip.timer()->setInterval(300);
        strip.panel->ShowGameInfo({GameInfo::Kind::Text, QStringLiteral("跳吧")});
        QVERIFY(strip.label()->isVisible());
        QVERIFY(!strip.browser->isVisible());

        strip.panel->ShowGameInfo({GameInfo::Kind::Null, QString()});
        QVERIFY(!strip.label()->isVisible());
        QVERIFY(strip.browser->isVisible());
        // The timer keeps running; its tick only repeats the state.
        QVERIFY(strip.timer()->isActive());
        QSignalSpy ticks(strip.timer(), &QTimer::timeout);
        QVERIFY(ticks.wait(5000));
        QVERIFY(!strip.timer()->isActive());
        QVERIFY(!strip.label()->isVisible());
        QVERIFY(strip.browser->isVisible());

        // A failed read leaves a description on display as it is.
        strip.panel->ShowGameInfo({GameInfo::Kind::Text, QStringLiteral("再来")});
        strip.panel->ShowGameInfo({GameInfo::Kind::Failed, QString()});
        QVERIFY(strip.label()->isVisible());
        QCOMPARE(strip.label()->text(), QStringLiteral("再来"));
    }

    void shippedFallbackPageNeedsNothingFromOutside() {
        QFile file(QStringLiteral(VELMORA_FALLBACK_PAGE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString html = QString::fromUtf8(file.readAll());
        for (const char* outside : {"http:", "https:", "//", "src=", "href=", "url(", "@import"})
            QVERIFY2(!html.contains(QString::fromLatin1(outside)), outside);
        QVERIFY(html.contains(QStringLiteral("lang=\"zh-CN\"")));
    }
};

int main(int argc, char** argv) {
    prepareWebEngine();
    QApplication app(argc, argv);
    PanelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_panel.moc"
