// velmora-make-update: turns an installed program folder into the update program that a site
// serves as gengxin/update.exe (UpdatePackage: the updater, the program files, the signature).

#include "KeyFiles.h"
#include "common/BuildSettings.h"
#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "updater/PackageArchive.h"
#include "updater/UpdatePackage.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

using namespace velmora;
using namespace velmora::tools;

namespace {

constexpr char Tool[] = "velmora-make-update";
constexpr char UpdaterName[] = "velmora-updater";

int usage(FILE* out) {
    std::fprintf(out,
                 "usage: velmora-make-update <program folder> <secret key file> <output>\n"
                 "       velmora-make-update --generate-key <secret key file> <public key file>\n"
                 "\n"
                 "Packs the program folder (as 'cmake --install build --prefix <folder>' makes it) into\n"
                 "the update program that the site serves as gengxin/update.exe, and signs it with the\n"
                 "secret key (one line of hexadecimal, as velmora-sign keygen writes it). cons/,\n"
                 "res/velmora/ and 我的收藏/ are left out: an update never touches them.\n"
                 "The update program is %s, taken from this tool's folder or else from\n"
                 "%s. The package installs version %s.\n"
                 "--generate-key writes a new key pair; the public key is the value of the CMake cache\n"
                 "variable VELMORA_UPDATE_PUBLIC_KEY of the box that is to accept the updates.\n",
                 UpdaterName, VELMORA_UPDATER_PATH, ProgramVersion);
    return out == stdout ? 0 : 2;
}

QString updaterPath() {
    const QString besideTool = QCoreApplication::applicationDirPath() + u'/' + QString::fromUtf8(UpdaterName);
    return QFileInfo(besideTool).isFile() ? besideTool : QString::fromUtf8(VELMORA_UPDATER_PATH);
}

int makeUpdate(const char* folder, const char* secretPath, const char* outputPath) {
    const auto secretKey = KeyFiles::readKey(Tool, secretPath, SignedFile::SecretKeySize);
    if (!secretKey)
        return 1;
    const QString program = InstallPaths(QFile::decodeName(folder)).programFile();
    if (!QFileInfo(program).isFile()) {
        std::fprintf(stderr, "%s: %s is no program folder: it holds no %s\n", Tool, folder, ProductName);
        return 1;
    }
    const QByteArray updaterFile = QFile::encodeName(updaterPath());
    const auto updater = KeyFiles::readFile(Tool, updaterFile.constData());
    if (!updater)
        return 1;
    const PackageArchive::Packed packed = PackageArchive::pack(QFile::decodeName(folder));
    if (!packed.error.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", Tool, packed.error.toLocal8Bit().constData());
        return 1;
    }
    const QByteArray signedPackage =
        SignedFile::sign(UpdatePackage::assemble(*updater, packed.archive), *secretKey);
    constexpr QFile::Permissions rwxr_xr_x = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                             QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                             QFile::ExeOther;
    if (!KeyFiles::writeFile(Tool, outputPath, signedPackage, rwxr_xr_x))
        return 1;
    std::printf("%s: wrote %s, version %s, %lld bytes\n", Tool, outputPath, ProgramVersion,
                static_cast<long long>(signedPackage.size()));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0))
        return usage(stdout);
    if (argc == 4 && std::strcmp(argv[1], "--generate-key") == 0)
        return KeyFiles::writeKeyPair(Tool, argv[2], argv[3]) ? 0 : 1;
    if (argc == 4 && argv[1][0] != '-')
        return makeUpdate(argv[1], argv[2], argv[3]);
    return usage(stderr);
}
