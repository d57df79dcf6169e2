#include "updater/ProgramUpdater.h"

#include "common/BuildSettings.h"
#include "common/FileHelpers.h"
#include "common/SignedFile.h"
#include "updater/PackageArchive.h"
#include "updater/RunLock.h"
#include "updater/UpdateLog.h"
#include "updater/UpdatePackage.h"
#include "updater/UpdateRecovery.h"

#include <QDir>
#include <QFile>

#include <algorithm>

namespace velmora {

namespace {

const QString Unchanged = QStringLiteral("，程序文件未改动");

// Unpacks the package's files and switches them into place; logs how it ended.
UpdateResult switchProgramFiles(const ProgramUpdaterSetup& setup, const QByteArray& archive) {
    const InstallPaths& paths = setup.paths;
    const auto refuse = [&](const QString& reason, UpdateResult result) {
        static_cast<void>(QDir(paths.updateWorkFolder()).removeRecursively());
        appendUpdateLog(paths, reason + Unchanged);
        return result;
    };
    const PackageArchive::Unpacked unpacked =
        PackageArchive::unpack(archive, paths.updateStagingFolder(), setup.afterStep);
    if (!unpacked.refusal.isEmpty())
        return refuse(QStringLiteral("更新被拒绝：") + unpacked.refusal, UpdateResult::Refused);
    const QString program = QString::fromUtf8(ProductName);
    if (std::none_of(unpacked.files.begin(), unpacked.files.end(),
                     [&](const SwitchEntry& entry) { return entry.path == program; }))
        return refuse(QStringLiteral("更新被拒绝：程序文件包中没有 ") + program, UpdateResult::Refused);

    UpdateSwitch programSwitch(paths, setup.afterStep);
    if (!programSwitch.begin(unpacked.files))
        return refuse(QStringLiteral("更新失败：") + programSwitch.error(), UpdateResult::Failed);
    switch (programSwitch.finish()) {
    case UpdateSwitch::Outcome::Finished:
        appendUpdateLog(paths, QStringLiteral("已更新到版本 %1：替换了 %2 个程序文件")
                                   .arg(QString::fromUtf8(ProgramVersion))
                                   .arg(unpacked.files.size()));
        return UpdateResult::Updated;
    case UpdateSwitch::Outcome::RolledBack:
        appendUpdateLog(paths, QStringLiteral("更新失败（") + programSwitch.error() +
                                   QStringLiteral("），已恢复原来的程序文件"));
        return UpdateResult::Failed;
    default:
        appendUpdateLog(paths, QStringLiteral("更新失败：") + programSwitch.error() +
                                   QStringLiteral("；下次启动时将继续恢复"));
        return UpdateResult::Failed;
    }
}

} // namespace

UpdateResult runProgramUpdate(const ProgramUpdaterSetup& setup) {
    const InstallPaths& paths = setup.paths;
    appendUpdateLog(paths,
                    QStringLiteral("更新程序（版本 %1）开始运行").arg(QString::fromUtf8(ProgramVersion)));
    UpdateResult result = UpdateResult::Failed;
    QFile packageFile(setup.package);
    const QByteArray package = packageFile.open(QIODevice::ReadOnly) ? packageFile.readAll() : QByteArray();
    const auto archive = UpdatePackage::archiveOf(package);
    RunLock lock(paths.runLock());
    if (!SignedFile::verify(package, setup.publicKey)) {
        result = UpdateResult::Refused;
        appendUpdateLog(paths, QStringLiteral("更新被拒绝：") + setup.package +
                                   QStringLiteral(" 没有有效的签名") + Unchanged);
    } else if (!archive) {
        result = UpdateResult::Refused;
        appendUpdateLog(paths, QStringLiteral("更新被拒绝：") + setup.package +
                                   QStringLiteral(" 中没有程序文件包") + Unchanged);
    } else if (!lock.waitExclusive(setup.boxWait)) {
        // The box still runs, so it is not started again; it offers the update on a later run
        // only if the site raises the version once more.
        appendUpdateLog(
            paths, QStringLiteral("游戏盒在 %1 秒内没有退出，未更新").arg(setup.boxWait.count() / 1000.0) +
                       Unchanged);
        return UpdateResult::BoxStillRunning;
    } else if (recoverInterruptedUpdate(paths) != UpdateSwitch::Outcome::Failed) {
        result = switchProgramFiles(setup, *archive);
    }
    lock.release();
    const QString program = paths.programFile();
    if (setup.startProgram(program))
        appendUpdateLog(paths, QStringLiteral("已启动 ") + program);
    else
        appendUpdateLog(paths, QStringLiteral("无法启动 ") + program);
    return result;
}

} // namespace velmora
