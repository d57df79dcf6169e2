#pragma once

#include <QByteArray>
#include <QString>

namespace velmora {

// Files that the site operator signs: the update program, and anything else that the box may
// only run or install when it comes from the operator. Shared by the game box, the update
// program and the signing tool, so that all three agree on the layout below.
//
// A signed file is its payload followed by a trailer of TrailerSize (72) bytes:
//
//   offset          size  content
//   0               n     the payload, unchanged (an executable still runs with the trailer
//                         after it)
//   n               64    Ed25519 signature (libsodium crypto_sign_detached) over bytes 0..n-1,
//                         that is over every byte before the trailer
//   n + 64          8     the magic "VMSIGN01" (ASCII, no terminator), which marks the trailer
//
// Keys are libsodium's: a public key of 32 bytes, a secret key of 64 bytes. Written down (CMake
// cache variable, key files) they are lower-case hexadecimal.
namespace SignedFile {

inline constexpr qsizetype SignatureSize = 64;
inline constexpr qsizetype MagicSize = 8;
inline constexpr qsizetype TrailerSize = SignatureSize + MagicSize;
inline constexpr char Magic[MagicSize + 1] = "VMSIGN01";
inline constexpr qsizetype PublicKeySize = 32;
inline constexpr qsizetype SecretKeySize = 64;

struct KeyPair {
    QByteArray publicKey;
    QByteArray secretKey;
};

// A fresh key pair from the system's random source.
KeyPair makeKeyPair();

// payload followed by its trailer; empty when secretKey is not a secret key.
QByteArray sign(const QByteArray& payload, const QByteArray& secretKey);

// True only when content ends with a trailer whose signature by publicKey covers every byte
// before it. Any other content, a wrong key or a key of the wrong size gives false.
bool verify(const QByteArray& content, const QByteArray& publicKey);
// The same for the content of the file at path; false when it cannot be read.
bool verifyFile(const QString& path, const QByteArray& publicKey);

// The bytes that hex spells when it is exactly size bytes of hexadecimal; empty otherwise.
QByteArray keyFromHex(const QByteArray& hex, qsizetype size);

} // namespace SignedFile

} // namespace velmora
