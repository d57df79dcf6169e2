#pragma once

#include "common/InstallPaths.h"
#include "updater/RunLock.h"
#include "updater/UpdateSwitch.h"

namespace velmora {

// Completes or rolls back a switch that an interrupted update left in the program folder and
// logs what it did. The caller holds the run lock exclusive.
UpdateSwitch::Outcome recoverInterruptedUpdate(const InstallPaths& paths);

// The box's first step, before any window: takes the run lock shared for the box's whole life
// (waiting while an update switches the program files) and, when no other box runs, recovers
// an interrupted update, so that the box never starts on a half-switched folder.
void enterProgramFolder(const InstallPaths& paths, RunLock& lock);

} // namespace velmora
