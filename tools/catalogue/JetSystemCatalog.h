#pragma once

#include "JetTableLayout.h"

#include <QByteArray>
#include <QString>
#include <vector>

// MSysObjects, the table of the database's objects. Its definition is always on page 2, and
// readers find every other table through it.
namespace velmora::tools::jet {

inline constexpr quint32 SystemCatalogPage = 2;

const JetTable& systemCatalogTable();

// The rows of a database with one user table: the three containers, the database object,
// MSysObjects itself and the user table, whose definition is on tablePage.
std::vector<QByteArray> systemCatalogRows(quint32 tablePage, const QString& tableName, double created);

} // namespace velmora::tools::jet
