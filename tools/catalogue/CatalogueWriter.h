#pragma once

#include "CatalogueRecord.h"
#include "catalogue/CatalogueSchema.h"

#include <QString>
#include <vector>

namespace velmora::tools {

// Longest name: what its TEXT column holds.
inline constexpr int MaxNameLength = CatalogueSchema::Name.length / 2;
// Longest info text. Readers through libmdb get text back in a bound buffer of 16 KB by
// default; 5000 characters of UTF-8 (at most 3 bytes each here) always fit in it.
inline constexpr int MaxInfoLength = 5000;
inline constexpr int MaxPasswordLength = jet::HeaderPage::MaxPasswordCharacters;

// Why the texts of record cannot be stored so that they read back unchanged, or "" when they
// can: lengths above, and characters the readers mangle (U+0000, characters outside the Basic
// Multilingual Plane, a leading U+FEFF, which marks compressed text).
QString checkRecordTexts(const CatalogueRecord& record);

// Writes a catalogue database with the given database password ("" = none), rows in the given
// (physical) order. Returns an empty string on success, else a clear reason. The file is
// replaced atomically, so on failure path keeps whatever it held before, and no partial file
// is left.
QString writeCatalogue(const std::vector<CatalogueRecord>& records, const QString& path,
                       const QString& password = CatalogueSchema::Password);

} // namespace velmora::tools
