#include "updater/UpdateRecovery.h"

#include "updater/UpdateLog.h"

namespace velmora {

UpdateSwitch::Outcome recoverInterruptedUpdate(const InstallPaths& paths) {
    UpdateSwitch interrupted(paths);
    const UpdateSwitch::Outcome outcome = interrupted.finish();
    switch (outcome) {
    case UpdateSwitch::Outcome::NothingToDo:
        break;
    case UpdateSwitch::Outcome::Discarded:
        appendUpdateLog(paths, QStringLiteral("删除了中断的更新留下的新文件，程序文件未改动"));
        break;
    case UpdateSwitch::Outcome::Finished:
        appendUpdateLog(paths, QStringLiteral("完成了中断的更新：程序文件已是新版本"));
        break;
    case UpdateSwitch::Outcome::RolledBack:
        appendUpdateLog(
            paths,
            QStringLiteral("中断的更新无法完成，已恢复原来的程序文件") +
                (interrupted.error().isEmpty() ? QString() : QStringLiteral("：") + interrupted.error()));
        break;
    case UpdateSwitch::Outcome::Failed:
        appendUpdateLog(paths, QStringLiteral("无法恢复中断的更新：") + interrupted.error());
        break;
    }
    return outcome;
}

void enterProgramFolder(const InstallPaths& paths, RunLock& lock) {
    lock.waitShared();
    // Exclusive only when no other box runs; a box that already runs found the folder whole.
    if (lock.tryExclusive())
        recoverInterruptedUpdate(paths);
    lock.waitShared();
}

} // namespace velmora
