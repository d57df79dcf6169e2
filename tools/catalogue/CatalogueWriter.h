#pragma once

#include "CatalogueRecord.h"

#include <QString>
#include <vector>

namespace velmora::tools {

// Longest name: the column is TEXT(255).
inline constexpr int MaxNameLength = 255;
// Longest info text. Readers through libmdb get text back in a bound buffer of 16 KB by
// default; 5000 characters of UTF-8 (at most 3 bytes each here) always fit in it.
inline constexpr int MaxInfoLength = 5000;
// Jet 4 keeps at most 20 characters of database password.
inline constexpr int MaxPasswordLength = 20;

// Why the texts of record cannot be stored so that they read back unchanged, or "" when they
// can: lengths above, and characters the readers mangle (U+0000, characters outside the Basic
// Multilingual Plane, a leading U+FEFF, which marks compressed text).
QString checkRecordTexts(const CatalogueRecord& record);

// Writes a Jet 4.0 database holding table zong (id LONG, name TEXT(255), fenlei LONG, youxianji
// DOUBLE, info MEMO) with the given database password ("" = none), rows in the given (physical)
// order. Returns an empty string on success, else a clear reason. The file is replaced
// atomically, so on failure path keeps whatever it held before, and no partial file is left.
QString writeCatalogue(const std::vector<CatalogueRecord>& records, const QString& path,
                       const QString& password = QStringLiteral("518274"));

} // namespace velmora::tools
