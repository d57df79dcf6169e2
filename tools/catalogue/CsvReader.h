#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <vector>

namespace velmora::tools {

struct CsvField {
    QByteArray text;
    bool quoted = false;
};

struct CsvRecord {
    int line = 0; // where the record begins, from 1
    std::vector<CsvField> fields;
};

// Splits RFC 4180 text into records: fields separated by commas, records by CRLF, LF or CR;
// a quoted field may hold commas, line breaks and doubled quotes. Works on bytes, so any
// ASCII-compatible encoding passes through unchanged.
class CsvReader {
public:
    explicit CsvReader(QByteArrayView text);

    // Reads the next record. False at the end of the text, and on malformed text, when
    // error() tells the line and the reason.
    bool next(CsvRecord& record);
    const QString& error() const { return m_error; }

private:
    bool readField(CsvField& field);
    bool readQuoted(CsvField& field);
    bool atLineBreak() const;
    void skipLineBreak();
    bool fail(int line, const QString& reason);

    QByteArrayView m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
    QString m_error;
};

} // namespace velmora::tools
