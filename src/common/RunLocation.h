#pragma once

#include <QString>

namespace velmora {

// True when the program folder is one an archive tool unpacked the program into for a single
// run: a path that holds "Temp" (case-sensitive, anywhere), or a folder inside temporaryFolder,
// where the archive managers of Linux desktops unpack. An empty temporaryFolder checks only
// the first rule.
bool runsFromTemporaryFolder(const QString& appPath, const QString& temporaryFolder);

} // namespace velmora
