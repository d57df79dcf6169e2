// The embedded browser and the game player, in one process: the web engine starts once.
#include "BrowserTest.h"
#include "HostileGameTest.h"
#include "PlayerTest.h"
#include "TestSupport.h"

#include "platform/QtTranslations.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    velmora::test::prepareTestWebEngine();
    QApplication app(argc, argv);
    velmora::installChineseTranslations(app);
    velmora::test::BrowserTest browser;
    velmora::test::PlayerTest player;
    velmora::test::HostileGameTest hostileGame;
    int failures = QTest::qExec(&browser, argc, argv);
    failures += QTest::qExec(&player, argc, argv);
    failures += QTest::qExec(&hostileGame, argc, argv);
    return failures;
}
