#pragma once

#include "platform/jet/JetImage.h"

#include <optional>
#include <vector>

namespace velmora::jet {

// Checks the definition of the table whose definition starts on definitionPage, as far as
// libmdb reads it (the chain of definition pages, the column descriptors and names, the two
// usage maps), and returns the table's data pages in the order its usage map lists them.
// Nothing when libmdb could not read the definition safely: a chain that loops or leaves the
// file, counts that overrun it, a missing usage map, or a map naming pages beyond the file.
// Pages that the map names but that are not this table's data pages are left out, as libmdb's
// scan skips them too.
std::optional<std::vector<quint32>> tableDataPages(const JetImage& image, quint32 definitionPage);

} // namespace velmora::jet
