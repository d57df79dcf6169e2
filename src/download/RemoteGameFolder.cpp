#include "download/RemoteGameFolder.h"

namespace velmora {

QString remoteGameFolderFrom(const QString& firstValue)
{
    return firstValue.mid(9, 2) + firstValue.mid(3, 2);
}

} // namespace velmora
