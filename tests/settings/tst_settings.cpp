#include "common/InstallPaths.h"
#include "settings/Dialog.h"
#include "support/RecordingMessageSink.h"
#include "ui/Twips.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

using namespace velmora;
using velmora::test::RecordingMessageSink;

namespace {

const QString DeleteQuestion = QStringLiteral("确实要删除这个节目吗？");
// 方块跳跳 and 彩球大战 in GBK.
const QByteArray Game1("\xb7\xbd\xbf\xe9\xcc\xf8\xcc\xf8");
const QByteArray Game2("\xb2\xca\xc7\xf2\xb4\xf3\xd5\xbd");

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QStringList rows(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The file size limit of the process, lowered for a test and restored after it.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        // Writes past the limit fail with EFBIG instead of ending the process.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = m_old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

} // namespace

class SettingsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<InstallPaths> m_paths;
    RecordingMessageSink m_messages;
    std::unique_ptr<Dialog> m_dialog;

    QString order(int n) const { return m_paths->orderFile(QStringLiteral("b0%1.inb").arg(n)); }
    template <typename T = QWidget> T* control(const char* name) const {
        auto* w = m_dialog->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QListWidget* list() const { return control<QListWidget>("List1"); }
    void click(const char* button) const { QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton); }
    void select(int row) const {
        QTest::mouseClick(list()->viewport(), Qt::LeftButton, {},
                          list()->visualItemRect(list()->item(row)).center());
    }
    // The hot list with rows A, B, C.
    void openHotABC() {
        QVERIFY(writeFile(order(1), "A\r\nB\r\nC\r\n"));
        click("Command1");
    }

private Q_SLOTS:
    void init() {
        m_folder = std::make_unique<QTemporaryDir>();
        m_paths = std::make_unique<InstallPaths>(m_folder->path());
        QDir().mkpath(m_folder->filePath(QStringLiteral("cons")));
        m_messages = RecordingMessageSink();
        m_dialog = std::make_unique<Dialog>(*m_paths, m_messages);
        m_dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    }

    void cleanup() { m_dialog.reset(); }

