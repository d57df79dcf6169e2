// bench_update: the time from the player's OK on the announcement of an update until the new
// box's window shows, for the program folder as this build installs it (the real size), with
// the programs themselves: the box ends, the update program waits for it, switches the program
// files and starts the new box.

#include "common/BuildSettings.h"
#include "support/BoxInstallation.h"
#include "support/RealInput.h"
#include "support/ScreenWindows.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>

using namespace std::chrono_literals;
using namespace velmora;

namespace {

qint64 folderSize(const QString& folder) {
    qint64 size = 0;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
        size += it.nextFileInfo().size();
    return size;
}

int fail(const QString& why) {
    std::fprintf(stderr, "bench_update: %s\n", qPrintable(why));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::ScreenWindows screen;
    test::RealInput input;
    if (!screen.isAvailable() || !input.isAvailable())
        return fail(QStringLiteral("needs an X display with XTEST (xvfb-run -a)"));
    // Not in the system's temporary folder, where the box would warn.
    QTemporaryDir root(QDir::currentPath() + QStringLiteral("/bench-update-XXXXXX"));
    const test::BoxInstallation installation(root.path());
    if (!installation.error().isEmpty())
        return fail(installation.error());
    const test::UpdateOffer offer(root.path());
    if (!offer.error().isEmpty())
        return fail(offer.error());

    QProcess oldBox;
    installation.start(oldBox, 50);
    if (!oldBox.waitForStarted())
        return fail(oldBox.errorString());
    QElapsedTimer sinceOk;
    if (!test::answerAnnouncement(screen, input, oldBox.processId(), 120s))
        return fail(QStringLiteral("the box announced no update"));
    sinceOk.start();
    const QString caption = QString::fromUtf8(ProductName) + QString::fromUtf8(ProgramVersion);
    const auto newBox = test::waitForWindow(screen, caption, oldBox.processId(), 120s);
    const qint64 elapsed = sinceOk.elapsed();
    oldBox.waitForFinished(10000);
    if (!newBox)
        return fail(QStringLiteral("the new box did not show"));
    std::printf("program folder: %.1f MB\n", double(folderSize(installation.paths().appPath())) / 1e6);
    std::printf("OK on the announcement until the new box's window shows: %lld ms\n",
                static_cast<long long>(elapsed));
    test::closeAndWait(screen, *newBox, 30s);
    return 0;
}
