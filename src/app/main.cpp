#include "app/Form1.h"
#include "common/BuildSettings.h"
#include "platform/QtMessageSink.h"
#include "platform/QtTranslations.h"
#include "platform/web/WebEngineSetup.h"
#include "updater/RunLock.h"
#include "updater/UpdateRecovery.h"

#include <QApplication>
#include <QDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    velmora::prepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf8(velmora::ProductName));
    velmora::installChineseTranslations(app);

    const QString programFolder = QCoreApplication::applicationDirPath();
    // Held until the process ends; before anything reads the program files, an interrupted
    // update is completed or rolled back.
    const velmora::InstallPaths paths(programFolder);
    velmora::RunLock runLock(paths.runLock());
    velmora::enterProgramFolder(paths, runLock);

    velmora::QtMessageSink messages;
    velmora::Form1 form({.appPath = programFolder,
                         .siteBaseUrl = QString::fromUtf8(velmora::SiteBaseUrl),
                         .messages = &messages,
                         .playerFolder = programFolder + QStringLiteral("/player"),
                         .endProgram =
                             [] {
                                 // Closing the window ends the program at once, also in the middle
                                 // of a download that is waiting inside a nested event loop;
                                 // nothing is saved.
                                 std::fflush(nullptr);
                                 std::_Exit(0);
                             },
                         .temporaryFolder = QDir::tempPath()});
    messages.setParent(&form);
    form.load();
    form.showAtStart();
    return QApplication::exec();
}
