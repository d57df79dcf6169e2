#pragma once

#include <QString>
#include <vector>

namespace velmora {

// A row of the favourites list: the name shown, and the file it stands for.
struct FavouriteGame {
    QString name; // the file name less its extension, as text
    QString path; // the file's full path, leading to its name's very bytes (NativeFileName)
};

namespace Favourites {

// Creates the favourites folder when nothing of that name exists yet.
void ensureFolder(const QString& folder);

// The readable Flash files in the folder (hidden ones left out), in case-insensitive name
// order. The extension matches in any letter case, as users' files come from systems that do
// not tell case apart. A name that is not UTF-8 is shown decoded from GBK, the code page of
// the Chinese Windows systems such files come from; each game keeps the real name of its file,
// so that it plays whatever the case or the encoding.
std::vector<FavouriteGame> listGames(const QString& folder);

} // namespace Favourites

} // namespace velmora
