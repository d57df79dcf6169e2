// velmora-sign: makes the key pair with which a site operator signs program updates, signs a
// file (appending the trailer of common/SignedFile.h) and checks a signed file.

#include "KeyFiles.h"
#include "common/SignedFile.h"

#include <QFile>

#include <cstdio>
#include <cstring>

using namespace velmora;
using namespace velmora::tools;

namespace {

int usage() {
    std::fprintf(stderr,
                 "usage: velmora-sign keygen <secret key file> <public key file>\n"
                 "       velmora-sign sign <secret key file> <input file> <signed output file>\n"
                 "       velmora-sign verify <public key file> <signed file>\n"
                 "Keys are written as one line of hexadecimal; the public key is the value of the\n"
                 "CMake cache variable VELMORA_UPDATE_PUBLIC_KEY. Keep the secret key off the site.\n");
    return 2;
}

constexpr char Tool[] = "velmora-sign";

int sign(const char* secretPath, const char* inputPath, const char* outputPath) {
    const auto secretKey = KeyFiles::readKey(Tool, secretPath, SignedFile::SecretKeySize);
    const auto input = secretKey ? KeyFiles::readFile(Tool, inputPath) : std::nullopt;
    if (!input)
        return 1;
    const QFile::Permissions permissions = QFile::permissions(QFile::decodeName(inputPath));
    return KeyFiles::writeFile(Tool, outputPath, SignedFile::sign(*input, *secretKey), permissions) ? 0 : 1;
}

int verify(const char* publicPath, const char* signedPath) {
    const auto publicKey = KeyFiles::readKey(Tool, publicPath, SignedFile::PublicKeySize);
    const auto content = publicKey ? KeyFiles::readFile(Tool, signedPath) : std::nullopt;
    if (!content)
        return 1;
    if (!SignedFile::verify(*content, *publicKey)) {
        std::fprintf(stderr, "velmora-sign: %s carries no valid signature by this key\n", signedPath);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 4 && std::strcmp(argv[1], "keygen") == 0)
        return KeyFiles::writeKeyPair(Tool, argv[2], argv[3]) ? 0 : 1;
    if (argc == 5 && std::strcmp(argv[1], "sign") == 0)
        return sign(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "verify") == 0)
        return verify(argv[2], argv[3]);
    return usage();
}
