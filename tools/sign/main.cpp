// velmora-sign: makes the key pair with which a site operator signs program updates, signs a
// file (appending the trailer of common/SignedFile.h) and checks a signed file.

#include "common/SignedFile.h"

#include <QFile>

#include <cstdio>
#include <cstring>
#include <optional>

using namespace velmora;

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

std::optional<QByteArray> readFile(const char* path) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "velmora-sign: cannot read %s\n", path);
        return std::nullopt;
    }
    return file.readAll();
}

bool writeFile(const char* path, const QByteArray& content, QFile::Permissions permissions) {
    QFile file(QFile::decodeName(path));
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.setPermissions(permissions) && file.write(content) == content.size() &&
                         file.flush();
    if (!written)
        std::fprintf(stderr, "velmora-sign: cannot write %s\n", path);
    return written;
}

std::optional<QByteArray> readKey(const char* path, qsizetype size) {
    const auto text = readFile(path);
    if (!text)
        return std::nullopt;
    QByteArray key = SignedFile::keyFromHex(text->trimmed().toLower(), size);
    if (key.isEmpty()) {
        std::fprintf(stderr, "velmora-sign: %s holds no key of %lld bytes\n", path,
                     static_cast<long long>(size));
        return std::nullopt;
    }
    return key;
}

int keygen(const char* secretPath, const char* publicPath) {
    const SignedFile::KeyPair pair = SignedFile::makeKeyPair();
    if (pair.secretKey.isEmpty())
        return 1;
    const bool written =
        writeFile(secretPath, pair.secretKey.toHex() + '\n', QFile::ReadOwner | QFile::WriteOwner) &&
        writeFile(publicPath, pair.publicKey.toHex() + '\n',
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return written ? 0 : 1;
}

int sign(const char* secretPath, const char* inputPath, const char* outputPath) {
    const auto secretKey = readKey(secretPath, SignedFile::SecretKeySize);
    const auto input = secretKey ? readFile(inputPath) : std::nullopt;
    if (!input)
        return 1;
    const QFile::Permissions permissions = QFile::permissions(QFile::decodeName(inputPath));
    return writeFile(outputPath, SignedFile::sign(*input, *secretKey), permissions) ? 0 : 1;
}

int verify(const char* publicPath, const char* signedPath) {
    const auto publicKey = readKey(publicPath, SignedFile::PublicKeySize);
    const auto content = publicKey ? readFile(signedPath) : std::nullopt;
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
        return keygen(argv[2], argv[3]);
    if (argc == 5 && std::strcmp(argv[1], "sign") == 0)
        return sign(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "verify") == 0)
        return verify(argv[2], argv[3]);
    return usage();
}
