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
#include <cstring>
#include <optional>

namespace {

// Timer1's interval for the demo, VELMORA_DEMO_STARTUP_TICK_MS in milliseconds, so that the demo
// shows the deferred updates within seconds. A box built for any other site ignores it and waits
// its shipped ten ticks.
std::optional<int> demoStartupTickMs() {
    if (std::strcmp(velmora::SiteBaseUrl, velmora::DemoSiteBaseUrl) != 0)
        return std::nullopt;
    bool ok = false;
    const int tick = qEnvironmentVariableIntValue("VELMORA_DEMO_STARTUP_TICK_MS", &ok);
    if (!ok || tick <= 0)
        return std::nullopt;
    return tick;
}

} // namespace

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
    velmora::Form1::Environment environment{.appPath = programFolder,
                                            .siteBaseUrl = QString::fromUtf8(velmora::SiteBaseUrl),
                                            .messages = &messages,
                                            .playerFolder = programFolder + QStringLiteral("/player"),
                                            .endProgram =
                                                [] {
                                                    // Closing the window ends the program at once, also in
                                                    // the middle of a download that is waiting inside a
                                                    // nested event loop; nothing is saved.
                                                    std::fflush(nullptr);
                                                    std::_Exit(0);
                                                },
                                            .temporaryFolder = QDir::tempPath()};
    if (const auto tick = demoStartupTickMs())
        environment.startupTickMs = *tick;
    velmora::Form1 form(std::move(environment));
    messages.setParent(&form);
    form.load();
    form.showAtStart();
    return QApplication::exec();
}
