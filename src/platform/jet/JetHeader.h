#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Page 0 of a Jet 4.0 database: the masked header region and the database password in it.
namespace velmora::jet {

inline constexpr int PageSize = 4096;
inline constexpr int MaskedOffset = 0x18;
inline constexpr int MaskedLength = 128;
inline constexpr int VersionOffset = 0x14;
inline constexpr int EncodingKeyOffset = 0x3E;
inline constexpr int PasswordOffset = 0x42;
inline constexpr int PasswordLength = 40;
inline constexpr int CreationDateOffset = 0x72;
inline constexpr char Jet4Version = 1;

// XORs the RC4 key stream over the masked region of page 0; applying it twice restores the page.
void toggleHeaderMask(QByteArray& page0);

// The database password of a Jet 4 file as stored on disk (masked). Empty text when the file
// has none; nothing when page0 is not the header page of a Jet 4 database.
std::optional<QString> readDatabasePassword(QByteArrayView page0);

// The key with which the pages after page 0 are encrypted; 0 when they are stored plain.
// Nothing when page0 is not the header page of a Jet 4 database.
std::optional<quint32> readEncodingKey(QByteArrayView page0);
// Stores the encoding key into a (masked) page 0.
void writeEncodingKey(QByteArray& page0, quint32 key);
// XORs the RC4 key stream of (encodingKey XOR number) over a page of PageSize bytes, which is
// how an encrypted database stores page `number`: it decrypts an encrypted page and encrypts a
// plain one.
void togglePageEncryption(char* page, quint32 number, quint32 encodingKey);

// Stores password (at most 20 characters) into an unmasked page 0, using the creation date
// already at CreationDateOffset for the date mask. Mask the page afterwards.
void writeDatabasePassword(QByteArray& unmaskedPage0, const QString& password);

} // namespace velmora::jet
