#include "download/Updates.h"

#include "common/FileHelpers.h"
#include "common/SignedFile.h"
#include "common/TextValueFile.h"
#include "platform/MessageSink.h"

#include <optional>

namespace velmora {

namespace {

struct VersionFiles {
    QString remote;
    QString temp;
    QString copy;      // the offered version, as fetched
    QString installed; // the installed version
};

// Fetches the offered version next to the installed one. True when the two differ, that is
// when the payload should follow; the copy is then left for the caller to promote. An offered
// version equal to the installed one is deleted at once.
bool offersNewVersion(const UpdateContext& context, const VersionFiles& files) {
    static_cast<void>(DownloadToFile(QUrl(files.remote), files.temp, files.copy, context.budget));
    if (!fileExists(files.copy))
        return false;
    const std::optional<QString> offered = TextValueFile::readFirstValue(files.copy);
    if (!offered || offered->isEmpty()) {
        // An empty offer names no version: nothing to install. Gone, so it cannot linger.
        static_cast<void>(DeleteIfExists(files.copy));
        return false;
    }
    // A missing or empty installed version file means no known version: anything offered is
    // newer, and the promotion that follows the update repairs the file.
    const std::optional<QString> installed = TextValueFile::readFirstValue(files.installed);
    if (installed && *installed == *offered) {
        // When the copy cannot be deleted it is simply replaced by the next run's download.
        static_cast<void>(DeleteIfExists(files.copy));
        return false;
    }
    return true;
}

} // namespace

void UpdateCatalogue(const UpdateContext& context) {
    const InstallPaths& paths = context.paths;
    if (!offersNewVersion(context, {context.site.catalogueVersion(), paths.catalogueVersionTempFile(),
                                    paths.catalogueVersionCopy(), paths.catalogueVersionFile()}))
        return;
    // A database that did not arrive is not asked for again until the site offers yet another
    // version.
    static_cast<void>(DownloadToFile(QUrl(context.site.catalogue()), paths.catalogueTempFile(),
                                     paths.catalogueFile(), context.budget));
    static_cast<void>(PromoteTempFile(paths.catalogueVersionCopy(), paths.catalogueVersionFile()));
}

void UpdateProgram(const UpdateContext& context) {
    const InstallPaths& paths = context.paths;
    if (!offersNewVersion(context, {context.site.programVersion(), paths.programVersionTempFile(),
                                    paths.programVersionCopy(), paths.programVersionFile()}))
        return;
    // Only this run's download may be installed: an older update program that could not be
    // deleted at start-up must not stand in for one that failed to arrive.
    if (!DownloadToFile(QUrl(context.site.updateProgram()), paths.updateProgramTempFile(),
                        paths.updateProgram(), context.budget))
        return;
    InstallProgramUpdate(context);
}

void InstallProgramUpdate(const UpdateContext& context) {
    const InstallPaths& paths = context.paths;
    const QString program = paths.updateProgram();
    if (!fileExists(program))
        return;
    // Checked right before it runs, so that the file that starts is the one checked. Unsigned,
    // it counts as a download that failed: gone, and the offer stays for the next run.
    if (!SignedFile::verifyFile(program, context.updateKey)) {
        static_cast<void>(DeleteIfExists(program));
        return;
    }
    context.messages.hint(QStringLiteral("软件有更新，需立刻升级"));
    // The version counts as installed only once its installer runs; otherwise the next run
    // offers the update again.
    if (!context.startProgram(program))
        return;
    static_cast<void>(PromoteTempFile(paths.programVersionCopy(), paths.programVersionFile()));
    context.closeWindow();
}

} // namespace velmora
