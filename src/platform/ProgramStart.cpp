#include "platform/ProgramStart.h"

#include <QFile>
#include <QProcess>

namespace velmora {

bool startDetachedProgram(const QString& program) {
    constexpr QFile::Permissions rwxr_xr_x = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther;
    if (!QFile::setPermissions(program, rwxr_xr_x))
        return false;
    return QProcess::startDetached(program, QStringList());
}

} // namespace velmora
