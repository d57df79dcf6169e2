// Prints what catalogue reads cost on a catalogue of 10,000 games: a category listing, a game
// name and a game's info, and the database password check on its own.
#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueSchema.h"
#include "platform/jet/JetHeader.h"
#include "tools/catalogue/CatalogueWriter.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

using namespace velmora;

namespace {

constexpr int Games = 10000;

std::vector<tools::CatalogueRecord> games() {
    std::vector<tools::CatalogueRecord> records;
    for (int id = 1; id <= Games; ++id) {
        tools::CatalogueRecord record;
        record.id = id;
        record.name = QStringLiteral("小游戏第%1号").arg(id);
        record.fenlei = id % 3 + 1;
        record.youxianji = id % 100;
        if (id % 2)
            record.info = QStringLiteral("这是第%1个游戏的说明。").arg(id).repeated(4);
        records.push_back(std::move(record));
    }
    return records;
}

// Milliseconds per call of work, over `rounds` calls.
template <typename Work> double millisecondsPerCall(int rounds, Work work) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < rounds; ++i)
        work(i);
    return double(timer.nsecsElapsed()) / 1e6 / rounds;
}

} // namespace

int main() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("db1.mdb"));
    if (const QString error = tools::writeCatalogue(games(), path); !error.isEmpty()) {
        std::fprintf(stderr, "cannot write the catalogue: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("catalogue: %d games, %lld bytes\n", Games, QFile(path).size());

    const Catalogue catalogue(path);
    size_t listed = 0;
    const double listing = millisecondsPerCall(30, [&](int i) {
        const CategoryListing games = catalogue.listCategory(quint8(i % 3 + 1));
        listed += games.failed ? 0 : games.games.size();
    });
    std::printf("category listing: %.2f ms (%zu games per listing)\n", listing, listed / 30);

    const double name =
        millisecondsPerCall(30, [&](int i) { catalogue.GetGameName(true, qint32(Games - i)); });
    std::printf("GetGameName of one of the last games: %.2f ms\n", name);

    const double info =
        millisecondsPerCall(30, [&](int i) { catalogue.gameInfo(qint32(Games - 2 * i - 1)); });
    std::printf("game info of one of the last games: %.2f ms\n", info);

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray page0 = file.read(jet::PageSize);
    int matches = 0;
    const double check = millisecondsPerCall(
        100000, [&](int) { matches += jet::readDatabasePassword(page0) == CatalogueSchema::Password; });
    std::printf("password check: %.2f us (%d of 100000 matched)\n", check * 1000, matches);
    return 0;
}
