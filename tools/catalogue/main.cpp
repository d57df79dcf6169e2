// velmora-catalogue: turns the site's catalogue CSV into the Jet 4.0 database it serves.

#include "common/SitePaths.h"
#include "tools/catalogue/CatalogueCsv.h"
#include "tools/catalogue/CatalogueWriter.h"
#include "ui/RowText.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cstdio>

namespace {

enum ExitCode { Success = 0, Failure = 1, Usage = 2 };

int fail(const QString& message) {
    std::fprintf(stderr, "velmora-catalogue: %s\n", qPrintable(message));
    return Failure;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: velmora-catalogue <input.csv> <output.mdb>\n"
                     "Reads a UTF-8 CSV file with the header %s and\n"
                     "writes the catalogue database (served as %s).\n",
                     velmora::tools::catalogueCsvHeader().constData(),
                     qPrintable(velmora::SitePaths(QString()).catalogue()));
        return Usage;
    }
    const QString input = QFile::decodeName(argv[1]);
    const QString output = QFile::decodeName(argv[2]);
    const QString canonicalInput = QFileInfo(input).canonicalFilePath();
    if (!canonicalInput.isEmpty() && canonicalInput == QFileInfo(output).canonicalFilePath())
        return fail(QStringLiteral("the output would overwrite the input %1").arg(input));

    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot read %1: %2").arg(input, file.errorString()));
    const QByteArray csv = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return fail(QStringLiteral("cannot read %1: %2").arg(input, file.errorString()));

    const auto parsed = velmora::tools::parseCatalogueCsv(csv);
    if (!parsed.error.isEmpty())
        return fail(QStringLiteral("%1: %2").arg(input, parsed.error));
    for (const velmora::tools::CatalogueRecord& record : parsed.records) {
        if (record.name && velmora::oneLineRowText(*record.name) != *record.name)
            std::fprintf(stderr,
                         "velmora-catalogue: warning: the name of game %d holds a line break; the game "
                         "list shows it as a space\n",
                         record.id);
    }
    if (const QString error = velmora::tools::writeCatalogue(parsed.records, output); !error.isEmpty())
        return fail(error);
    std::printf("%s: %zu games\n", qPrintable(output), parsed.records.size());
    return Success;
}
