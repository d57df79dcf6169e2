#pragma once

#include "JetPageFile.h"

#include <vector>

// Usage maps: rows that name a set of pages, either with an inline bitmap (type 0, 512 pages
// from a start page) or through bitmap pages (type 1, 0x05 pages of 32736 pages each).
namespace velmora::tools::jet {

inline constexpr int UsageMapRowLength = 69;
inline constexpr quint32 InlineMapPages = (UsageMapRowLength - 5) * 8;
inline constexpr quint32 BitmapPagePages = (PageSize - 4) * 8;
// The reference slots of one type-1 row cover more than the 2 GB a Jet 4 file may hold.
inline constexpr quint32 MaxFilePages = 0x80000000u / PageSize;

// A map naming pages (ascending): inline when they fit one inline bitmap, otherwise a
// reference map whose bitmap pages are allocated at the end of file.
QByteArray usageMapRow(PageFile& file, const std::vector<quint32>& pages);

// The database's global map (page 1, row 0), which marks the free pages, that is every page
// from the end of file to the end of the map's range. Call it after the last other allocation.
QByteArray globalUsageMapRow(PageFile& file);

} // namespace velmora::tools::jet
