// The update program: the box fetches it into cons/, starts it with no arguments and ends. It
// replaces the program files with those packed into its own file (UpdatePackage) and starts the
// new box; cons/update.log tells what it did.
#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "platform/ProgramStart.h"
#include "updater/ProgramUpdater.h"

#include <QCoreApplication>
#include <QDir>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // It lives in cons/ of the program folder that it updates.
    QDir programFolder(QCoreApplication::applicationDirPath());
    programFolder.cdUp();
    const velmora::UpdateResult result =
        velmora::runProgramUpdate({.package = QCoreApplication::applicationFilePath(),
                                   .paths = velmora::InstallPaths(programFolder.absolutePath()),
                                   .publicKey = velmora::SignedFile::keyFromHex(
                                       velmora::UpdatePublicKey, velmora::SignedFile::PublicKeySize),
                                   .startProgram = velmora::startDetachedProgram,
                                   .afterStep = {}});
    return result == velmora::UpdateResult::Updated ? 0 : 1;
}
