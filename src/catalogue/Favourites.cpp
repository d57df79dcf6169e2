#include "catalogue/Favourites.h"

#include <QDir>
#include <QFileInfo>

namespace velmora::Favourites {

void ensureFolder(const QString& folder) {
    if (!QFileInfo::exists(folder))
        QDir().mkpath(folder);
}

QStringList listGames(const QString& folder) {
    const QDir dir(folder, QStringLiteral("*.swf"), QDir::Unsorted, QDir::Files | QDir::Readable);
    QStringList names;
    for (const QString& file : dir.entryList())
        names.append(file.chopped(4));
    return names;
}

} // namespace velmora::Favourites
