#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::jet {

// Page 0 of a Jet 4.0 database: engine name, version, the masked region with the database
// password (at most 20 characters, "" for none) and the creation date, an OLE date.
QByteArray headerPage(const QString& password, double creationDate);

} // namespace velmora::jet
