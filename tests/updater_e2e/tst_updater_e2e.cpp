// A program update as a player goes through it, with the programs themselves: the installed box
// finds the update on the site, announces it, starts the update program and ends; the update
// program replaces the program files and starts the new box.

#include "common/BuildSettings.h"
#include "support/BoxInstallation.h"
#include "support/RealInput.h"
#include "support/ScreenWindows.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using namespace velmora;
using velmora::test::readFile;

class UpdaterEndToEnd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void updateReplacesTheProgramAndStartsTheNewBox();
};

void UpdaterEndToEnd::updateReplacesTheProgramAndStartsTheNewBox() {
    test::ScreenWindows screen;
    test::RealInput input;
    if (!screen.isAvailable() || !input.isAvailable())
        QSKIP("needs an X display with XTEST");
    // Outside the system's temporary folder, where the box would warn about running from an
    // archive manager's folder.
    QTemporaryDir root(QDir::currentPath() + QStringLiteral("/update-XXXXXX"));
    QVERIFY(root.isValid());
    const test::BoxInstallation installation(root.path());
    QVERIFY2(installation.error().isEmpty(), qPrintable(installation.error()));
    const test::UpdateOffer offer(root.path());
    QVERIFY2(offer.error().isEmpty(), qPrintable(offer.error()));
    const InstallPaths& paths = installation.paths();
    const InstallPaths& newVersion = offer.newVersion();
    const auto userData = installation.userData();

    QProcess oldBox;
    installation.start(oldBox, 50);
    QVERIFY2(oldBox.waitForStarted(), qPrintable(oldBox.errorString()));
    QVERIFY2(test::answerAnnouncement(screen, input, oldBox.processId(), 120s),
             "the box announced no update");
    QVERIFY2(oldBox.waitForFinished(60000), "the box did not end for the update");
    QCOMPARE(oldBox.exitStatus(), QProcess::NormalExit);
    QCOMPARE(oldBox.exitCode(), 0);

    // The update program starts the new box once it has replaced the program files.
    const QString caption = QString::fromUtf8(ProductName) + QString::fromUtf8(ProgramVersion);
    const auto newBox = test::waitForWindow(screen, caption, oldBox.processId(), 120s);
    QVERIFY2(newBox, qPrintable(QStringLiteral("no new box; the update log says:\n") +
                                QString::fromUtf8(readFile(paths.updateLog()))));
    QCOMPARE(QFileInfo(QStringLiteral("/proc/%1/exe").arg(newBox->pid)).canonicalFilePath(),
             QFileInfo(paths.programFile()).canonicalFilePath());
    QCOMPARE(readFile(paths.local(QStringLiteral("player/version-b"))), QByteArray("B"));
    QCOMPARE(readFile(paths.fallbackPage()), readFile(newVersion.fallbackPage()));
    QCOMPARE(readFile(paths.programFile()), readFile(newVersion.programFile()));
    QCOMPARE(installation.userData(), userData);
    QCOMPARE(readFile(paths.programVersionFile()), QByteArray(test::UpdateOffer::OfferedVersion) + "\r\n");
    QVERIFY2(!QFileInfo::exists(paths.updateWorkFolder()), "the update left its working folder");

    QVERIFY2(test::closeAndWait(screen, *newBox, 30s), "the new box did not end when its window closed");
}

QTEST_GUILESS_MAIN(UpdaterEndToEnd)
#include "tst_updater_e2e.moc"
