// The embedded browser and the game player, in one process: the web engine starts once.
#include "BrowserTest.h"
#include "HostileGameTest.h"
#include "PlayerTest.h"
#include "SavesTest.h"
#include "TestSupport.h"
#include "support/TemporaryUserData.h"

#include "platform/QtTranslations.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    // A run of the program for SavesTest, with the user's data folder it is given.
    const bool savesChild = argc == 5 && qstrcmp(argv[1], "--saves-child") == 0;
    if (savesChild)
        qputenv("XDG_DATA_HOME", argv[4]);
    else
        velmora::test::useTemporaryUserData();
    velmora::test::prepareTestWebEngine();
    QApplication app(argc, argv);
    if (savesChild)
        return velmora::test::runSavesChild(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    velmora::installChineseTranslations(app);
    velmora::test::BrowserTest browser;
    velmora::test::PlayerTest player;
    velmora::test::HostileGameTest hostileGame;
    velmora::test::SavesTest saves;
    int failures = QTest::qExec(&browser, argc, argv);
    failures += QTest::qExec(&player, argc, argv);
    failures += QTest::qExec(&hostileGame, argc, argv);
    failures += QTest::qExec(&saves, argc, argv);
    return failures;
}
