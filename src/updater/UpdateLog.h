#pragma once

#include "common/InstallPaths.h"

namespace velmora {

// Adds line, after the local time, to the update log (InstallPaths::updateLog), for the player
// and the site operator to read what an update did. Failing to log stops nothing.
void appendUpdateLog(const InstallPaths& paths, const QString& line);

} // namespace velmora
