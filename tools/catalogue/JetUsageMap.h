#pragma once

#include "JetPageFile.h"

#include <vector>

// Writing usage maps.
namespace velmora::jet {

// The length of the usage map rows written here, and the pages an inline one can name.
inline constexpr int UsageMapRowLength = 69;
inline constexpr quint32 InlineMapPages = (UsageMapRowLength - UsageMap::InlineBitmap) * 8;

// A map naming pages (ascending): inline when they fit one inline bitmap, otherwise a
// reference map whose bitmap pages are allocated at the end of file.
QByteArray usageMapRow(PageFile& file, const std::vector<quint32>& pages);

// The database's global map (page 1, row 0), which marks the free pages, that is every page
// from the end of file to the end of the map's range. Call it after the last other allocation.
QByteArray globalUsageMapRow(PageFile& file);

} // namespace velmora::jet
