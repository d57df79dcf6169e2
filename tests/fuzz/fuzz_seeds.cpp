// Writes the seed catalogues of the fuzz target into the folder given as the only argument.
#include "tools/catalogue/CatalogueWriter.h"

#include <QDir>
#include <cstdio>

using velmora::tools::CatalogueRecord;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const std::vector<CatalogueRecord> small{
        {1, QStringLiteral("连连看"), 1, 5, QStringLiteral("用鼠标点击两个相同的图案")},
        {2, QStringLiteral("泡泡龙"), 2, 9, std::nullopt},
        {3, QStringLiteral("Tetris"), 1, 7.5, QString()},
        {4, QStringLiteral("超级玛丽"), 3, 1, QString(3000, QChar(u'长'))},
        {5, std::nullopt, 1, 5, QString(40, QChar(u'x'))},
        {6, QStringLiteral("打地鼠"), 1, 5, QString(1000, QChar(u'y'))},
    };
    const std::vector<CatalogueRecord> none;
    std::vector<CatalogueRecord> pages;
    for (qint32 id = 1; id <= 150; ++id)
        pages.push_back({id, QStringLiteral("游戏%1").arg(id), id % 3 + 1, double(id % 7), std::nullopt});

    const struct {
        const char* name;
        const std::vector<CatalogueRecord>& records;
        QString password;
    } seeds[] = {
        {"small.mdb", small, velmora::CatalogueSchema::Password},
        {"pages.mdb", pages, velmora::CatalogueSchema::Password},
        {"open.mdb", small, QString()},
        {"empty.mdb", none, velmora::CatalogueSchema::Password},
    };
    for (const auto& seed : seeds) {
        const QString error = velmora::tools::writeCatalogue(
            seed.records, folder.filePath(QString::fromLatin1(seed.name)), seed.password);
        if (!error.isEmpty()) {
            std::fprintf(stderr, "%s: %s\n", seed.name, qPrintable(error));
            return 1;
        }
    }
    return 0;
}
