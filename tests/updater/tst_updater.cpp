#include "support/TestFiles.h"

#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "updater/PackageArchive.h"
#include "updater/ProgramUpdater.h"
#include "updater/RunLock.h"
#include "updater/UpdatePackage.h"
#include "updater/UpdateRecovery.h"

#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <archive.h>
#include <archive_entry.h>

using namespace velmora;
using velmora::test::readFile;
using velmora::test::writeFile;

namespace {

using Files = QMap<QString, QByteArray>;

const QString Program = QString::fromUtf8(ProductName);

// Version A as installed, with what the user keeps beside it, and the program files of
// version B. B leaves one of A's files out and keeps one unchanged.
// Bytes that do not compress, so that half of a packed archive ends inside this file.
QByteArray noise(int size) {
    QRandomGenerator generator(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& byte : bytes)
        byte = char(generator.generate());
    return bytes;
}

const Files ProgramA{{Program, "box A"},
                     {QStringLiteral("player/player.js"), "player"},
                     {QStringLiteral("player/ruffle/ruffle.js"), "ruffle A"},
                     {QStringLiteral("res/showoff.htm"), "page A"},
                     {QStringLiteral("lib/libgone.so"), "only in A"}};
const Files ProgramB{{Program, "#!/bin/sh\necho started > \"$VELMORA_TEST_MARKER\"\n"},
                     {QStringLiteral("player/player.js"), "player"},
                     {QStringLiteral("player/ruffle/ruffle.js"), "ruffle B"},
                     {QStringLiteral("player/ruffle/core.wasm"), noise(200000)},
                     {QStringLiteral("res/showoff.htm"), "page B"},
                     {QStringLiteral("Velmora游戏盒设置"), "settings B"}};
const Files UserData{{QStringLiteral("cons/db1.mdb"), QByteArray(5000, 'd')},
                     {QStringLiteral("cons/update.inb"), "1.0\r\n"},
                     {QStringLiteral("res/velmora/7.swf"), "game"},
                     {QStringLiteral("我的收藏/我的.swf"), "favourite"},
                     {QStringLiteral("notes.txt"), "the user's own file"}};

Files merged(Files base, const Files& over) {
    for (auto file = over.begin(); file != over.end(); ++file)
        base.insert(file.key(), file.value());
    return base;
}

void writeFiles(const QString& folder, const Files& files) {
    for (auto file = files.begin(); file != files.end(); ++file) {
        writeFile(folder + u'/' + file.key(), file.value());
        if (file.key() == Program)
            QFile::setPermissions(folder + u'/' + file.key(),
                                  QFile::permissions(folder + u'/' + file.key()) | QFile::ExeOwner);
    }
}

// Every file of the folder but the update log and the lock, the program file marked when it
// can run: what a player would find.
Files snapshot(const QString& folder) {
    Files files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (relative == QStringLiteral("cons/update.log") || relative == QStringLiteral("cons/run.lock"))
            continue;
        files.insert(relative, readFile(path) + (QFileInfo(path).isExecutable() ? "+x" : ""));
    }
    return files;
}

Files withExecutableProgram(Files files) {
    files[Program] += "+x";
    return files;
}

// One archive entry as an attacker might write it.
struct Entry {
    QByteArray name;
    mode_t type = AE_IFREG;
    QByteArray content;
    QByteArray link;
    bool hardLink = false;
};

QByteArray tarGz(const QList<Entry>& entries) {
    QByteArray out;
    archive* writer = archive_write_new();
    archive_write_add_filter_gzip(writer);
    archive_write_set_format_pax_restricted(writer);
    archive_write_open(
        writer, &out, nullptr,
        [](archive*, void* target, const void* buffer, size_t length) -> la_ssize_t {
            static_cast<QByteArray*>(target)->append(static_cast<const char*>(buffer), qsizetype(length));
            return la_ssize_t(length);
        },
        nullptr);
    for (const Entry& e : entries) {
        archive_entry* entry = archive_entry_new();
        archive_entry_copy_pathname(entry, e.name.constData());
        archive_entry_set_filetype(entry, e.type);
        archive_entry_set_perm(entry, 0755);
        if (e.hardLink)
            archive_entry_copy_hardlink(entry, e.link.constData());
        else if (!e.link.isEmpty())
            archive_entry_copy_symlink(entry, e.link.constData());
        archive_entry_set_size(entry, e.type == AE_IFREG && !e.hardLink ? e.content.size() : 0);
        archive_write_header(writer, entry);
        archive_write_data(writer, e.content.constData(), size_t(e.content.size()));
        archive_entry_free(entry);
    }
    archive_write_close(writer);
    archive_write_free(writer);
    return out;
}

} // namespace

