#include "CsvReader.h"

namespace velmora::tools {

CsvReader::CsvReader(QByteArrayView text)
    : m_text(text) {
}

bool CsvReader::next(CsvRecord& record) {
    record = {m_line, {}};
    if (m_pos >= m_text.size() || !m_error.isEmpty())
        return false;
    for (;;) {
        CsvField field;
        if (!readField(field))
            return false;
        record.fields.push_back(std::move(field));
        if (m_pos >= m_text.size())
            return true;
        if (atLineBreak()) {
            skipLineBreak();
            return true;
        }
        ++m_pos; // the comma
    }
}

bool CsvReader::readField(CsvField& field) {
    if (m_pos < m_text.size() && m_text[m_pos] == '"')
        return readQuoted(field);
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && m_text[m_pos] != ',' && !atLineBreak()) {
        if (m_text[m_pos] == '"')
            return fail(m_line, QStringLiteral("a quote inside a field that does not begin with one"));
        ++m_pos;
    }
    field.text = m_text.sliced(start, m_pos - start).toByteArray();
    return true;
}

bool CsvReader::readQuoted(CsvField& field) {
    const int startLine = m_line;
    field.quoted = true;
    ++m_pos;
    for (;;) {
        const qsizetype quote = m_text.indexOf('"', m_pos);
        if (quote < 0)
            return fail(startLine, QStringLiteral("a quoted field is not closed"));
        const QByteArrayView piece = m_text.sliced(m_pos, quote - m_pos);
        field.text.append(piece);
        // Line breaks inside the field count towards the line numbers of what follows.
        m_line += static_cast<int>(piece.count('\n') + piece.count('\r') - piece.count("\r\n"));
        m_pos = quote + 1;
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            field.text.append('"');
            ++m_pos;
            continue;
        }
        if (m_pos < m_text.size() && m_text[m_pos] != ',' && !atLineBreak())
            return fail(m_line, QStringLiteral("unexpected text after the closing quote of a field"));
        return true;
    }
}

bool CsvReader::atLineBreak() const {
    return m_pos < m_text.size() && (m_text[m_pos] == '\n' || m_text[m_pos] == '\r');
}

void CsvReader::skipLineBreak() {
    if (m_text[m_pos] == '\r' && m_pos + 1 < m_text.size() && m_text[m_pos + 1] == '\n')
        ++m_pos;
    ++m_pos;
    ++m_line;
}

bool CsvReader::fail(int line, const QString& reason) {
    m_error = QStringLiteral("line %1: %2").arg(line).arg(reason);
    return false;
}

} // namespace velmora::tools
