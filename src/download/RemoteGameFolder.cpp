#include "download/RemoteGameFolder.h"

#include "common/InstallPaths.h"
#include "common/TextValueFile.h"

namespace velmora {

QString remoteGameFolderFrom(const QString& firstValue) {
    return firstValue.mid(9, 2) + firstValue.mid(3, 2);
}

MirrorBase::MirrorBase(const InstallPaths& paths)
    : m_sourcePath(paths.mirrorFile()) {
}

void MirrorBase::ReadMirrorBase() {
    if (const auto value = TextValueFile::readFirstValue(m_sourcePath))
        m_remoteGameFolder = remoteGameFolderFrom(*value);
}

} // namespace velmora