class TestUpdater : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_work;
    SignedFile::KeyPair m_key = SignedFile::makeKeyPair();
    QString m_folderB;
    QString m_package;

    // A fresh program folder of version A with the user's data, as its path.
    QString installA(const QString& name) {
        const QString folder = m_work.filePath(name);
        static_cast<void>(QDir(folder).removeRecursively());
        writeFiles(folder, merged(ProgramA, UserData));
        return folder;
    }

    QString signedPackage(const QByteArray& archive, const QByteArray& secretKey) {
        const QString path =
            m_work.filePath(QStringLiteral("package-%1.exe").arg(QRandomGenerator::global()->generate()));
        writeFile(path, SignedFile::sign(UpdatePackage::assemble("updater", archive), secretKey));
        return path;
    }

    UpdateResult update(const QString& package, const QString& folder, int* started = nullptr,
                        std::chrono::milliseconds boxWait = std::chrono::seconds(5)) {
        return runProgramUpdate({.package = package,
                                 .paths = InstallPaths(folder),
                                 .publicKey = m_key.publicKey,
                                 .boxWait = boxWait,
                                 .startProgram =
                                     [started](const QString&) {
                                         if (started)
                                             ++*started;
                                         return true;
                                     },
                                 .afterStep = {}});
    }

    static QByteArray runUpdateOne(const QStringList& arguments, QProcess::ExitStatus* status) {
        QProcess process;
        process.start(QStringLiteral(UPDATE_ONE), arguments);
        if (!process.waitForFinished(60000))
            return "<hung>";
        *status = process.exitStatus();
        return process.readAllStandardOutput().trimmed();
    }

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_work.isValid());
        m_folderB = m_work.filePath(QStringLiteral("B"));
        // An installation of B brings its own cons/, game folder and favourites, never packed.
        writeFiles(m_folderB, merged(ProgramB, {{QStringLiteral("cons/db1.mdb"), "B's catalogue"},
                                                {QStringLiteral("res/velmora/1.swf"), "B's game"},
                                                {QStringLiteral("我的收藏/b.swf"), "B's favourite"}}));
        const PackageArchive::Packed packed = PackageArchive::pack(m_folderB);
        QCOMPARE(packed.error, QString());
        m_package = signedPackage(packed.archive, m_key.secretKey);
    }

    // The package as the operator makes it with the tool, run as the box runs it: cons/update.exe
    // with no arguments and the key built in. A package signed with another key is refused and
    // the old box starts again; the operator's replaces exactly the program files and starts
    // the new box.
    void packageFromToolUpdatesAndStartsTheNewBox() {
        const QString demoKey = QStringLiteral(DEMO_FOLDER "/update-demo.key");
        if (readFile(QStringLiteral(DEMO_FOLDER "/update-demo.pub")).trimmed() != UpdatePublicKey)
            QSKIP("built with an operator's key instead of the demo key");
        const QString folder = installA(QStringLiteral("tool"));
        const InstallPaths paths(folder);
        const QString marker = m_work.filePath(QStringLiteral("started"));
        const auto makeAndRun = [&](const QString& secretKey) {
            QProcess tool;
            tool.start(QStringLiteral(MAKE_UPDATE), {m_folderB, secretKey, paths.updateProgram()});
            QVERIFY(tool.waitForFinished(60000));
            QCOMPARE(tool.exitCode(), 0);
            QProcess updater;
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("VELMORA_TEST_MARKER"), marker);
            updater.setProcessEnvironment(environment);
            updater.start(paths.updateProgram(), {});
            QVERIFY(updater.waitForFinished(60000));
        };

        const QString otherSecret = m_work.filePath(QStringLiteral("other.key"));
        QCOMPARE(
            QProcess::execute(QStringLiteral(MAKE_UPDATE), {QStringLiteral("--generate-key"), otherSecret,
                                                            m_work.filePath(QStringLiteral("other.pub"))}),
            0);
        makeAndRun(otherSecret);
        const Files userAndA = withExecutableProgram(merged(ProgramA, UserData));
        QCOMPARE(snapshot(folder), merged(userAndA, {{QStringLiteral("cons/update.exe"),
                                                      readFile(paths.updateProgram()) + "+x"}}));
        QVERIFY(readFile(paths.updateLog()).contains("没有有效的签名"));
        QVERIFY(!QFileInfo::exists(marker)); // A's "box" is no script; it does not start

        makeAndRun(demoKey);
        QCOMPARE(snapshot(folder),
                 merged(withExecutableProgram(merged(merged(ProgramA, UserData), ProgramB)),
                        {{QStringLiteral("cons/update.exe"), readFile(paths.updateProgram()) + "+x"}}));
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(marker), 10000);
        QVERIFY(readFile(paths.updateLog()).contains("已更新到版本"));
        QVERIFY(!QFileInfo::exists(paths.updateWorkFolder()));
    }

    void refusedPackageChangesNothing_data() {
        QTest::addColumn<QString>("package");
        QTest::addColumn<QByteArray>("logged");
        const QByteArray good = PackageArchive::pack(m_folderB).archive;
        const SignedFile::KeyPair other = SignedFile::makeKeyPair();
        const QByteArray wholePackage = readFile(m_package);
        const QString truncated = m_work.filePath(QStringLiteral("truncated.exe"));
        writeFile(truncated, wholePackage.first(wholePackage.size() - 1000));
        const auto evil = [&](Entry entry) {
            return signedPackage(tarGz({{Program.toUtf8(), AE_IFREG, "box B", {}, false}, entry}),
                                 m_key.secretKey);
        };
        QTest::newRow("another key") << signedPackage(good, other.secretKey) << QByteArray("没有有效的签名");
        QTest::newRow("truncated") << truncated << QByteArray("没有有效的签名");
        QTest::newRow("archive cut short")
            << signedPackage(good.first(good.size() / 2), m_key.secretKey) << QByteArray("程序文件包已损坏");
        QTest::newRow("..") << evil({"player/../../x", AE_IFREG, "x", {}, false}) << QByteArray("不能写入");
        QTest::newRow("absolute") << evil({"/tmp/velmora-x", AE_IFREG, "x", {}, false})
                                  << QByteArray("不能写入");
        QTest::newRow("symlink") << evil({"player/ruffle.js", AE_IFLNK, {}, "/etc/passwd", false})
                                 << QByteArray("链接");
        QTest::newRow("hard link") << evil({"player/ruffle.js", AE_IFREG, {}, "/etc/passwd", true})
                                   << QByteArray("链接");
        QTest::newRow("cons") << evil({"cons/db1.mdb", AE_IFREG, "x", {}, false}) << QByteArray("不能写入");
        QTest::newRow("favourites") << evil({"./我的收藏/", AE_IFDIR, {}, {}, false})
                                    << QByteArray("不能写入");
        QTest::newRow("no program") << signedPackage(tarGz({{"res/showoff.htm", AE_IFREG, "x", {}, false}}),
                                                     m_key.secretKey)
                                    << QByteArray("中没有 " + Program.toUtf8());
    }

    // Nothing of the program folder changes; the refusal is logged and the old box starts again.
    void refusedPackageChangesNothing() {
        QFETCH(QString, package);
        QFETCH(QByteArray, logged);
        const QString folder = installA(QStringLiteral("refused"));
        const Files before = snapshot(folder);
        int started = 0;
        QCOMPARE(update(package, folder, &started), UpdateResult::Refused);
        QCOMPARE(snapshot(folder), before);
        QVERIFY2(readFile(InstallPaths(folder).updateLog()).contains(logged),
                 readFile(InstallPaths(folder).updateLog()));
        QCOMPARE(started, 1);
        QVERIFY(!QFileInfo::exists(m_work.filePath(QStringLiteral("x"))));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/velmora-x")));
    }

    // While a box holds the run lock past the time limit nothing changes, nothing starts and the
    // log says so; once it has ended, the same package installs.
    void boxThatDoesNotEndKeepsTheOldVersion() {
        const QString folder = installA(QStringLiteral("running"));
        const Files before = snapshot(folder);
        int started = 0;
        {
            RunLock box(InstallPaths(folder).runLock());
            QVERIFY(box.waitShared());
            QCOMPARE(update(m_package, folder, &started, std::chrono::milliseconds(300)),
                     UpdateResult::BoxStillRunning);
            QCOMPARE(snapshot(folder), before);
            QCOMPARE(started, 0);
            QVERIFY(readFile(InstallPaths(folder).updateLog()).contains("没有退出"));
        }
        QCOMPARE(update(m_package, folder, &started), UpdateResult::Updated);
        QCOMPARE(snapshot(folder), withExecutableProgram(merged(merged(ProgramA, UserData), ProgramB)));
        QCOMPARE(started, 1);
    }

    // Killed after each step in turn, then started as a box: the folder holds exactly A or B,
    // the user's data as it was; the update run again then installs B.
    void killedAtEveryStepEndsAsOneVersion() {
        const Files versionA = withExecutableProgram(merged(ProgramA, UserData));
        const Files versionB = withExecutableProgram(merged(merged(ProgramA, UserData), ProgramB));
        const QString key = QString::fromLatin1(m_key.publicKey.toHex());
        int killedAsA = 0;
        int killedAsB = 0;
        for (int step = 1;; ++step) {
            const QString folder = installA(QStringLiteral("killed"));
            QProcess::ExitStatus status{};
            const QByteArray steps = runUpdateOne({m_package, folder, key, QString::number(step)}, &status);
            if (status == QProcess::NormalExit) {
                QVERIFY2(step > 2 * int(ProgramB.size()), steps);
                QCOMPARE(steps.toInt(), step - 1);
                break;
            }
            const InstallPaths paths(folder);
            RunLock box(paths.runLock());
            enterProgramFolder(paths, box);
            const Files after = snapshot(folder);
            QVERIFY2(after == versionA || after == versionB, qPrintable(QStringLiteral("step %1").arg(step)));
            (after == versionA ? killedAsA : killedAsB) += 1;
            QVERIFY(!QFileInfo::exists(paths.updateWorkFolder()));
            box.release();
            QCOMPARE(runUpdateOne({m_package, folder, key, QStringLiteral("0")}, &status).isEmpty(), false);
            QCOMPARE(snapshot(folder), versionB);
        }
        QVERIFY(killedAsA > 0);
        QVERIFY(killedAsB > 0);
    }

    // A new file damaged after the switch had begun: recovery cannot go forward, puts back every
    // file of A, removes those that only B has and says so.
    void damagedNewFileRollsBackToA() {
        const QString folder = installA(QStringLiteral("damaged"));
        const InstallPaths paths(folder);
        // Past the unpacking, the journal and a few files of the switch; the program file is last.
        const int step = int(ProgramB.size()) + 1 + 4;
        QProcess::ExitStatus status{};
        runUpdateOne({m_package, folder, QString::fromLatin1(m_key.publicKey.toHex()), QString::number(step)},
                     &status);
        QCOMPARE(status, QProcess::CrashExit);
        QCOMPARE(readFile(folder + QStringLiteral("/Velmora游戏盒设置")),
                 ProgramB[QStringLiteral("Velmora游戏盒设置")]);
        QFile staged(paths.updateStagingFolder() + u'/' + Program);
        QVERIFY(staged.open(QIODevice::Append));
        staged.write("!");
        staged.close();
        QCOMPARE(recoverInterruptedUpdate(paths), UpdateSwitch::Outcome::RolledBack);
        QCOMPARE(snapshot(folder), withExecutableProgram(merged(ProgramA, UserData)));
        QVERIFY(readFile(paths.updateLog()).contains("已恢复原来的程序文件"));
    }
};

QTEST_GUILESS_MAIN(TestUpdater)
#include "tst_updater.moc"
