// The embedded browser and the game player, in one process: the web engine starts once.
#include "BrowserTest.h"
#include "PlayerTest.h"
#include "TestSupport.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    velmora::test::prepareTestWebEngine();
    QApplication app(argc, argv);
    velmora::test::BrowserTest browser;
    velmora::test::PlayerTest player;
    int failures = QTest::qExec(&browser, argc, argv);
    failures += QTest::qExec(&player, argc, argv);
    return failures;
}
