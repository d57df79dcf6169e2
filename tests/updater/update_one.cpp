// Runs the update program's work on a program folder in a process of its own and kills itself
// (SIGKILL) after the given step, so that a test can interrupt an update at every moment.
// Prints the number of steps when it ends by itself.
#include "common/SignedFile.h"
#include "updater/ProgramUpdater.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: update_one PACKAGE PROGRAM_FOLDER PUBLIC_KEY_HEX STOP_AFTER_STEP\n");
        return 2;
    }
    const int stopAfter = std::atoi(argv[4]);
    int steps = 0;
    const velmora::UpdateResult result = velmora::runProgramUpdate(
        {.package = QString::fromLocal8Bit(argv[1]),
         .paths = velmora::InstallPaths(QString::fromLocal8Bit(argv[2])),
         .publicKey = velmora::SignedFile::keyFromHex(argv[3], velmora::SignedFile::PublicKeySize),
         .boxWait = std::chrono::seconds(5),
         .startProgram = [](const QString&) { return true; },
         .afterStep =
             [&] {
                 if (++steps == stopAfter)
                     std::raise(SIGKILL);
             }});
    std::printf("%d\n", steps);
    return result == velmora::UpdateResult::Updated ? 0 : 1;
}
