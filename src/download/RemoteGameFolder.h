#pragma once

#include <QString>

namespace velmora {

// The site's game folder is hidden in the first value of cons/guihu.inb: its characters 10
// and 11, then 4 and 5 (1-based). Pieces past the end of the value are shortened, so a value
// of fewer than 4 characters gives an empty name.
QString remoteGameFolderFrom(const QString& firstValue);

} // namespace velmora
