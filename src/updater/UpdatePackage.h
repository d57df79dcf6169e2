#pragma once

#include <QByteArray>

#include <optional>

namespace velmora {

// The update program as the site serves it, one signed file (SignedFile):
//
//   the updater executable | the program files as an archive (PackageArchive) | footer | trailer
//
// The footer is 16 bytes: the archive's offset from the start of the file (8 bytes, little
// endian) and the magic "VMUPDAT1". The executable runs unchanged with all of it behind.
namespace UpdatePackage {

// What is to be signed.
QByteArray assemble(const QByteArray& updater, const QByteArray& archive);
// The archive of a signed package (signature not checked here); empty when the layout is wrong.
std::optional<QByteArray> archiveOf(const QByteArray& signedPackage);

} // namespace UpdatePackage

} // namespace velmora
