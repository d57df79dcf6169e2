#include "common/InstallPaths.h"
#include "common/RunLocation.h"
#include "shortcut/DesktopShortcut.h"
#include "support/RecordingMessageSink.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace velmora;
using velmora::test::RecordingMessageSink;

namespace {

const QString Created = QStringLiteral("已经成功在桌面上创建了快捷方式！");
const QString ExtractFirst = QStringLiteral("请先解压缩再使用，不要直接运行压缩包！");

// The keys of a desktop entry, string escapes undone, as a launcher reads them.
QMap<QString, QString> readEntry(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QMap<QString, QString> keys;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    if (lines.value(0) != QStringLiteral("[Desktop Entry]"))
        return {};
    for (const QString& line : lines.mid(1)) {
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        QString value;
        const QString raw = line.mid(eq + 1);
        for (qsizetype i = 0; i < raw.size(); ++i) {
            if (raw[i] != u'\\' || i + 1 == raw.size()) {
                value += raw[i];
                continue;
            }
            const QChar next = raw[++i];
            value += next == u's'   ? QChar(u' ')
                     : next == u'n' ? QChar(u'\n')
                     : next == u't' ? QChar(u'\t')
                     : next == u'r' ? QChar(u'\r')
                                    : next;
        }
        keys.insert(line.left(eq), value);
    }
    return keys;
}

// An Exec value split into its arguments by the quoting rules of desktop entries.
QStringList execArguments(const QString& exec) {
    QStringList args;
    QString current;
    bool inQuotes = false;
    bool inArgument = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (inQuotes && c == u'\\' && i + 1 < exec.size() && QStringLiteral("\"`$\\").contains(exec[i + 1])) {
            current += exec[++i];
        } else if (c == u'"') {
            inQuotes = !inQuotes;
            inArgument = true;
        } else if (!inQuotes && c == u' ') {
            if (inArgument)
                args << current;
            current.clear();
            inArgument = false;
        } else if (c == u'%') {
            if (i + 1 == exec.size() || exec[i + 1] != u'%')
                return {QStringLiteral("<field code in Exec>")};
            current += exec[++i];
            inArgument = true;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inQuotes)
        return {QStringLiteral("<open quote in Exec>")};
    if (inArgument)
        args << current;
    return args;
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

} // namespace

class ShortcutTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QTemporaryDir m_programs;
    RecordingMessageSink m_messages;

    QString desktop() const { return m_home.filePath(QStringLiteral("桌面")); }
    QString launcher() const { return desktop() + QStringLiteral("/Velmora游戏盒.desktop"); }

    // A program folder whose program only notes that it ran, and where.
    InstallPaths install(const QString& folderName) {
        const InstallPaths paths(m_programs.filePath(folderName));
        const QByteArray script =
            "#!/bin/sh\nprintf '%s' \"$0\" > \"" + QFile::encodeName(ranMarker()) + "\"\n";
        if (!writeFile(paths.programFile(), script))
            qFatal("cannot write the program");
        QFile::setPermissions(paths.programFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        return paths;
    }
    // Stands for the system's temporary folder.
    QString temporaryFolder() const { return m_home.filePath(QStringLiteral("tmp")); }
    QString ranMarker() const { return m_home.filePath(QStringLiteral("ran")); }

    void click(const InstallPaths& paths) {
        DesktopShortcut(paths, temporaryFolder(), m_messages).createOnDesktop();
    }

private Q_SLOTS:
    void initTestCase() {
        // A Chinese desktop whose folder does not exist yet.
        qputenv("HOME", QFile::encodeName(m_home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_home.filePath(QStringLiteral(".config"))));
        QVERIFY(writeFile(m_home.filePath(QStringLiteral(".config/user-dirs.dirs")),
                          "XDG_DESKTOP_DIR=\"$HOME/桌面\"\nXDG_DOWNLOAD_DIR=\"$HOME/下载\"\n"));
        QVERIFY(QDir().mkpath(temporaryFolder()));
    }

    void init() {
        m_messages = RecordingMessageSink();
        QDir(desktop()).removeRecursively();
        QFile::remove(ranMarker());
    }

    void launcherStartsTheProgram_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("plain") << QStringLiteral("box");
        QTest::newRow("space and Chinese") << QStringLiteral("我的 游戏盒");
        QTest::newRow("quotes") << QStringLiteral("Tom's \"best\" box");
        QTest::newRow("shell characters") << QStringLiteral("$HOME `x` a\\b;c&d");
        QTest::newRow("percent") << QStringLiteral("100% %f box");
        QTest::newRow("field code look-alike at the end") << QStringLiteral("box%");
    }

