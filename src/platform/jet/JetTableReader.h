#pragma once

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <functional>

namespace velmora::jet {

// Reads a table of a Jet 4 database that is protected by a database password, one row at a time,
// through libmdb. Each read opens the file, checks it, scans the table and closes the file
// again, so a file replaced between two reads is seen by the second.
//
// Values: an invalid QVariant for Null; qint64 for BYTE, INT and LONG columns; double for FLOAT
// and DOUBLE; QString for TEXT and MEMO (an empty text is a valid, empty QString).
class JetTableReader {
public:
    // Receives the values of one row, in the order the columns were asked for. Returns false to
    // end the scan early.
    using RowHandler = std::function<bool(const QVariantList& values)>;

    // password: the database password the file must carry, exactly; "" for a file without one.
    JetTableReader(QString path, QString password);

    // Hands the named columns (matched ignoring case) of every row of `table` to onRow, in the
    // physical order of the file. Returns false when the read failed: the file is missing, not
    // a Jet 4 database, damaged or carries another password; the table or a column is missing
    // or of a type not listed above; or a value cannot be read. Rows handed over before a
    // failure stay handed over. Silent: nothing is printed.
    bool read(const QString& table, const QStringList& columns, const RowHandler& onRow) const;

private:
    QString m_path;
    QString m_password;
};

} // namespace velmora::jet
