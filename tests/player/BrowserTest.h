#pragma once

#include "TestSupport.h"
#include "support/ScriptedServer.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <atomic>
#include <memory>

namespace velmora::test {

class BrowserTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void reportsEveryFailedLoad_data();
    void reportsEveryFailedLoad();
    void loadsGoodPagesWithoutError_data();
    void loadsGoodPagesWithoutError();
    void silentPageRaisesNoDialog();
    void silentPageCanBeLeftDespiteUnloadWarning();
    void reportsDeadPageProcess();
    void pageLinksGoNowhereElse_data();
    void pageLinksGoNowhereElse();
    void programPagesThatCannotBeShownFail_data();
    void programPagesThatCannotBeShownFail();
    void hostilePageGetsNoFurther();
    void offersNoEngineMenu();

public Q_SLOTS:
    // Stands in for the system's opener of addresses.
    void openedBySystem(const QUrl& url) { m_openedBySystem.append(url.toString()); }

private:
    std::unique_ptr<ScriptedServer> m_server;
    ScriptedServer m_site;
    QStringList m_openedBySystem;
    std::atomic<int> m_credentialsSent = 0;
};

} // namespace velmora::test
