#pragma once

#include "platform/web/FlashPlayer.h"
#include "support/ScriptedServer.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <mutex>

namespace velmora::test {

// Movies that try to read the user's files, open pages unasked, crash the emulator or outlast
// a hung side panel; a loopback server sees what they send out.
class HostileGameTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void gameReadsNothingOutsideItsFolder();
    void gameOpensPagesOnlyOnAClick_data();
    void gameOpensPagesOnlyOnAClick();
    void nextGamePlaysAfterAnEmulatorPanic();
    void gameKeepsRunningWhileThePanelHangs();

private:
    struct Report {
        QString probe;
        QString got;
    };
    QString writeFile(const QString& relative, const QByteArray& content);
    QString reportUrl() const;
    QList<Report> reports() const;
    // What the movie reported last under probe, empty while it has reported nothing.
    QString lastReport(const QString& probe) const;
    void clickIntoGame();

    QTemporaryDir m_dir;
    ScriptedServer m_server;
    std::unique_ptr<FlashPlayer> m_player;
    QStringList m_opened;
    mutable std::mutex m_mutex;
    QList<Report> m_reports;
    QStringList m_requestTargets;
    QStringList m_credentials;
};

} // namespace velmora::test