    void launcherStartsTheProgram() {
        QFETCH(QString, folder);
        const InstallPaths paths = install(folder);
        click(paths);

        QCOMPARE(m_messages.texts(), QStringList{Created});
        QCOMPARE(m_messages.shown.front().icon, MessageSink::Icon::None);
        QVERIFY(m_messages.shown.front().caption.isEmpty());
        const QMap<QString, QString> entry = readEntry(launcher());
        QCOMPARE(entry.value(QStringLiteral("Type")), QStringLiteral("Application"));
        QCOMPARE(entry.value(QStringLiteral("Name")), QStringLiteral("Velmora游戏盒"));
        QCOMPARE(entry.value(QStringLiteral("Terminal")), QStringLiteral("false"));
        QCOMPARE(entry.value(QStringLiteral("Icon")), paths.programIcon());
        QCOMPARE(execArguments(entry.value(QStringLiteral("Exec"))), QStringList{paths.programFile()});
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(launcher()).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0755));

        // A desktop's own launcher reads the file as well. GLib looks the program up before it
        // undoes the %% escape, so it cannot start a program with % in its path at all.
        const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
        if (gio.isEmpty() || folder.contains(u'%'))
            return;
        QCOMPARE(QProcess::execute(gio, {QStringLiteral("launch"), launcher()}), 0);
        QTRY_COMPARE(QFile::decodeName(readFile(ranMarker())), paths.programFile());
    }

    void theTargetIsTheProgramWhateverRuns() {
        // Named after the product, not after the test program that runs the code.
        const InstallPaths paths = install(QStringLiteral("box"));
        click(paths);
        QCOMPARE(execArguments(readEntry(launcher()).value(QStringLiteral("Exec"))),
                 QStringList{m_programs.filePath(QStringLiteral("box/Velmora游戏盒"))});
    }

    void twoClicksWriteTheSameFile() {
        const InstallPaths paths = install(QStringLiteral("box"));
        click(paths);
        const QByteArray content = readFile(launcher());
        click(paths);
        QCOMPARE(m_messages.texts(), (QStringList{Created, Created}));
        QCOMPARE(readFile(launcher()), content);
        // Nothing else is left on the desktop, no temporary file either.
        QCOMPARE(QDir(desktop()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("Velmora游戏盒.desktop")});
    }

    void refusedWhereArchivesUnpack_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("refused");
        QTest::newRow("Temp") << QStringLiteral("Temp/Rar$EXa0.123/box") << true;
        QTest::newRow("Temp inside a longer name") << QStringLiteral("Templates/box") << true;
        QTest::newRow("temp in lower case") << QStringLiteral("temp/box") << false;
        QTest::newRow("inside the temporary folder") << QStringLiteral("@temp/.fr-Ab12/box") << true;
        QTest::newRow("the temporary folder itself") << QStringLiteral("@temp") << true;
        QTest::newRow("a sibling that starts with its name") << QStringLiteral("@temp-games/box") << false;
    }

    void refusedWhereArchivesUnpack() {
        QFETCH(QString, folder);
        QFETCH(bool, refused);
        // "@temp" is the temporary folder; its sibling sits next to it.
        folder.replace(QStringLiteral("@temp"), temporaryFolder());
        const QString path = QDir::isAbsolutePath(folder) ? folder : m_programs.filePath(folder);
        QDir().mkpath(path);
        QCOMPARE(runsFromTemporaryFolder(path, temporaryFolder()), refused);

        click(InstallPaths(path));
        QCOMPARE(m_messages.texts(), QStringList{refused ? ExtractFirst : Created});
        QCOMPARE(QFile::exists(launcher()), !refused);
        if (refused)
            QVERIFY(!QFileInfo::exists(desktop())); // not even the desktop folder is made
    }

    void temporaryFolderComparedAfterLinks() {
        // The same folder reached through a link is still the temporary folder.
        const QString link = m_programs.filePath(QStringLiteral("tmp-link"));
        QVERIFY(QFile::link(temporaryFolder(), link));
        QDir().mkpath(temporaryFolder() + QStringLiteral("/x/box"));
        QVERIFY(runsFromTemporaryFolder(link + QStringLiteral("/x/box"), temporaryFolder()));
        QVERIFY(!runsFromTemporaryFolder(m_programs.filePath(QStringLiteral("box")), QString()));
    }

    void failuresGetAMessageAndLeaveNoHalfFile() {
        const InstallPaths paths = install(QStringLiteral("box"));
        // The desktop's place is taken by a file: no folder can be made there.
        QVERIFY(writeFile(desktop(), "not a folder"));
        click(paths);
        QCOMPARE(m_messages.shown.size(), size_t(1));
        QVERIFY(m_messages.texts().front().startsWith(QStringLiteral("无法创建桌面文件夹")));
        QFile::remove(desktop());

        // An old launcher stays intact when the new one cannot be written.
        QVERIFY(writeFile(launcher(), "old launcher"));
        QDir().mkpath(desktop() + QStringLiteral("/.Velmora游戏盒.desktop.tmp/blocked"));
        click(paths);
        QCOMPARE(m_messages.shown.size(), size_t(2));
        QVERIFY(m_messages.texts().back().startsWith(QStringLiteral("无法写入快捷方式")));
        QCOMPARE(readFile(launcher()), QByteArray("old launcher"));
    }
};

QTEST_GUILESS_MAIN(ShortcutTest)

#include "tst_shortcut.moc"
