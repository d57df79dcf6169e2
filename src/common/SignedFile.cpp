#include "common/SignedFile.h"

#include <QFile>

#include <sodium.h>

#include <cctype>

namespace velmora::SignedFile {

namespace {

bool ready() {
    // Safe to call again and from any thread; fails only without a random source.
    return sodium_init() >= 0;
}

const unsigned char* bytes(const QByteArray& data) {
    return reinterpret_cast<const unsigned char*>(data.constData());
}

} // namespace

KeyPair makeKeyPair() {
    if (!ready())
        return {};
    KeyPair pair{QByteArray(PublicKeySize, Qt::Uninitialized), QByteArray(SecretKeySize, Qt::Uninitialized)};
    crypto_sign_keypair(reinterpret_cast<unsigned char*>(pair.publicKey.data()),
                        reinterpret_cast<unsigned char*>(pair.secretKey.data()));
    return pair;
}

QByteArray sign(const QByteArray& payload, const QByteArray& secretKey) {
    if (secretKey.size() != SecretKeySize || !ready())
        return {};
    QByteArray signature(SignatureSize, Qt::Uninitialized);
    crypto_sign_detached(reinterpret_cast<unsigned char*>(signature.data()), nullptr, bytes(payload),
                         static_cast<unsigned long long>(payload.size()), bytes(secretKey));
    return payload + signature + QByteArray(Magic, MagicSize);
}

bool verify(const QByteArray& content, const QByteArray& publicKey) {
    if (publicKey.size() != PublicKeySize || content.size() < TrailerSize || !ready())
        return false;
    const qsizetype payloadSize = content.size() - TrailerSize;
    if (content.sliced(payloadSize + SignatureSize) != QByteArray(Magic, MagicSize))
        return false;
    return crypto_sign_verify_detached(bytes(content) + payloadSize, bytes(content),
                                       static_cast<unsigned long long>(payloadSize), bytes(publicKey)) == 0;
}

bool verifyFile(const QString& path, const QByteArray& publicKey) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && verify(file.readAll(), publicKey);
}

QByteArray keyFromHex(const QByteArray& hex, qsizetype size) {
    if (hex.size() != 2 * size)
        return {};
    for (const char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {};
    }
    return QByteArray::fromHex(hex);
}

} // namespace velmora::SignedFile
