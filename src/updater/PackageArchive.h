#pragma once

#include "updater/UpdateJournal.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>

namespace velmora {

// The program files of an update as a gzip-compressed tar archive (libarchive), holding only
// regular files with their permission bits.
namespace PackageArchive {

struct Packed {
    QByteArray archive;
    // Empty on success; otherwise what stopped the packing (English, for the operator's tool).
    QString error;
};

// Every regular file under folder except the user's data (InstallPaths::isUserData). A link
// or any other special file stops it: the update program would refuse the package.
Packed pack(const QString& folder);

struct Unpacked {
    QList<SwitchEntry> files;
    // Empty on success; otherwise why the package was refused.
    QString refusal;
};

// Writes the files of archive into staging (a folder that does not exist yet), each forced to
// the disk, and afterStep after each. The whole archive is refused at the first entry that is
// anything but a regular file or a folder (a symbolic or hard link above all), whose path is
// absolute, has a part "." or "..", a control character or leads into the user's data, or
// that comes twice, and when the archive is damaged or cut short. On refusal the caller
// deletes staging.
Unpacked unpack(const QByteArray& archive, const QString& staging, const std::function<void()>& afterStep);

} // namespace PackageArchive

} // namespace velmora
