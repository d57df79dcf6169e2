#pragma once

#include <QString>

namespace velmora::Desktop {

// The user's desktop folder as the desktop's user directories name it (user-dirs.dirs in the
// user's configuration folder), else the home folder's "Desktop". It may not exist yet.
QString folder();

// Lets desktops that keep a trust mark (through gio) start the launcher without asking first.
// Best effort: without gio, or where the desktop keeps no such mark, nothing happens.
void markTrusted(const QString& launcher);

} // namespace velmora::Desktop
