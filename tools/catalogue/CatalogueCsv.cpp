#include "CatalogueCsv.h"

#include "CsvReader.h"

#include <QByteArrayList>
#include <QStringDecoder>
#include <charconv>
#include <cmath>
#include <unordered_map>

namespace velmora::tools {

namespace {

const QByteArray ByteOrderMark = QByteArrayLiteral("\xEF\xBB\xBF");
constexpr int FieldCount = int(CatalogueSchema::Columns.size());

QByteArrayList headerFields() {
    QByteArrayList names;
    for (const CatalogueSchema::Column& column : CatalogueSchema::Columns)
        names.append(QByteArray(column.name.data(), column.name.size()));
    return names;
}

// Thrown inside the parser for the line at hand; the caller adds the line number.
struct FieldError {
    QString reason;
};

QString decodeUtf8(const QByteArray& bytes) {
    // A byte order mark inside the file is text like any other, to be judged by checkRecordTexts.
    QStringDecoder decoder(QStringDecoder::Utf8,
                           QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        throw FieldError{QStringLiteral("the text is not valid UTF-8")};
    return text;
}

// A field's text as shown in a message, cut short when it is long.
QString shown(const QByteArray& text) {
    constexpr int Longest = 40;
    const QString decoded = QString::fromUtf8(text);
    return decoded.size() <= Longest ? decoded : decoded.left(Longest) + QStringLiteral("...");
}

QByteArray numberText(const CsvField& field, QLatin1StringView column) {
    const QByteArray text = field.text.trimmed();
    if (text.isEmpty())
        throw FieldError{QStringLiteral("%1 is empty").arg(column)};
    return text;
}

qint32 wholeNumber(const CsvField& field, QLatin1StringView column) {
    const QByteArray text = numberText(field, column);
    qint32 value = 0;
    const auto [end, error] = std::from_chars(text.cbegin(), text.cend(), value);
    if (error == std::errc::result_out_of_range)
        throw FieldError{
            QStringLiteral("%1 %2 is out of range (-2147483648 to 2147483647)").arg(column, shown(text))};
    if (error != std::errc() || end != text.cend())
        throw FieldError{QStringLiteral("%1 \"%2\" is not a whole number").arg(column, shown(text))};
    return value;
}

double number(const CsvField& field, QLatin1StringView column) {
    const QByteArray text = numberText(field, column);
    double value = 0;
    const auto [end, error] = std::from_chars(text.cbegin(), text.cend(), value, std::chars_format::general);
    if (error == std::errc::result_out_of_range || std::isinf(value))
        throw FieldError{QStringLiteral("%1 %2 is out of range").arg(column, shown(text))};
    if (error != std::errc() || end != text.cend() || std::isnan(value))
        throw FieldError{QStringLiteral("%1 \"%2\" is not a number (write the decimal point as '.')")
                             .arg(column, shown(text))};
    return value;
}

std::optional<QString> text(const CsvField& field) {
    if (field.text.isEmpty() && !field.quoted)
        return std::nullopt;
    return decodeUtf8(field.text);
}

CatalogueRecord toRecord(const CsvRecord& row) {
    if (row.fields.size() != FieldCount)
        throw FieldError{
            QStringLiteral("expected %1 fields, found %2").arg(FieldCount).arg(row.fields.size())};
    namespace Schema = CatalogueSchema;
    CatalogueRecord record{wholeNumber(row.fields[0], Schema::Id.name), text(row.fields[1]),
                           wholeNumber(row.fields[2], Schema::Fenlei.name),
                           number(row.fields[3], Schema::Youxianji.name), text(row.fields[4])};
    if (QString reason = checkRecordTexts(record); !reason.isEmpty())
        throw FieldError{reason};
    return record;
}

bool isBlankLine(const CsvRecord& row) {
    return row.fields.size() == 1 && row.fields[0].text.isEmpty() && !row.fields[0].quoted;
}

QString lineError(int line, const QString& reason) {
    return QStringLiteral("line %1: %2").arg(line).arg(reason);
}

} // namespace

QByteArray catalogueCsvHeader() {
    return headerFields().join(',');
}

CsvParseResult parseCatalogueCsv(const QByteArray& utf8) {
    const QByteArrayView body = utf8.startsWith(ByteOrderMark)
                                    ? QByteArrayView(utf8).sliced(ByteOrderMark.size())
                                    : QByteArrayView(utf8);
    CsvReader reader(body);
    CsvRecord row;
    const bool hasHeader = reader.next(row);
    if (!reader.error().isEmpty())
        return {{}, reader.error()};
    QByteArrayList header;
    for (const CsvField& field : row.fields)
        header.append(field.text);
    if (!hasHeader || header != headerFields()) {
        const QString expected = QString::fromLatin1(catalogueCsvHeader());
        return {{}, lineError(1, QStringLiteral("the header must be \"%1\"").arg(expected))};
    }

    CsvParseResult result;
    std::unordered_map<qint32, int> idLines;
    int blankLine = 0; // a blank line is only allowed after the last record
    while (reader.next(row)) {
        if (isBlankLine(row)) {
            blankLine = blankLine ? blankLine : row.line;
            continue;
        }
        if (blankLine)
            return {{}, lineError(blankLine, QStringLiteral("empty line between records"))};
        try {
            result.records.push_back(toRecord(row));
        } catch (const FieldError& error) {
            return {{}, lineError(row.line, error.reason)};
        }
        const auto [first, inserted] = idLines.emplace(result.records.back().id, row.line);
        if (!inserted)
            return {{},
                    lineError(row.line, QStringLiteral("id %1 is already used on line %2")
                                            .arg(result.records.back().id)
                                            .arg(first->second))};
    }
    if (!reader.error().isEmpty())
        return {{}, reader.error()};
    return result;
}

} // namespace velmora::tools
