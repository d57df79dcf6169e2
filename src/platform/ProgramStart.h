#pragma once

#include <QString>

namespace velmora {

// Starts program, a full path, with no arguments and leaves it to itself: it does not end with
// this program. A file fetched over HTTP has no execute permission, so it is given rwxr-xr-x
// first. Returns whether the program started.
bool startDetachedProgram(const QString& program);

} // namespace velmora