    void windowAsDesigned() {
        QCOMPARE(m_dialog->windowTitle(), QStringLiteral("设置"));
        QCOMPARE(m_dialog->size(), QSize(378, 627));
        QCOMPARE(m_dialog->minimumSize(), m_dialog->maximumSize());
        QVERIFY(!(m_dialog->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(m_dialog->palette().color(QPalette::Window), QColor(Qt::black));
        QCOMPARE(m_dialog->CurrentOrderFile(), QStringLiteral("none"));

        struct Expected {
            const char* name;
            QString caption;
            QRect twips;
        };
        const Expected expected[] = {
            {"Frame3", QStringLiteral("各分类列表顺序调整"), {120, 120, 5415, 8655}},
            {"Label2",
             QStringLiteral("把您喜欢的游戏向上移，不太喜欢的向下移！讨厌的删除"),
             {600, 360, 4695, 255}},
            {"Label3", QStringLiteral("先单击想移动的游戏，然后点击上移、下移、删除"), {600, 720, 4335, 255}},
            {"List1", QString(), {2040, 1080, 3015, 7440}},
            {"Command1", QStringLiteral("热门"), {240, 1320, 1215, 255}},
            {"Command2", QStringLiteral("益智"), {240, 1560, 1215, 255}},
            {"Command3", QStringLiteral("动作"), {240, 1800, 1215, 255}},
            {"Command4", QStringLiteral("体育"), {240, 2040, 1215, 255}},
            {"Command18", QStringLiteral("向上移动"), {240, 5880, 1215, 375}},
            {"Command19", QStringLiteral("向下移动"), {240, 6480, 1215, 375}},
            {"Command20", QStringLiteral("删除选中"), {240, 7080, 1215, 375}},
            {"OKButton", QStringLiteral("保存修改"), {1680, 8880, 900, 375}},
            {"CancelButton", QStringLiteral("取消"), {3360, 8880, 900, 375}},
        };
        auto* frame = control<QGroupBox>("Frame3");
        for (const Expected& e : expected) {
            QWidget* w = control(e.name);
            QCOMPARE(w->geometry(),
                     rectFromTwips(e.twips.x(), e.twips.y(), e.twips.width(), e.twips.height()));
            const bool outside = QByteArray(e.name).endsWith("Button") || w == frame;
            QVERIFY2(w->parentWidget() == (outside ? static_cast<QWidget*>(m_dialog.get()) : frame), e.name);
            if (auto* button = qobject_cast<QPushButton*>(w)) {
                QCOMPARE(button->text(), e.caption);
                QCOMPARE(button->palette().color(QPalette::Button), QColor(Qt::white));
            } else if (auto* label = qobject_cast<QLabel*>(w)) {
                QCOMPARE(label->text(), e.caption);
                QCOMPARE(label->palette().color(QPalette::WindowText), QColor(224, 224, 224));
            }
        }
        QCOMPARE(frame->title(), expected[0].caption);
        QCOMPARE(frame->palette().color(QPalette::WindowText), QColor(224, 224, 224));
        QCOMPARE(list()->palette().color(QPalette::Base), QColor(64, 64, 64));
        QCOMPARE(list()->palette().color(QPalette::Text), QColor(255, 128, 0));

        // Tab order: save, cancel, the list, the categories, then the edit buttons.
        QStringList chain;
        QWidget* w = control("OKButton");
        QCOMPARE(m_dialog->focusWidget(), w);
        for (int i = 0; i < 10; ++i, w = w->nextInFocusChain()) {
            while (w->focusPolicy() == Qt::NoFocus)
                w = w->nextInFocusChain();
            chain << w->objectName();
        }
        QCOMPARE(chain, (QStringList{"OKButton", "CancelButton", "List1", "Command1", "Command2", "Command3",
                                     "Command4", "Command18", "Command19", "Command20"}));
    }

    void fileShownAndSavedWithEmptyLinesDropped() {
        QVERIFY(writeFile(order(1), "A\r\n\r\nB\r\n"));
        click("Command1");
        QCOMPARE(rows(list()), (QStringList{"A", "B"}));
        QCOMPARE(m_dialog->CurrentOrderFile(), QStringLiteral("b01.inb"));
        click("OKButton");
        QCOMPARE(readFile(order(1)), QByteArray("A\r\nB\r\n"));
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(m_dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_messages.shown.empty());
    }

    void chineseRowsRoundTripInGbk() {
        // A row that is no valid GBK comes back byte for byte as well.
        const QByteArray broken("\xff\xfe x");
        QVERIFY(writeFile(order(3), Game1 + "\r\n" + Game2 + "\r\n" + broken + "\r\n"));
        click("Command3");
        QCOMPARE(list()->item(0)->text(), QStringLiteral("方块跳跳"));
        QCOMPARE(list()->item(1)->text(), QStringLiteral("彩球大战"));
        select(1);
        click("Command18");
        click("OKButton");
        QCOMPARE(readFile(order(3)), Game2 + "\r\n" + Game1 + "\r\n" + broken + "\r\n");
    }

    void moveUpAndDownAtTheEnds() {
        openHotABC();
        click("Command18"); // nothing selected
        click("Command19");
        QCOMPARE(rows(list()), (QStringList{"A", "B", "C"}));

        select(1);
        click("Command18");
        QCOMPARE(rows(list()), (QStringList{"B", "A", "C"}));
        QCOMPARE(list()->currentRow(), 0);
        QVERIFY(list()->currentItem()->isSelected());
        click("Command18"); // already first
        QCOMPARE(rows(list()), (QStringList{"B", "A", "C"}));

        select(2);
        click("Command19"); // already last
        QCOMPARE(rows(list()), (QStringList{"B", "A", "C"}));
        select(0);
        click("Command19");
        click("Command19"); // the same game moves on
        QCOMPARE(rows(list()), (QStringList{"A", "C", "B"}));
        QCOMPARE(list()->currentRow(), 2);
        QVERIFY(m_messages.shown.empty());
    }

    void deleteAsksFirst() {
        openHotABC();
        click("Command20"); // nothing selected: no question
        QVERIFY(m_messages.shown.empty());

        select(1);
        m_messages.nextAnswer = MessageSink::Answer::No;
        click("Command20");
        QCOMPARE(rows(list()), (QStringList{"A", "B", "C"}));
        QCOMPARE(m_messages.texts(), QStringList{DeleteQuestion});
        const auto& asked = m_messages.shown.front();
        QCOMPARE(asked.icon, MessageSink::Icon::Critical);
        QCOMPARE(asked.buttons, MessageSink::Buttons::YesNo);
        QVERIFY(asked.caption.isEmpty());

        m_messages.nextAnswer = MessageSink::Answer::Yes;
        click("Command20");
        QCOMPARE(rows(list()), (QStringList{"A", "C"}));
        QVERIFY(list()->selectedItems().isEmpty());
        // With nothing selected, the next click neither asks nor deletes.
        click("Command20");
        QCOMPARE(m_messages.shown.size(), size_t(2));
        QCOMPARE(rows(list()), (QStringList{"A", "C"}));
    }

    void switchingCategoriesDropsEdits() {
        openHotABC();
        QVERIFY(writeFile(order(2), "X\r\nY\r\n"));
        select(2);
        click("Command18");
        click("Command2");
        QCOMPARE(rows(list()), (QStringList{"X", "Y"}));
        select(1);
        click("Command18");
        click("OKButton");
        QCOMPARE(readFile(order(1)), QByteArray("A\r\nB\r\nC\r\n"));
        QCOMPARE(readFile(order(2)), QByteArray("Y\r\nX\r\n"));

        // The current category's button reloads too.
        init();
        openHotABC();
        select(0);
        click("Command19");
        click("Command1");
        QCOMPARE(rows(list()), (QStringList{"A", "B", "C"}));
    }

    void nothingWrittenWithoutACategoryOrOnCancel() {
        click("OKButton");
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(QDir(m_folder->filePath(QStringLiteral("cons"))).entryList(QDir::Files), QStringList());

        init();
        openHotABC();
        select(0);
        click("Command19");
        click("CancelButton");
        QVERIFY(!m_dialog->isVisible());
        QCOMPARE(readFile(order(1)), QByteArray("A\r\nB\r\nC\r\n"));
    }

    void missingFileIsAnEmptyListThatSaveCreates() {
        click("Command4");
        QCOMPARE(list()->count(), 0);
        QCOMPARE(m_dialog->CurrentOrderFile(), QStringLiteral("b04.inb"));
        QVERIFY(m_messages.shown.empty());
        click("OKButton");
        QCOMPARE(readFile(order(4)), QByteArray());
    }

    void unreadableFileKeepsTheListAndItsCategory() {
        openHotABC();
        select(0);
        click("Command19");
        QVERIFY(QDir().mkpath(order(2))); // a folder where the file should be
        click("Command2");
        QCOMPARE(m_messages.shown.size(), size_t(1));
        QVERIFY(m_messages.texts().front().startsWith(QStringLiteral("无法读取列表文件")));
        QCOMPARE(rows(list()), (QStringList{"B", "A", "C"}));
        QCOMPARE(m_dialog->CurrentOrderFile(), QStringLiteral("b01.inb"));
        click("OKButton");
        QCOMPARE(readFile(order(1)), QByteArray("B\r\nA\r\nC\r\n"));
    }

    void failedSaveKeepsTheOldFileAndTheWindow() {
        // Long rows, so that the write fails halfway through the list.
        const QByteArray row(4000, 'g');
        QVERIFY(writeFile(order(1), row + "1\r\n" + row + "2\r\n" + row + "3\r\n"));
        click("Command1");
        const QByteArray before = readFile(order(1));
        select(2);
        click("Command18");
        {
            const FileSizeLimit limit(6000);
            click("OKButton");
        }
        QCOMPARE(readFile(order(1)), before);
        QVERIFY(m_dialog->isVisible());
        QCOMPARE(m_messages.shown.size(), size_t(1));
        QVERIFY(m_messages.texts().front().startsWith(QStringLiteral("无法保存列表文件")));
        QCOMPARE(list()->item(1)->text(), QString::fromLatin1(row + "3"));
        QVERIFY(!QFile::exists(m_paths->orderTempFile(QStringLiteral("b01.inb"))));

        // Once the disk takes it, the same edits save.
        click("OKButton");
        QCOMPARE(readFile(order(1)), row + "1\r\n" + row + "3\r\n" + row + "2\r\n");
        QVERIFY(!m_dialog->isVisible());
    }
};

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SettingsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
