#pragma once

#include "JetTableLayout.h"

#include <QByteArray>
#include <QString>
#include <vector>

// MSysObjects, the table of the database's objects, through which readers find every other
// table. Its definition is on CatalogDefinitionPage.
namespace velmora::jet {

const TableLayout& systemCatalogTable();

// The rows of a database with one user table: the three containers, the database object,
// MSysObjects itself and the user table, whose definition is on tablePage.
std::vector<QByteArray> systemCatalogRows(quint32 tablePage, const QString& tableName, double created);

} // namespace velmora::jet
