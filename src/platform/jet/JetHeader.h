#pragma once

#include "platform/jet/JetFormat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

// Page 0 of a Jet 4.0 database: the masked header region and the database password in it.
namespace velmora::jet {

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
// already at HeaderPage::CreationDate for the date mask. Mask the page afterwards.
void writeDatabasePassword(QByteArray& unmaskedPage0, const QString& password);

} // namespace velmora::jet
