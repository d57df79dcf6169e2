#pragma once

#include "CatalogueRecord.h"
#include "JetPageFile.h"

#include <variant>
#include <vector>

namespace velmora::tools {

// Lays out a whole catalogue database holding the records in the given order: the header, the
// global usage map, the system catalog, the games' table and its long values. Gives an
// error text instead when the database would outgrow the format. The records' texts must have
// passed checkRecordTexts.
std::variant<jet::PageFile, QString> buildCatalogueFile(const std::vector<CatalogueRecord>& records,
                                                        const QString& password, double created);

} // namespace velmora::tools
