#pragma once

#include "TestSupport.h"
#include "support/ScriptedServer.h"

#include <QObject>

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

private:
    std::unique_ptr<ScriptedServer> m_server;
};

} // namespace velmora::test
