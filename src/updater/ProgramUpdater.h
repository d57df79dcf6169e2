#pragma once

#include "common/InstallPaths.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

namespace velmora {

struct ProgramUpdaterSetup {
    // The signed update program (UpdatePackage), normally the running executable itself.
    QString package;
    InstallPaths paths;
    // The site operator's public key (SignedFile).
    QByteArray publicKey;
    // How long to wait for the box to end after it started the update.
    std::chrono::milliseconds boxWait{std::chrono::seconds(60)};
    // Starts the box, detached (startDetachedProgram).
    std::function<bool(const QString& program)> startProgram;
    // Runs after each change of the program folder that reached the disk.
    std::function<void()> afterStep;
};

enum class UpdateResult { Updated, Refused, BoxStillRunning, Failed };

// What the update program does: checks the package's signature, waits for the box to end,
// completes an update that an earlier run left unfinished, unpacks the program files into the
// staging folder and switches them (UpdateSwitch), then starts the box. Every step that fails
// leaves the program files as they were and says so in the update log; the box is started
// again in every case but one: when it did not end in time, it still runs.
UpdateResult runProgramUpdate(const ProgramUpdaterSetup& setup);

} // namespace velmora
