#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "common/SitePaths.h"
#include "platform/QtMessageSink.h"
#include "platform/QtTranslations.h"
#include "platform/web/WebEngineSetup.h"
#include "support/RealInput.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedServer.h"
#include "support/TestFiles.h"
#include "ui/ListBox.h"
#include "support/WebContent.h"
#include "support/TemporaryUserData.h"
#include "ui/TabLabel.h"
#include "ui/Twips.h"

#include "platform/web/FlashPlayer.h"
#include "tools/catalogue/CatalogueCsv.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "DemoMovies.h"
#include "MovieWriter.h"
#include "ProbeMovies.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>
#include <mutex>

#include <fcntl.h>
#include <unistd.h>

using namespace velmora;
using velmora::test::RecordingMessageSink;
using velmora::test::ScriptedServer;
using velmora::test::readFile;
using velmora::test::writeFile;

namespace {

// A fresh window's web engine and first game are slow on a busy machine.
constexpr int kGameTimeout = 180000;

const QString Hint = QStringLiteral("您可以把喜欢的flash小游戏放在\"Velmora游戏盒") + QDir::separator() +
                     QStringLiteral("我的收藏\"文件夹下");

// A program folder as users have it: a catalogue, two games on disk (one of them an empty file
// left by a download that was cut short), no favourites folder yet.
struct Installation {
    explicit Installation(const QString& folderName = QStringLiteral("box"))
        : appPath(root.path() + u'/' + folderName)
        , paths(appPath) {
        QDir().mkpath(paths.gameFolder());
        const std::vector<tools::CatalogueRecord> games = {
            {11, QStringLiteral("方块跳跳"), 1, 50, QStringLiteral("跳吧")},
            {12, QStringLiteral("彩球大战"), 1, 90, std::nullopt},
            {13, QStringLiteral("星空漫游"), 1, 50, QString()},
            {14, QStringLiteral("数字迷宫"), 1, 70, std::nullopt},
            {21, QStringLiteral("记忆翻牌"), 2, 10, std::nullopt},
            {31, QStringLiteral("疾风快跑"), 3, 10, std::nullopt},
        };
        QDir().mkpath(QFileInfo(paths.catalogueFile()).absolutePath());
        const QString error = tools::writeCatalogue(games, paths.catalogueFile());
        if (!error.isEmpty())
            qFatal("catalogue: %s", qPrintable(error));
        writeFile(paths.mirrorFile(), "abcdefghijklmn\r\n");
        writeFile(paths.gameFile(11), swf::demoMovie(QStringLiteral("arrows")));
        writeFile(paths.gameFile(14), QByteArray());
    }

    QTemporaryDir root;
    QString appPath;
    InstallPaths paths;
};

void writeDemoCatalogue(const QString& path, const QByteArray& extraRows = {}) {
    const QByteArray csv = readFile(QStringLiteral(VELMORA_DEMO_DIR "/catalogue.csv")) + extraRows;
    const tools::CsvParseResult parsed = tools::parseCatalogueCsv(csv);
    QVERIFY2(parsed.error.isEmpty(), qPrintable(parsed.error));
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString error = tools::writeCatalogue(parsed.records, path);
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

// The demo as scripts/make-demo.sh lays it out: a program folder with the demo catalogue and its
// state files, and a site folder with the side panel pages and the update files, whose catalogue
// the site operator has just changed to version 2 with one more puzzle game.
struct DemoSetup {
    DemoSetup()
        : program(root.path() + QStringLiteral("/program"))
        , siteFolder(root.path() + QStringLiteral("/site")) {
        const SitePaths site(siteFolder + u'/');
        writeDemoCatalogue(program.catalogueFile());
        writeFile(program.mirrorFile(), readFile(QStringLiteral(VELMORA_DEMO_DIR "/guihu.txt")));
        writeFile(program.catalogueVersionFile(), "1\r\n");
        writeFile(program.programVersionFile(), "1.0\r\n");
        QDir().mkpath(program.gameFolder());
        for (const QString& page : QDir(QStringLiteral(VELMORA_DEMO_DIR "/site")).entryList(QDir::Files))
            writeFile(siteFolder + u'/' + page, readFile(QStringLiteral(VELMORA_DEMO_DIR "/site/") + page));
        writeDemoCatalogue(site.catalogue(), "105,新的益智游戏,2,99,\n");
        writeFile(site.catalogueVersion(), "2\r\n");
        writeFile(site.programVersion(), "1.0\r\n");
    }

    QTemporaryDir root;
    InstallPaths program;
    QString siteFolder;
};

// What the probe movies report to the site, in the order it arrives. The log is shared with
// the server's handler, which may still run after a test has ended.
class Reports {
public:
    explicit Reports(ScriptedServer& site) {
        site.route("/report", [log = m_log](const httplib::Request& request, httplib::Response& response) {
            const std::lock_guard lock(log->mutex);
            log->reports.append({QString::fromStdString(request.get_param_value("probe")),
                                 QString::fromStdString(request.get_param_value("got"))});
            response.set_content("ok", "text/plain");
        });
    }
    static QString url(const ScriptedServer& site) { return site.baseUrl() + QStringLiteral("report?"); }

    QStringList values(const QString& probe) const {
        const std::lock_guard lock(m_log->mutex);
        QStringList got;
        for (const auto& [name, value] : m_log->reports)
            if (name == probe)
                got << value;
        return got;
    }
    int last(const QString& probe) const {
        const QStringList got = values(probe);
        return got.isEmpty() ? 0 : got.last().toInt();
    }

private:
    struct Log {
        std::mutex mutex;
        QList<QPair<QString, QString>> reports;
    };
    std::shared_ptr<Log> m_log = std::make_shared<Log>();
};

// The place the layout engine gives a control designed at twips: the client size is taken as a
// whole percentage of the design size.
QRect scaledPlace(const QRect& twips, const QSize& client) {
    const qint64 w = qint64(client.width()) * 1500 / 15240, h = qint64(client.height()) * 1500 / 10665;
    const double left = double(twips.x() * w / 100), top = double(twips.y() * h / 100);
    const double right = left + double(twips.width() * w / 100),
                 bottom = top + double(twips.height() * h / 100);
    const int x = qRound(left / 15), y = qRound(top / 15);
    return QRect(x, y, qRound(right / 15) - x, qRound(bottom / 15) - y);
}

bool near(const QRect& a, const QRect& b) {
    return qAbs(a.left() - b.left()) <= 1 && qAbs(a.top() - b.top()) <= 1 &&
           qAbs(a.right() - b.right()) <= 1 && qAbs(a.bottom() - b.bottom()) <= 1;
}

// A blue square on green: it moves right while the Right arrow key is down and jumps 150
// pixels to the left on every press of a mouse button.
QByteArray keyAndClickMovie() {
    using Op = swf::Avm1Code::Op;
    const auto moveBox = [](swf::Avm1Code& c, double by) {
        c.getVariable(QStringLiteral("box")).push({QStringLiteral("_x")});
        c.getVariable(QStringLiteral("box")).getMember(QStringLiteral("_x"));
        c.push({by}).op(Op::Add2).op(Op::SetMember);
    };
    swf::MovieWriter m(640, 480, 30);
    m.setBackground({12, 36, 20});
    m.place(m.defineClip(m.definePolygon({{-30, -30}, {30, -30}, {30, 30}, {-30, 30}}, {40, 110, 240})), 1,
            {320, 240}, QStringLiteral("box"));
    swf::Avm1Code onEnterFrame;
    const int up = onEnterFrame.newLabel();
    onEnterFrame.push({39}).callMethod(QStringLiteral("Key"), QStringLiteral("isDown"), 1);
    onEnterFrame.op(Op::Not).branchIfTrue(up);
    // It stops short of the right edge, where a slow test still finds it.
    onEnterFrame.getVariable(QStringLiteral("box")).getMember(QStringLiteral("_x"));
    onEnterFrame.push({560}).op(Op::Less2).op(Op::Not).branchIfTrue(up);
    moveBox(onEnterFrame, 8);
    onEnterFrame.bind(up);
    swf::Avm1Code onMouseDown;
    moveBox(onMouseDown, -150);
    swf::Avm1Code script;
    script.push({QStringLiteral("onEnterFrame")}).pushFunction(onEnterFrame).op(Op::SetVariable);
    script.push({QStringLiteral("onMouseDown")}).pushFunction(onMouseDown).op(Op::SetVariable);
    script.op(Op::Stop);
    m.doAction(script);
    m.showFrame();
    return m.finish();
}

// Once the next message box is open: notes the texts of its buttons and presses press.
void answerNextBox(QStringList& buttonTexts, QMessageBox::StandardButton press) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, &buttonTexts, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        poll->stop();
        poll->deleteLater();
        for (const QAbstractButton* button : box->buttons())
            buttonTexts << button->text();
        buttonTexts.sort();
        box->button(press)->click();
    });
    poll->start(20);
}

