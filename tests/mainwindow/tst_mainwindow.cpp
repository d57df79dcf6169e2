#include "app/Form1.h"
#include "common/InstallPaths.h"
#include "platform/QtMessageSink.h"
#include "platform/QtTranslations.h"
#include "platform/web/WebEngineSetup.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedServer.h"
#include "ui/TabLabel.h"
#include "ui/Twips.h"

#include "platform/web/FlashPlayer.h"
#include "tools/catalogue/CatalogueWriter.h"

#include "DemoMovies.h"
#include "MovieWriter.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace velmora;
using velmora::test::RecordingMessageSink;
using velmora::test::ScriptedServer;

namespace {

const QString Hint = QStringLiteral("您可以把喜欢的flash小游戏放在\"Velmora游戏盒") + QDir::separator() +
                     QStringLiteral("我的收藏\"文件夹下");

void writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

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
        writeFile(paths.gameFile(11), swf::demoMovie(swf::demoMovieKinds().front()));
        writeFile(paths.gameFile(14), QByteArray());
    }

    QTemporaryDir root;
    QString appPath;
    InstallPaths paths;
};

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
    std::unique_ptr<Form1> openWindow(const Installation& installation) {
        Form1::Environment env{installation.appPath, m_site.baseUrl(), &m_messages,
                               QStringLiteral(VELMORA_PLAYER_DIR), [this] {
                                   ++m_endRequests;
                               }};
        auto form = std::make_unique<Form1>(env);
        form->load();
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
    prepareWebEngine();
    QApplication app(argc, argv);
    installChineseTranslations(app);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_mainwindow.moc"
