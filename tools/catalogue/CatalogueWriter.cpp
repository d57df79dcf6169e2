#include "CatalogueWriter.h"

#include "CatalogueFile.h"

#include <QDateTime>
#include <QSaveFile>

namespace velmora::tools {

namespace {

// Days since 1899-12-30, the engine's date and time format.
double oleDate(const QDateTime& time) {
    static const QDate epoch(1899, 12, 30);
    return static_cast<double>(epoch.daysTo(time.date())) + time.time().msecsSinceStartOfDay() / 86400000.0;
}

QString checkText(const QString& text, const QString& what, int maxLength) {
    if (text.size() > maxLength)
        return QStringLiteral("%1 is %2 characters long; at most %3 are allowed")
            .arg(what)
            .arg(text.size())
            .arg(maxLength);
    if (text.startsWith(QChar(0xFEFF)))
        return QStringLiteral("%1 begins with U+FEFF (byte order mark)").arg(what);
    for (const QChar c : text) {
        if (c.isNull())
            return QStringLiteral("%1 contains the character U+0000").arg(what);
        if (c.isSurrogate())
            return QStringLiteral("%1 contains a character outside the Basic Multilingual Plane "
                                  "(such as an emoji), which the catalogue cannot hold")
                .arg(what);
    }
    return {};
}

QString checkPassword(const QString& password) {
    if (password.size() > MaxPasswordLength)
        return QStringLiteral("the database password is longer than %1 characters").arg(MaxPasswordLength);
    if (password.contains(QChar(0)))
        return QStringLiteral("the database password contains the character U+0000");
    return {};
}

} // namespace

QString checkRecordTexts(const CatalogueRecord& record) {
    if (record.name) {
        if (QString reason = checkText(*record.name, QStringLiteral("name"), MaxNameLength);
            !reason.isEmpty())
            return reason;
    }
    if (record.info)
        return checkText(*record.info, QStringLiteral("info"), MaxInfoLength);
    return {};
}

QString writeCatalogue(const std::vector<CatalogueRecord>& records, const QString& path,
                       const QString& password) {
    if (QString reason = checkPassword(password); !reason.isEmpty())
        return reason;
    for (size_t i = 0; i < records.size(); ++i) {
        if (QString reason = checkRecordTexts(records[i]); !reason.isEmpty())
            return QStringLiteral("record %1 (id %2): %3").arg(i + 1).arg(records[i].id).arg(reason);
    }
    auto built = buildCatalogueFile(records, password, oleDate(QDateTime::currentDateTime()));
    if (const QString* reason = std::get_if<QString>(&built))
        return *reason;

    QSaveFile out(path);
    out.setDirectWriteFallback(false);
    if (!out.open(QIODevice::WriteOnly))
        return QStringLiteral("cannot create %1: %2").arg(path, out.errorString());
    for (const QByteArray& page : std::get<jet::PageFile>(built).pages()) {
        if (out.write(page) != page.size())
            return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    }
    if (!out.commit())
        return QStringLiteral("cannot write %1: %2").arg(path, out.errorString());
    return {};
}

} // namespace velmora::tools
