#pragma once

#include <QStringList>

namespace velmora::Favourites {

// Creates the favourites folder when nothing of that name exists yet.
void ensureFolder(const QString& folder);

// The names of the Flash files in the folder (file name less its ".swf"), in the order the file
// system returns them. The extension matches in any letter case, as users' files come from
// systems that do not tell case apart.
QStringList listGames(const QString& folder);

} // namespace velmora::Favourites
