#include "KeyFiles.h"

#include "common/SignedFile.h"

#include <cstdio>

namespace velmora::tools::KeyFiles {

std::optional<QByteArray> readFile(const char* tool, const char* path) {
    QFile file(QFile::decodeName(path));
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: cannot read %s\n", tool, path);
        return std::nullopt;
    }
    return file.readAll();
}

bool writeFile(const char* tool, const char* path, const QByteArray& content,
               QFile::Permissions permissions) {
    QFile file(QFile::decodeName(path));
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.setPermissions(permissions) && file.write(content) == content.size() &&
                         file.flush();
    if (!written)
        std::fprintf(stderr, "%s: cannot write %s\n", tool, path);
    return written;
}

std::optional<QByteArray> readKey(const char* tool, const char* path, qsizetype size) {
    const auto text = readFile(tool, path);
    if (!text)
        return std::nullopt;
    QByteArray key = SignedFile::keyFromHex(text->trimmed().toLower(), size);
    if (key.isEmpty()) {
        std::fprintf(stderr, "%s: %s holds no key of %lld bytes\n", tool, path, static_cast<long long>(size));
        return std::nullopt;
    }
    return key;
}

bool writeKeyPair(const char* tool, const char* secretPath, const char* publicPath) {
    const SignedFile::KeyPair pair = SignedFile::makeKeyPair();
    if (pair.secretKey.isEmpty()) {
        std::fprintf(stderr, "%s: no random source for a key pair\n", tool);
        return false;
    }
    return writeFile(tool, secretPath, pair.secretKey.toHex() + '\n', QFile::ReadOwner | QFile::WriteOwner) &&
           writeFile(tool, publicPath, pair.publicKey.toHex() + '\n',
                     QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace velmora::tools::KeyFiles
