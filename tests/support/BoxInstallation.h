#pragma once

#include "common/InstallPaths.h"
#include "support/RealInput.h"
#include "support/ScreenWindows.h"
#include "support/ScriptedServer.h"

#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace velmora::test {

// A player's installation of this build, run as the program itself: the program folder that
// cmake --install makes, with a catalogue, a downloaded game, a favourite, an order file and a
// file of the player's own under cons/.
class BoxInstallation {
public:
    // Installs into root/program; the box gets root/tmp as its temporary folder (so that it does
    // not warn about where it runs) and root/data as the user's data folder.
    explicit BoxInstallation(const QString& root);

    // Empty when the installation is complete.
    const QString& error() const { return m_error; }
    const InstallPaths& paths() const { return m_paths; }
    // The player's files, by path, that an update must leave byte for byte.
    QMap<QString, QByteArray> userData() const;
    // Starts the program, its Timer1 ticking every tickMs.
    void start(QProcess& box, int tickMs) const;

private:
    // The files that the installation starts with besides the program and the catalogue.
    QMap<QString, QByteArray> playerFiles() const;

    QString m_root;
    InstallPaths m_paths;
    QString m_error;
};

// Installs this build into folder; the error, or empty.
QString installProgramFolder(const QString& folder);
// Packs the program folder into a signed update program at output, with the demo site's key,
// which a box built for the demo site trusts; the error, or empty.
QString makeUpdateProgram(const QString& folder, const QString& output);
// The site built into the box, on the loopback, offering version OfferedVersion of the program:
// the update program made from another installation of this build whose program files differ
// visibly (a marker file player/version-b and a changed res/showoff.htm).
class UpdateOffer {
public:
    static constexpr char OfferedVersion[] = "2.0";

    // Installs the new version into root/new and packs it into root/update.exe.
    explicit UpdateOffer(const QString& root);
    ~UpdateOffer();

    const QString& error() const { return m_error; }
    const InstallPaths& newVersion() const { return m_newVersion; }

private:
    InstallPaths m_newVersion;
    QString m_error;
    std::unique_ptr<ScriptedServer> m_server;
};

// Waits, keeping the event loop running, until a window titled title shows whose program is
// not exceptPid.
std::optional<ShownWindow> waitForWindow(const ScreenWindows& screen, const QString& title, qint64 exceptPid,
                                         std::chrono::milliseconds limit);
// Closes the window as its close button does and waits until its program has ended; kills
// the program if it has not ended within limit. False when it had to be killed.
bool closeAndWait(ScreenWindows& screen, const ShownWindow& window, std::chrono::milliseconds limit);
// Waits for the update's announcement by the box pid and answers it with Enter, as a player
// does; the message box, or nothing when none came or another program showed it.
std::optional<ShownWindow> answerAnnouncement(ScreenWindows& screen, RealInput& input, qint64 pid,
                                              std::chrono::milliseconds limit);

} // namespace velmora::test