QStringList rowTexts(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Form1> openWindow(const Installation& installation,
                                      const std::function<void(Form1::Environment&)>& adjust = {}) {
        return openWindow(installation.appPath, adjust);
    }
    std::unique_ptr<Form1> openWindow(const QString& appPath,
                                      const std::function<void(Form1::Environment&)>& adjust = {}) {
        Form1::Environment env{appPath, m_site.baseUrl(), &m_messages, QStringLiteral(VELMORA_PLAYER_DIR),
                               [this] {
                                   ++m_endRequests;
                               }};
        if (adjust)
            adjust(env);
        auto form = std::make_unique<Form1>(env);
        form->load();
        return form;
    }

    // The window on the favourites tab, with files of these names in the favourites folder.
    std::unique_ptr<Form1> openFavourites(const Installation& installation,
                                          std::initializer_list<const char*> files) {
        for (const char* name : files)
            writeFile(installation.paths.favouritesFolder() + u'/' + QString::fromUtf8(name), "FWS");
        auto form = openWindow(installation);
        form->show();
        release(control<QWidget>(*form, "Label51"));
        return form;
    }

    template <typename T> static T* control(Form1& form, const char* name) {
        auto* widget = form.findChild<T*>(QString::fromLatin1(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    static void clickRow(Form1& form, int row) {
        auto* list = control<QListWidget>(form, "List1");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(row)).center());
    }

    static void release(QWidget* label) {
        QTest::mousePress(label, Qt::LeftButton);
        QTest::mouseRelease(label, Qt::LeftButton);
    }

    // Serves the files of a site folder as a static web server does, pages as pages.
    void serveFolder(const QString& folder) {
        QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString path = files.next();
            const std::string name = QDir(folder).relativeFilePath(path).toStdString();
            const QByteArray content = readFile(path);
            if (name.ends_with(".htm") || name.ends_with(".css")) {
                const std::string type = name.ends_with(".htm") ? "text/html; charset=utf-8" : "text/css";
                m_site.route("/" + name,
                             [content, type](const httplib::Request&, httplib::Response& response) {
                                 response.set_content(content.toStdString(), type);
                             });
            } else {
                m_site.route("/" + name, test::serveRanges(content));
            }
        }
    }

    QStringList updateFilesAsked() const {
        QStringList files;
        for (const QString& page : pagesAsked()) {
            if (page.startsWith(QStringLiteral("/gengxin/")) && !files.contains(page))
                files << page;
        }
        return files;
    }

    QStringList pagesAsked() const {
        QStringList pages;
        for (const auto& request : m_site.requests())
            pages << QString::fromStdString(request.path);
        return pages;
    }

    ScriptedServer m_site;
    RecordingMessageSink m_messages;
    int m_endRequests = 0;

private Q_SLOTS:
    void init() {
        m_site.reset();
        for (const char* page : {"/show1.htm", "/show2.htm", "/show3.htm", "/show4.htm"})
            m_site.route(page, test::answer(200, QByteArray("<html><body>") + page + "</body></html>"));
        m_messages = RecordingMessageSink();
        m_endRequests = 0;
    }

    void controlsStartAsDesigned() {
        Installation installation;
        auto form = openWindow(installation);
        QCOMPARE(form->windowTitle(), QStringLiteral("Velmora游戏盒1.0"));
        QCOMPARE(form->palette().color(QPalette::Window), QColor(Qt::black));

        struct Expected {
            const char* name;
            QRect twips;
            bool visible;
        };
        const Expected expected[] = {
            {"Command6", {14400, 9960, 705, 405}, false},
            {"List2", {15000, 0, 150, 240}, false},
            {"List1", {15, 285, 2505, 10320}, true},
            {"WebBrowser1", {2535, 9675, 12630, 975}, true},
            {"ShockwaveFlash1", {2535, 285, 12630, 9375}, true},
            {"Label50", {2535, 9675, 12630, 975}, false},
            {"Label54", {4920, 30, 600, 210}, true},
            {"Label51", {2100, 30, 975, 210}, true},
            {"Label53", {4230, 30, 600, 210}, true},
            {"Label3", {1410, 30, 600, 210}, true},
            {"Label2", {720, 30, 600, 210}, true},
            {"Label1", {30, 30, 600, 210}, true},
            {"Label52", {3165, 30, 975, 210}, true},
        };
        form->show();
        for (const Expected& e : expected) {
            QWidget* w = control<QWidget>(*form, e.name);
            QCOMPARE(w->geometry(),
                     rectFromTwips(e.twips.x(), e.twips.y(), e.twips.width(), e.twips.height()));
            QVERIFY2(w->isVisible() == e.visible, e.name);
        }

        const QStringList captions = {QStringLiteral(" 热门"),     QStringLiteral(" 益智"),
                                      QStringLiteral(" 动作"),     QStringLiteral(" 我的收藏"),
                                      QStringLiteral(" 快捷方式"), QStringLiteral(" 关于"),
                                      QStringLiteral(" 全屏")};
        const char* tabs[] = {"Label1", "Label2", "Label3", "Label51", "Label52", "Label53", "Label54"};
        for (int i = 0; i < 7; ++i) {
            auto* tab = control<TabLabel>(*form, tabs[i]);
            QCOMPARE(tab->text(), captions[i]);
            QCOMPARE(tab->textColor(), TabLabel::TabTextColor);
            QVERIFY(!tab->hasBorder());
            QCOMPARE(tab->font().families().value(0), QStringLiteral("SimSun"));
            QCOMPARE(tab->font().pointSizeF(), 10.5);
            QCOMPARE(tab->focusPolicy(), Qt::NoFocus);
        }
        auto* list = control<QListWidget>(*form, "List1");
        QCOMPARE(list->font().families().value(0), QStringLiteral("SimSun"));
        QCOMPARE(list->palette().color(QPalette::Base), QColor(Qt::black));
        QCOMPARE(list->palette().color(QPalette::Text), QColor(224, 224, 224));
        QCOMPARE(control<QLabel>(*form, "Label50")->palette().color(QPalette::WindowText),
                 TabLabel::TabTextColor);

        auto* timer1 = control<QTimer>(*form, "Timer1");
        auto* timer2 = control<QTimer>(*form, "Timer2");
        QCOMPARE(timer1->interval(), 30000);
        QCOMPARE(timer2->interval(), 30000);
        QVERIFY(timer1->isActive());
        QVERIFY(!timer2->isActive());

        // Windowed controls stack above the labels, Command6 on top of all.
        const QObjectList children = form->children();
        const auto at = [&](const char* name) {
            return children.indexOf(control<QWidget>(*form, name));
        };
        QVERIFY(at("Label1") < at("ShockwaveFlash1"));
        QVERIFY(at("ShockwaveFlash1") < at("WebBrowser1"));
        QVERIFY(at("WebBrowser1") < at("List1"));
        QVERIFY(at("List1") < at("List2"));
        QVERIFY(at("List2") < at("Command6"));

        // Keyboard order: player, browser, game list, queue, back button.
        const auto focusPosition = [&](const char* name) {
            QWidget* target = control<QWidget>(*form, name);
            QWidget* w = control<QWidget>(*form, "ShockwaveFlash1");
            for (int step = 0; step < 500; ++step, w = w->nextInFocusChain()) {
                if (w == target || target->isAncestorOf(w))
                    return step;
            }
            return -1;
        };
        QVERIFY(focusPosition("WebBrowser1") > 0);
        QVERIFY(focusPosition("List1") > focusPosition("WebBrowser1"));
        QVERIFY(focusPosition("List2") > focusPosition("List1"));
        QVERIFY(focusPosition("Command6") > focusPosition("List2"));

        QCOMPARE(form->RemoteGameFolder(), QStringLiteral("jkde"));
        QCOMPARE(form->GameFolder(),
                 QDir::toNativeSeparators(installation.appPath + QStringLiteral("/res/velmora/")));
    }

    void windowOpensMaximisedAndScalesItsControls() {
        Installation installation;
        auto form = openWindow(installation);
        form->showAtStart();
        QVERIFY(form->windowState() & Qt::WindowMaximized);

        form->showNormal();
        form->resize(2032, 1422); // twice the design size
        QTRY_COMPARE(control<QWidget>(*form, "List1")->geometry(), QRect(2, 38, 334, 1376));
        QCOMPARE(control<QWidget>(*form, "ShockwaveFlash1")->geometry(), QRect(338, 38, 1684, 1250));
        QCOMPARE(control<QWidget>(*form, "Label1")->geometry(), QRect(4, 4, 80, 28));
        // The side panel strip keeps its height, the back button its size.
        QCOMPARE(control<QWidget>(*form, "WebBrowser1")->geometry(), QRect(338, 1290, 1684, 65));
        QCOMPARE(control<QWidget>(*form, "Label50")->height(), 65);
        QCOMPARE(control<QWidget>(*form, "Command6")->size(), QSize(47, 27));
    }

    void hotListShowsMarkersAndDropsEmptyFiles() {
        Installation installation;
        auto form = openWindow(installation);
        QCOMPARE(form->CurrentCategory(), QStringLiteral("remen"));
        auto* list = control<QListWidget>(*form, "List1");
        // Highest priority first; equal priorities keep the catalogue's order.
        QCOMPARE(rowTexts(list), (QStringList{QStringLiteral("*彩球大战"), QStringLiteral("*数字迷宫"),
                                              QStringLiteral(" 方块跳跳"), QStringLiteral("*星空漫游")}));
        QCOMPARE(list->item(0)->data(Qt::UserRole).toInt(), 12);
        QCOMPARE(list->item(2)->data(Qt::UserRole).toInt(), 11);
        QVERIFY(!QFile::exists(installation.appPath + QStringLiteral("/res/velmora/14.swf")));
        QTRY_VERIFY(pagesAsked().contains(QStringLiteral("/show1.htm")));
        QVERIFY(m_messages.shown.empty());
    }

    void catalogueTabsSwitchListAndPage() {
        Installation installation;
        auto form = openWindow(installation);
        auto* list = control<QListWidget>(*form, "List1");

        release(control<QWidget>(*form, "Label2"));
        QCOMPARE(form->CurrentCategory(), QStringLiteral("yizhi"));
        QCOMPARE(rowTexts(list), QStringList{QStringLiteral("*记忆翻牌")});
        QTRY_VERIFY(pagesAsked().contains(QStringLiteral("/show2.htm")));

        release(control<QWidget>(*form, "Label3"));
        QCOMPARE(form->CurrentCategory(), QStringLiteral("dongzuo"));
        QCOMPARE(rowTexts(list), QStringList{QStringLiteral("*疾风快跑")});
        QTRY_VERIFY(pagesAsked().contains(QStringLiteral("/show3.htm")));

        // The current tab changes nothing: the list is not refilled.
        list->item(0)->setText(QStringLiteral("marked"));
        release(control<QWidget>(*form, "Label3"));
        QCOMPARE(rowTexts(list), QStringList{QStringLiteral("marked")});

        release(control<QWidget>(*form, "Label1"));
        QCOMPARE(form->CurrentCategory(), QStringLiteral("remen"));
        QCOMPARE(list->count(), 4);
        QVERIFY(m_messages.shown.empty());
    }

    void tabsRefuseToSwitchWhileDownloadsAreQueued() {
        Installation installation;
        const test::Gate gameAnswer;
        m_site.route("/jkde/12.swf", gameAnswer.hold(test::serveRanges("FWS")));
        auto form = openWindow(installation);
        form->show();
        auto* list = control<QListWidget>(*form, "List1");
        QStringList before;
        QStringList categories;
        QStringList after;

        // While the game of row 0 downloads.
        QTimer::singleShot(0, this, [&] {
            before = rowTexts(list);
            for (const char* tab : {"Label2", "Label3", "Label51"}) {
                release(control<QWidget>(*form, tab));
                categories << form->CurrentCategory();
                after = rowTexts(list);
            }
            gameAnswer.open();
        });
        clickRow(*form, 0);

        QCOMPARE(categories, QStringList(3, QStringLiteral("remen")));
        QCOMPARE(after, before);
        QCOMPARE(m_messages.shown.size(), size_t(3));
        for (const auto& shown : m_messages.shown) {
            QCOMPARE(shown.text, QStringLiteral("正在下载，请稍候！"));
            QCOMPARE(shown.caption, QStringLiteral("提示"));
            QCOMPARE(shown.icon, MessageSink::Icon::Information);
        }
        // The current tab is no switch, so it is not refused either; once the queue is empty
        // the tabs switch again.
        release(control<QWidget>(*form, "Label1"));
        QCOMPARE(m_messages.shown.size(), size_t(3));
        release(control<QWidget>(*form, "Label2"));
        QCOMPARE(form->CurrentCategory(), QStringLiteral("yizhi"));
        QCOMPARE(m_messages.shown.size(), size_t(3));
    }

    void favouritesListTheFolderAndHintWhenEmpty() {
        Installation installation;
        auto form = openWindow(installation);
        auto* list = control<QListWidget>(*form, "List1");
        const QString folder = installation.appPath + QStringLiteral("/我的收藏");
        form->show();

        release(control<QWidget>(*form, "Label51"));
        QCOMPARE(form->CurrentCategory(), QStringLiteral("wodeshoucang"));
        QVERIFY(QFileInfo(folder).isDir());
        QCOMPARE(list->count(), 0);
        QCOMPARE(m_messages.texts(), QStringList{Hint});
        QCOMPARE(m_messages.shown.front().icon, MessageSink::Icon::None);
        QVERIFY(m_messages.shown.front().caption.isEmpty());
        QTRY_VERIFY(pagesAsked().contains(QStringLiteral("/show4.htm")));

        // Each click reads the folder again.
        writeFile(folder + QStringLiteral("/小球.swf"), "FWS");
        writeFile(folder + QStringLiteral("/readme.txt"), "x");
        release(control<QWidget>(*form, "Label51"));
        QCOMPARE(rowTexts(list), QStringList{QStringLiteral("小球")});
        QCOMPARE(list->item(0)->data(Qt::UserRole).toInt(), 0);
        QCOMPARE(m_messages.shown.size(), size_t(1));
        QCOMPARE(form->focusWidget(), list);
    }

    // A name with line breaks takes one line, as every other row, and keeps its stored text.
    void rowsTakeOneLineWhateverTheName() {
        Installation installation;
        const std::vector<tools::CatalogueRecord> games = {
            {11, QStringLiteral("两行\n名字"), 1, 90, std::nullopt},
            {12, QStringLiteral("回车\r\n换行\u2028分行"), 1, 80, std::nullopt},
            {13, QStringLiteral("一行"), 1, 70, std::nullopt},
        };
        QCOMPARE(tools::writeCatalogue(games, installation.paths.catalogueFile()), QString());
        auto form = openWindow(installation);
        form->show();
        auto* list = control<QListWidget>(*form, "List1");
        QCOMPARE(rowTexts(list),
                 (QStringList{QStringLiteral(" 两行\n名字"), QStringLiteral("*回车\r\n换行\u2028分行"),
                              QStringLiteral("*一行")}));
        const QRect plain = list->visualItemRect(list->item(2));
        for (int row = 0; row < 2; ++row)
            QCOMPARE(list->visualItemRect(list->item(row)).height(), plain.height());
        QCOMPARE(plain.top(), 2 * plain.height());
    }

    // The extension matches in any letter case, and the row plays the file of its real name.
    void favouritesPlayWhateverTheCaseOfTheirExtension() {
        Installation installation;
        writeFile(installation.paths.favouritesFolder() + QStringLiteral("/大写.SWF"),
                  swf::demoMovie(swf::demoMovieKinds().front()));
        auto form = openFavourites(installation, {});
        auto* list = control<QListWidget>(*form, "List1");
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        QCOMPARE(rowTexts(list), QStringList{QStringLiteral("大写")});
        clickRow(*form, 0);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
    }

    // A file name in GBK (not UTF-8) is listed decoded and plays from its name's bytes.
    void favouritesWithGbkNamesPlay() {
        Installation installation;
        const QByteArray folder = QFile::encodeName(installation.paths.favouritesFolder());
        QVERIFY(QDir().mkpath(installation.paths.favouritesFolder()));
        const QByteArray movie = swf::demoMovie(swf::demoMovieKinds().front());
        const QByteArray file = folder + "/\xD0\xA1\xD3\xCE\xCF\xB7.swf";
        const int fd = ::open(file.constData(), O_WRONLY | O_CREAT, 0644);
        QVERIFY(fd >= 0);
        QCOMPARE(::write(fd, movie.constData(), size_t(movie.size())), ssize_t(movie.size()));
        ::close(fd);
        auto form = openFavourites(installation, {"普通.swf"});
        auto* list = control<QListWidget>(*form, "List1");
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        QCOMPARE(rowTexts(list), (QStringList{QStringLiteral("小游戏"), QStringLiteral("普通")}));
        clickRow(*form, 0);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
    }

    // Every way of selecting a row with the mouse raises Click, once per selection.
    void mouseSelectionsRaiseClick() {
        Installation installation;
        auto form = openFavourites(installation, {"a.swf", "b.swf", "c.swf"});
        auto* list = control<ListBox>(*form, "List1");
        QCOMPARE(list->count(), 3);
        QWidget* rows = list->viewport();
        const auto at = [list](int row) {
            return list->visualItemRect(list->item(row)).center();
        };
        QSignalSpy clicks(list, &ListBox::Click);

        QTest::mouseClick(rows, Qt::LeftButton, {}, at(0));
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(list->currentRow(), 0);
        // Again on the selected row: that is how a downloaded game is started.
        QTest::mouseClick(rows, Qt::LeftButton, {}, at(0));
        QCOMPARE(clicks.count(), 2);
        QTest::mouseClick(rows, Qt::RightButton, {}, at(1));
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(list->currentRow(), 1);

        // A press dragged onto another row selects that row too; the release adds nothing.
        for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            clicks.clear();
            QTest::mousePress(rows, button, {}, at(0));
            QTest::mouseMove(rows, at(2));
            QCOMPARE(list->currentRow(), 2);
            QTest::mouseMove(rows, at(2) + QPoint(1, 0));
            QTest::mouseRelease(rows, button, {}, at(2));
            QCOMPARE(clicks.count(), 2);
            QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(2)});
        }
    }

    // A list box keeps its selection, here the highlight of the game being played, whatever
    // the user does beside the rows.
    void clicksBesideTheRowsKeepTheSelection() {
        Installation installation;
        auto form = openFavourites(installation, {"a.swf", "b.swf"});
        auto* list = control<ListBox>(*form, "List1");
        QWidget* rows = list->viewport();
        const QRect played = list->visualItemRect(list->item(1));
        const QPoint below = played.center() + QPoint(0, 3 * played.height());
        QVERIFY(!list->itemAt(below));
        QSignalSpy clicks(list, &ListBox::Click);

        QTest::mouseClick(rows, Qt::LeftButton, {}, played.center());
        QTest::mouseClick(rows, Qt::LeftButton, {}, below);
        QTest::mouseClick(rows, Qt::RightButton, {}, below);
        QTest::mousePress(rows, Qt::LeftButton, {}, played.center());
        QTest::mouseMove(rows, below);
        QTest::mouseRelease(rows, Qt::LeftButton, {}, below);
        QTest::mouseClick(rows, Qt::LeftButton, Qt::ControlModifier, played.center());
        QCOMPARE(list->selectedItems(), QList<QListWidgetItem*>{list->item(1)});
        QCOMPARE(list->currentRow(), 1);
        QCOMPARE(clicks.count(), 3); // the presses on the row
    }

    void runLocationWarning_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("warned");
        QTest::newRow("Temp") << QStringLiteral("Temp/Rar$EXa0.123/box") << true;
        QTest::newRow("inside a longer name") << QStringLiteral("Templates/box") << true;
        QTest::newRow("lower case") << QStringLiteral("temp/box") << false;
    }

    void runLocationWarning() {
        QFETCH(QString, folder);
        QFETCH(bool, warned);
        Installation installation(folder);
        int rowsWhenWarned = -1;
        const auto endProgram = [] {
        };
        Form1 form({installation.appPath, m_site.baseUrl(), &m_messages, QStringLiteral(VELMORA_PLAYER_DIR),
                    endProgram});
        // The check comes last: the hot list is already filled when the warning shows.
        m_messages.onShow = [&] {
            rowsWhenWarned = form.findChild<QListWidget*>("List1")->count();
        };
        form.load();
        if (warned) {
            QCOMPARE(m_messages.texts(),
                     QStringList{QStringLiteral("请先解压缩再使用，不要直接运行压缩包！")});
            QCOMPARE(m_messages.shown.front().icon, MessageSink::Icon::None);
            QCOMPARE(rowsWhenWarned, 4);
        } else {
            QVERIFY(m_messages.shown.empty());
        }
    }

    void tabLook() {
        Installation installation;
        auto form = openWindow(installation);
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* hot = control<TabLabel>(*form, "Label1");
        auto* puzzle = control<TabLabel>(*form, "Label2");
        auto* about = control<TabLabel>(*form, "Label53");

        QTest::mouseMove(hot);
        QTRY_COMPARE(hot->textColor(), TabLabel::TabHoverColor);
        QTest::mouseMove(puzzle);
        QTRY_COMPARE(puzzle->textColor(), TabLabel::TabHoverColor);
        QCOMPARE(hot->textColor(), TabLabel::TabHoverColor); // no bare surface crossed yet

        // Over the bare window every tab returns to its colour at once.
        QTest::mouseMove(form.get(), QPoint(form->width() / 2, 5));
        QTRY_COMPARE(hot->textColor(), TabLabel::TabTextColor);
        QCOMPARE(puzzle->textColor(), TabLabel::TabTextColor);

        // Press shows a border; the release, wherever it happens, removes it and acts.
        QTest::mousePress(puzzle, Qt::RightButton);
        QVERIFY(puzzle->hasBorder());
        QTest::mouseRelease(puzzle, Qt::RightButton, {}, QPoint(-200, 300));
        QVERIFY(!puzzle->hasBorder());
        QCOMPARE(form->CurrentCategory(), QStringLiteral("yizhi"));

        QTest::mousePress(about, Qt::MiddleButton);
        QVERIFY(about->hasBorder());
        QTest::mouseRelease(about, Qt::MiddleButton);
        QVERIFY(!about->hasBorder());
        QCOMPARE(form->CurrentCategory(), QStringLiteral("yizhi"));
        QVERIFY(m_messages.shown.empty());
    }

    void gamesOnDiskPlayAndShowTheirDescription() {
        Installation installation;
        auto form = openWindow(installation);
        form->show();
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        auto* label = control<QLabel>(*form, "Label50");
        auto* browser = control<QWidget>(*form, "WebBrowser1");
        auto* timer2 = control<QTimer>(*form, "Timer2");
        timer2->setInterval(300); // the description stays for 30 s in the real window
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);

        clickRow(*form, 2); // " 方块跳跳", on disk, with a description
        QVERIFY(label->isVisible());
        QCOMPARE(label->text(), QStringLiteral("跳吧"));
        QVERIFY(!browser->isVisible());
        QVERIFY(timer2->isActive());
        // Keys go to the game after every selection.
        QVERIFY(form->focusWidget() == player || player->isAncestorOf(form->focusWidget()));
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
        QTRY_VERIFY(!label->isVisible());
        QVERIFY(browser->isVisible());
        QVERIFY(!timer2->isActive());
        QCOMPARE(control<QListView>(*form, "List2")->model()->rowCount(), 0);
    }

    void missingGamesQueueAndDownloadInClickOrder() {
        Installation installation;
        // A stage size of its own tells this game apart from the one already on disk.
        swf::MovieWriter writer(320, 240, 12);
        writer.showFrame();
        const QByteArray game = writer.finish();
        const QByteArray small = QByteArray("FWS-small");
        const test::Gate firstAnswer;
        m_site.route("/jkde/12.swf", firstAnswer.hold(test::serveRanges(game)));
        m_site.route("/jkde/13.swf", test::serveRanges(small));
        m_site.route("/jkde/14.swf", test::serveRanges(small + small));
        auto form = openWindow(installation);
        form->show();
        auto* list = control<QListWidget>(*form, "List1");
        QAbstractItemModel* queue = control<QListView>(*form, "List2")->model();
        QStringList seenWhileDownloading;

        QTimer::singleShot(0, this, [&] {
            clickRow(*form, 3); // "*星空漫游"
            clickRow(*form, 1); // "*数字迷宫"
            clickRow(*form, 3); // already queued: nothing
            release(control<QWidget>(*form, "Label2"));
            seenWhileDownloading = rowTexts(list);
            for (int entry = 0; entry < queue->rowCount(); ++entry)
                seenWhileDownloading << queue->index(entry, 0).data().toString();
            firstAnswer.open();
        });
        clickRow(*form, 0); // "*彩球大战": returns when the whole queue is worked off

        QCOMPARE(seenWhileDownloading,
                 (QStringList{QStringLiteral("开始下载"), QStringLiteral("准备下载"),
                              QStringLiteral(" 方块跳跳"), QStringLiteral("准备下载"), QStringLiteral("0"),
                              QStringLiteral("3"), QStringLiteral("1")}));
        QCOMPARE(rowTexts(list), (QStringList{QStringLiteral(" 彩球大战"), QStringLiteral(" 数字迷宫"),
                                              QStringLiteral(" 方块跳跳"), QStringLiteral(" 星空漫游")}));
        QCOMPARE(queue->rowCount(), 0);
        QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("正在下载，请稍候！")});
        QCOMPARE(form->CurrentCategory(), QStringLiteral("remen"));

        QStringList order;
        for (const auto& request : m_site.requests()) {
            const QString path = QString::fromStdString(request.path);
            if (path.endsWith(QStringLiteral(".swf")) && !order.contains(path))
                order << path;
        }
        QCOMPARE(order, (QStringList{QStringLiteral("/jkde/12.swf"), QStringLiteral("/jkde/13.swf"),
                                     QStringLiteral("/jkde/14.swf")}));
        const QString games = installation.appPath + QStringLiteral("/res/velmora/");
        QCOMPARE(QFileInfo(games + QStringLiteral("12.swf")).size(), qint64(game.size()));
        QCOMPARE(QFileInfo(games + QStringLiteral("14.swf")).size(), qint64(2 * small.size()));

        // A description on display first, so that the next click has something to change.
        clickRow(*form, 2);
        QVERIFY(control<QLabel>(*form, "Label50")->isVisible());
        // Now on disk, the game plays on the next click; its Null description brings the
        // browser back at once.
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        clickRow(*form, 0);
        QVERIFY(!control<QLabel>(*form, "Label50")->isVisible());
        QVERIFY(control<QWidget>(*form, "WebBrowser1")->isVisible());
        QCOMPARE(queue->rowCount(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 30000);
        QCOMPARE(loaded.front().at(0).toInt(), 320);
        QCOMPARE(loaded.front().at(1).toInt(), 240);
        QCOMPARE(list->item(0)->text(), QStringLiteral(" 彩球大战"));
    }

    void aGameMissingOnTheSiteRefreshesTheRemoteFolder() {
        Installation installation;
        m_site.route("/gengxin/guihu.txt", test::serveRanges("012xy5678ab\r\n"));
        m_site.route("/abxy/13.swf", test::serveRanges("game"));
        auto form = openWindow(installation);
        form->show();
        auto* list = control<QListWidget>(*form, "List1");

        clickRow(*form, 3);
        QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("文件无法找到")});
        QCOMPARE(list->item(3)->text(), QStringLiteral("*星空漫游"));
        QCOMPARE(form->RemoteGameFolder(), QStringLiteral("abxy"));
        QVERIFY(!QFile::exists(installation.appPath + QStringLiteral("/res/velmora/13.swf")));

        clickRow(*form, 3);
        QCOMPARE(list->item(3)->text(), QStringLiteral(" 星空漫游"));
        QVERIFY(QFile::exists(installation.appPath + QStringLiteral("/res/velmora/13.swf")));
    }

    void tenthTickShowsARandomPageAndBringsTheNewCatalogue() {
        DemoSetup demo;
        serveFolder(demo.siteFolder);
        // A left-over update program from an earlier run.
        writeFile(demo.program.updateProgram(), "stale");
        auto form =
            openWindow(demo.program.appPath(), [](Form1::Environment& env) { env.startupTickMs = 20; });
        auto* list = control<QListWidget>(*form, "List1");
        auto* timer1 = control<QTimer>(*form, "Timer1");
        // What ticks 1 to 9 leave behind, seen right after each of them; the first tick comes
        // once the event loop runs.
        int ticks = 0;
        QStringList seenBeforeTheTenth;
        connect(timer1, &QTimer::timeout, this, [&] {
            if (++ticks < 10) {
                seenBeforeTheTenth << updateFilesAsked();
                for (const QString& page : pagesAsked()) {
                    if (page.startsWith(QStringLiteral("/show")) && page != QStringLiteral("/show1.htm"))
                        seenBeforeTheTenth << page;
                }
            }
        });
        const QStringList hotRows = rowTexts(list);
        QCOMPARE(hotRows, (QStringList{QStringLiteral("*星际巡逻"), QStringLiteral("*音乐回声")}));
        form->show();
        QTRY_VERIFY_WITH_TIMEOUT(!timer1->isActive(), 60000);
        QCOMPARE(ticks, 10);
        QVERIFY(seenBeforeTheTenth.isEmpty());

        // In order: the random page, the stale update program gone, the catalogue, the program.
        QCOMPARE(updateFilesAsked(),
                 (QStringList{QStringLiteral("/gengxin/gengxin.txt"), QStringLiteral("/gengxin/db1.txt"),
                              QStringLiteral("/gengxin/update.txt")}));
        QTRY_VERIFY_WITH_TIMEOUT(pagesAsked().contains(QStringLiteral("/show2.htm")) ||
                                     pagesAsked().contains(QStringLiteral("/show3.htm")) ||
                                     pagesAsked().contains(QStringLiteral("/show4.htm")),
                                 60000);
        QVERIFY(!QFile::exists(demo.program.updateProgram()));
        QCOMPARE(readFile(demo.program.catalogueVersionFile()), QByteArray("2\r\n"));
        QVERIFY(!QFile::exists(demo.program.programVersionCopy()));
        QVERIFY(m_messages.shown.empty());
        QCOMPARE(form->CurrentCategory(), QStringLiteral("remen"));

        // No eleventh tick; the list on screen stays, the next fill reads the new catalogue.
        QTest::qWait(200);
        QCOMPARE(ticks, 10);
        QCOMPARE(rowTexts(list), hotRows);
        release(control<QWidget>(*form, "Label2"));
        QCOMPARE(rowTexts(list),
                 (QStringList{QStringLiteral("*新的益智游戏"), QStringLiteral("*彩块消消乐")}));
    }

    void windowClosedBeforeTheTenthTickNeverAsksForUpdates() {
        Installation installation;
        m_site.route("/gengxin/gengxin.txt", test::serveRanges("2"));
        m_site.route("/gengxin/update.txt", test::serveRanges("2"));
        auto form = openWindow(installation, [](Form1::Environment& env) { env.startupTickMs = 30; });
        form->show();
        auto* timer1 = control<QTimer>(*form, "Timer1");
        QSignalSpy ticks(timer1, &QTimer::timeout);
        QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 3, 60000);
        QVERIFY(ticks.count() < 10);

        form->close();
        QCOMPARE(m_endRequests, 1);
        // Long enough for many more ticks than ten.
        QTest::qWait(1000);
        QVERIFY(!timer1->isActive());
        QVERIFY(ticks.count() < 10);
        QCOMPARE(updateFilesAsked(), QStringList());
    }

    void signedProgramUpdateEndsTheRun() {
        Installation installation;
        const SignedFile::KeyPair key = SignedFile::makeKeyPair();
        writeFile(installation.paths.catalogueVersionFile(), "1");
        writeFile(installation.paths.programVersionFile(), "1.0");
        m_site.route("/gengxin/gengxin.txt", test::serveRanges("1"));
        m_site.route("/gengxin/update.txt", test::serveRanges("1.1"));
        const QByteArray updateProgram = SignedFile::sign("#!/bin/sh\nexit 0\n", key.secretKey);
        m_site.route("/gengxin/update.exe", test::serveRanges(updateProgram));
        QStringList started;
        bool visibleWhenAnnounced = false;
        auto form = openWindow(installation, [&](Form1::Environment& env) {
            env.startupTickMs = 20;
            env.updateKey = key.publicKey;
            env.startProgram = [&started](const QString& program) {
                started << program;
                return true;
            };
        });
        form->show();
        m_messages.onShow = [&] {
            visibleWhenAnnounced = form->isVisible();
        };

        QTRY_COMPARE_WITH_TIMEOUT(m_endRequests, 1, 60000);
        QCOMPARE(m_messages.texts(), QStringList{QStringLiteral("软件有更新，需立刻升级")});
        QVERIFY(visibleWhenAnnounced);
        QCOMPARE(started, QStringList{installation.paths.updateProgram()});
        QCOMPARE(readFile(installation.paths.updateProgram()), updateProgram);
        QCOMPARE(readFile(installation.paths.programVersionFile()), QByteArray("1.1"));
        QVERIFY(!form->isVisible());
    }

    void fullScreenCoversTheScreenAndComesBack_data() {
        QTest::addColumn<bool>("maximised");
        QTest::newRow("from maximised") << true;
        QTest::newRow("from a normal window") << false;
    }

    void fullScreenCoversTheScreenAndComesBack() {
        QFETCH(bool, maximised);
        Installation installation;
        auto form = openWindow(installation);
        form->showAtStart();
        if (!maximised) {
            form->showNormal();
            form->setGeometry(100, 80, 900, 640);
        }
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* player = control<QWidget>(*form, "ShockwaveFlash1");
        auto* list = control<QWidget>(*form, "List1");
        auto* browser = control<QWidget>(*form, "WebBrowser1");
        auto* back = control<QPushButton>(*form, "Command6");
        const QRect screen = form->screen()->geometry();

        release(control<QWidget>(*form, "Label54"));
        QVERIFY(form->IsFullScreen());
        QVERIFY(form->windowState() & Qt::WindowFullScreen);
        QTRY_COMPARE(form->frameGeometry(), screen); // no frame, the whole screen
        QTRY_COMPARE(player->geometry(), QRect(QPoint(), screen.size()));
        QVERIFY(!list->isVisible());
        QVERIFY(!browser->isVisible());
        QVERIFY(back->isVisible());
        QCOMPARE(back->size(), QSize(47, 27));
        QVERIFY(near(QRect(back->pos(), back->size()),
                     QRect(scaledPlace({14400, 9960, 705, 405}, screen.size()).topLeft(), QSize(47, 27))));
        // The back button lies above the game and leaves the keyboard with it.
        QVERIFY(form->children().indexOf(back) > form->children().indexOf(player));
        QVERIFY(form->childAt(back->geometry().center()) == back ||
                back->isAncestorOf(form->childAt(back->geometry().center())));
        QCOMPARE(back->focusPolicy(), Qt::NoFocus);
        QVERIFY(player->isAncestorOf(form->focusWidget()) || form->focusWidget() == player);

        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(!form->IsFullScreen());
        QCOMPARE(form->windowState() & (Qt::WindowFullScreen | Qt::WindowMaximized), Qt::WindowMaximized);
        QVERIFY(list->isVisible());
        QVERIFY(browser->isVisible());
        QVERIFY(!back->isVisible());
        QTRY_VERIFY2(near(player->geometry(), scaledPlace({2535, 285, 12630, 9375}, form->size())),
                     qPrintable(QStringLiteral("player at %1,%2 %3x%4 in %5x%6")
                                    .arg(player->x())
                                    .arg(player->y())
                                    .arg(player->width())
                                    .arg(player->height())
                                    .arg(form->width())
                                    .arg(form->height())));
        QVERIFY(player->isAncestorOf(form->focusWidget()) || form->focusWidget() == player);

        // Esc leaves as well; it means nothing outside full-screen play.
        release(control<QWidget>(*form, "Label54"));
        QVERIFY(form->IsFullScreen());
        QTest::keyClick(form->focusWidget(), Qt::Key_Escape);
        QVERIFY(!form->IsFullScreen());
        QVERIFY(list->isVisible());
        QTest::keyClick(form->focusWidget(), Qt::Key_Escape);
        QVERIFY(!form->IsFullScreen());
        QVERIFY(m_messages.shown.empty());
    }

    void gameRunsOnAcrossFullScreenAndTheBrowserComesBack() {
        Installation installation;
        const Reports reports(m_site);
        writeFile(installation.paths.gameFile(11), test::heartbeatMovie(Reports::url(m_site)));
        auto form = openWindow(installation);
        form->showAtStart();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        auto* label = control<QLabel>(*form, "Label50");
        auto* browser = control<QWidget>(*form, "WebBrowser1");
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);

        clickRow(*form, 2); // " 方块跳跳", with a description
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 60000);
        QTRY_VERIFY_WITH_TIMEOUT(reports.last(QStringLiteral("beat")) >= 3, 60000);
        QVERIFY(label->isVisible());

        int before = reports.last(QStringLiteral("beat"));
        release(control<QWidget>(*form, "Label54"));
        QTRY_VERIFY_WITH_TIMEOUT(reports.last(QStringLiteral("beat")) >= before + 5, 60000);
        before = reports.last(QStringLiteral("beat"));
        QTest::mouseClick(control<QWidget>(*form, "Command6"), Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(reports.last(QStringLiteral("beat")) >= before + 5, 60000);

        // One movie, counting on without a restart: a restart would count from 1 again. The
        // reports may overtake each other on the way.
        QCOMPARE(loaded.count(), 1);
        const QStringList beats = reports.values(QStringLiteral("beat"));
        QVERIFY2(QSet<QString>(beats.begin(), beats.end()).size() == beats.size(),
                 qPrintable(beats.join(u',')));

        // The browser is back over the description, which still ends on time.
        QVERIFY(browser->isVisible());
        QVERIFY(form->children().indexOf(browser) > form->children().indexOf(label));
        auto* timer2 = control<QTimer>(*form, "Timer2");
        QVERIFY(timer2->isActive());
        timer2->setInterval(100);
        QTRY_VERIFY(!label->isVisible());
        QVERIFY(browser->isVisible());
    }

    void keysReachTheGameInFullScreen() {
        Installation installation;
        const Reports reports(m_site);
        writeFile(installation.paths.gameFile(11), test::keyReportMovie(Reports::url(m_site)));
        auto form = openWindow(installation);
        form->showAtStart();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        clickRow(*form, 2);
        QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), 1, 60000);
        test::RealInput hand;
        QVERIFY(hand.isAvailable());
        // The game has the keyboard before: a click into it, as a player starts a game. This is
        // about what full-screen play changes, so it needs keys that reach the game in the window.
        hand.click(player, player->rect().center());
        hand.pressKey(XK_c);
        QVERIFY2(QTest::qWaitFor([&] { return !reports.values(QStringLiteral("key")).isEmpty(); }, 30000),
                 "keys from the X server do not reach the game in the window");
        QCOMPARE(reports.values(QStringLiteral("key")), QStringList{"67"});

        // The click on the tab, then the keys at once.
        auto* tab = control<QWidget>(*form, "Label54");
        hand.click(tab, tab->rect().center());
        hand.pressKey(XK_a);
        hand.pressKey(XK_space);
        hand.pressKey(XK_Return);
        QTRY_VERIFY_WITH_TIMEOUT(reports.values(QStringLiteral("key")).size() >= 4, 30000);
        QStringList keys = reports.values(QStringLiteral("key"));
        keys.sort(); // the reports may overtake each other on the way
        QCOMPARE(keys, (QStringList{"13", "32", "65", "67"}));
        // Space and Enter are the game's: they do not press the back button.
        QVERIFY(form->IsFullScreen());

        hand.pressKey(XK_Escape);
        QTRY_VERIFY(!form->IsFullScreen());
        QCOMPARE(reports.values(QStringLiteral("key")).size(), 4); // Esc is not the game's
        // Back in the window, the keyboard is still the game's.
        hand.pressKey(XK_b);
        QTRY_COMPARE_WITH_TIMEOUT(reports.values(QStringLiteral("key")).value(4), QStringLiteral("66"),
                                  30000);
    }

    void shortcutTabRefusesInTemporaryFolders() {
        // A folder inside the temporary folder, as a Linux archive manager unpacks to.
        Installation installation(QStringLiteral(".fr-x1Y2z3/box"));
        Form1 form({.appPath = installation.appPath,
                    .siteBaseUrl = m_site.baseUrl(),
                    .messages = &m_messages,
                    .playerFolder = QStringLiteral(VELMORA_PLAYER_DIR),
                    .endProgram = [] {},
                    .temporaryFolder = installation.root.path()});
        form.load();
        const QString extractFirst = QStringLiteral("请先解压缩再使用，不要直接运行压缩包！");
        QCOMPARE(m_messages.texts(), QStringList{extractFirst});
        auto* tab = control<TabLabel>(form, "Label52");
        release(tab);
        QVERIFY(!tab->hasBorder());
        QCOMPARE(m_messages.texts(), (QStringList{extractFirst, extractFirst}));
    }

    // The way a user plays: a fresh window, a click on the game's row, and a key held at once,
    // or a click into the game first. The key and the clicks go through the X server.
    void keysAndClicksReachTheFirstGame_data() {
        QTest::addColumn<bool>("clickIntoGameFirst");
        QTest::addColumn<int>("gamesBefore");
        QTest::newRow("key at once") << false << 0;
        QTest::newRow("click into the game first") << true << 0;
        // The player has used up its page: the game comes on a new one.
        QTest::newRow("key at once, on a new player page") << false << FlashPlayer::MoviesPerPage;
    }

    void keysAndClicksReachTheFirstGame() {
        QFETCH(bool, clickIntoGameFirst);
        QFETCH(int, gamesBefore);
        test::RealInput input;
        QVERIFY2(input.isAvailable(), "no X display with XTEST");
        const QColor blue(40, 110, 240);
        Installation installation;
        writeFile(installation.paths.gameFile(11), keyAndClickMovie());
        auto form = openWindow(installation);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        auto* list = control<QListWidget>(*form, "List1");
        auto* player = control<FlashPlayer>(*form, "ShockwaveFlash1");
        const double middle = player->width() / 2.0;

        // Games before, by turns with another one: a click on the row already chosen does nothing.
        writeFile(installation.paths.gameFile(12), keyAndClickMovie());
        const int other = list->row(list->findItems(QStringLiteral("彩球大战"), Qt::MatchContains).value(0));
        QSignalSpy loaded(player, &FlashPlayer::movieLoaded);
        for (int i = 1; i <= gamesBefore; ++i) {
            input.clickRow(list, (gamesBefore - i) % 2 ? 2 : other);
            QTRY_COMPARE_WITH_TIMEOUT(loaded.count(), i, kGameTimeout);
        }
        input.clickRow(list, 2); // " 方块跳跳"
        double start = middle;
        if (clickIntoGameFirst) {
            QVERIFY(test::waitForColour(player, blue, [](const test::ColourSpot& s) { return s.count > 100; },
                                        kGameTimeout)
                        .count > 100);
            input.click(player, QPoint(player->width() / 4, player->height() / 4));
            // The square jumps left: the click reached the game.
            start = test::waitForColour(player, blue, [&](const test::ColourSpot& s) { return s.x < middle - 50; },
                                        kGameTimeout)
                        .x;
            QVERIFY2(start < middle - 50, "the game never saw the click");
        }
        // Held until the game has moved: the game looks at the key once a frame.
        input.holdKey(XK_Right);
        const test::ColourSpot square = test::waitForColour(
            player, blue, [&](const test::ColourSpot& s) { return s.x > start + 40; }, kGameTimeout);
        input.releaseKey(XK_Right);
        QVERIFY2(square.x > start + 40,
                 qPrintable(QStringLiteral("the game never saw the key: square %1 pixels at x %2, from %3")
                                .arg(square.count)
                                .arg(square.x)
                                .arg(start)));
        QCOMPARE(list->currentRow(), 2);
    }

    void messageBoxesSpeakChinese() {
        // The real boxes, with the translations that the program loads at start.
        QtMessageSink sink;
        QStringList buttons;
        answerNextBox(buttons, QMessageBox::Ok);
        QCOMPARE(sink.show(QStringLiteral("文件无法找到"), QStringLiteral("提示"),
                           MessageSink::Icon::Information, MessageSink::Buttons::Ok),
                 MessageSink::Answer::Ok);
        QCOMPARE(buttons, QStringList{QStringLiteral("确定")});

        buttons.clear();
        answerNextBox(buttons, QMessageBox::Yes);
        QCOMPARE(sink.show(QStringLiteral("确实要恢复默认顺序吗？"), QString(), MessageSink::Icon::Critical,
                           MessageSink::Buttons::YesNo),
                 MessageSink::Answer::Yes);
        QCOMPARE(buttons, (QStringList{QStringLiteral("否(&N)"), QStringLiteral("是(&Y)")}));
    }

    void closingEndsTheProgram() {
        Installation installation;
        auto form = openWindow(installation);
        form->show();
        form->close();
        QCOMPARE(m_endRequests, 1);
    }
};

int main(int argc, char** argv) {
    test::useTemporaryUserData();
    prepareWebEngine();
    QApplication app(argc, argv);
    installChineseTranslations(app);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
