// velmora-paths: prints, as shell assignments, where a program folder and a copy of the site
// keep their files, and the program's name and version, so that scripts lay them out with the
// program's own names.

#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "common/SitePaths.h"
#include "common/TextValueFile.h"
#include "download/RemoteGameFolder.h"

#include <QDir>
#include <QFile>
#include <cstdio>
#include <optional>

namespace {

// Single quotes keep any value one word; a quote inside one is closed, escaped and reopened.
void print(const char* name, QString value) {
    value.replace(u'\'', QStringLiteral("'\\''"));
    std::printf("%s='%s'\n", name, QFile::encodeName(value).constData());
}

void printPath(const char* name, const QString& path) {
    print(name, QDir::cleanPath(path));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr,
                     "usage: velmora-paths <program folder> <site folder> [<mirror file>]\n"
                     "Prints shell assignments of the program's name and version and of the files of a\n"
                     "program folder and a site folder; the mirror file names the site's game folder\n"
                     "(site_games, printed only with it).\n");
        return 2;
    }
    const velmora::InstallPaths program(QFile::decodeName(argv[1]));
    const velmora::SitePaths site(QFile::decodeName(argv[2]) + u'/');
    std::optional<QString> mirror;
    if (argc == 4) {
        mirror = velmora::TextValueFile::readFirstValue(QFile::decodeName(argv[3]));
        if (!mirror) {
            std::fprintf(stderr, "velmora-paths: cannot read %s\n", argv[3]);
            return 1;
        }
    }
    print("product", QString::fromUtf8(velmora::ProductName));
    print("version", QString::fromUtf8(velmora::ProgramVersion));
    printPath("local_catalogue", program.catalogueFile());
    printPath("local_mirror_file", program.mirrorFile());
    printPath("local_catalogue_version", program.catalogueVersionFile());
    printPath("local_program_version", program.programVersionFile());
    printPath("local_games", program.gameFolder());
    printPath("local_favourites", program.favouritesFolder());
    printPath("site_catalogue", site.catalogue());
    printPath("site_mirror_file", site.mirrorFile());
    printPath("site_catalogue_version", site.catalogueVersion());
    printPath("site_program_version", site.programVersion());
    printPath("site_update_program", site.updateProgram());
    if (mirror)
        printPath("site_games", site.gameFolder(velmora::remoteGameFolderFrom(*mirror)));
    return 0;
}
