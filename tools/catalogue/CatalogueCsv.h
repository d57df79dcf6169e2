#pragma once

#include "CatalogueWriter.h"

#include <QByteArray>
#include <QString>
#include <vector>

namespace velmora::tools {

struct CsvParseResult {
    std::vector<CatalogueRecord> records;
    QString error; // "line N: reason"; empty on success
};

// The header row of a catalogue CSV file: the column names in column order,
// "id,name,fenlei,youxianji,info".
QByteArray catalogueCsvHeader();

// Reads a catalogue from UTF-8 CSV text (RFC 4180, an optional byte order mark) whose header
// row is exactly catalogueCsvHeader(). An empty unquoted name or info is Null, a quoted
// empty one ("") is empty text; numbers use '.' as the decimal point whatever the locale. Ids
// must be unique, and the texts must be ones the catalogue can store (checkRecordTexts).
CsvParseResult parseCatalogueCsv(const QByteArray& utf8);

} // namespace velmora::tools
