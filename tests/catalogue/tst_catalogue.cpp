#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueSchema.h"
#include "catalogue/Favourites.h"
#include "common/FileHelpers.h"
#include "common/NativeFileName.h"
#include "platform/jet/JetHeader.h"
#include "platform/jet/JetImage.h"
#include "platform/jet/JetValue.h"
#include "tools/catalogue/CatalogueWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

using namespace velmora;
using velmora::tools::CatalogueRecord;

namespace {

const QString Password = CatalogueSchema::Password;

// Writes a file by the bytes of its name, which need not be UTF-8.
bool writeBytes(const QByteArray& path, const QByteArray& content) {
    const int fd = ::open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, content.constData(), size_t(content.size())) == content.size();
    return ::close(fd) == 0 && written;
}

bool writeBytes(const QString& path, const QByteArray& content) {
    return writeBytes(QFile::encodeName(path), content);
}

// Records are built field by field: GCC's -Wmaybe-uninitialized misfires on temporaries of
// std::optional<QString> in sanitizer builds.
CatalogueRecord game(qint32 id, const QString& name, qint32 fenlei, double youxianji) {
    CatalogueRecord record;
    record.id = id;
    record.name = name;
    record.fenlei = fenlei;
    record.youxianji = youxianji;
    return record;
}

CatalogueRecord withInfo(CatalogueRecord record, const QString& info) {
    record.info = info;
    return record;
}

CatalogueRecord withoutName(CatalogueRecord record) {
    record.name.reset();
    return record;
}

// Several categories, Chinese names, equal priorities, a Null name, Null and empty info, and
// info texts short enough to stay in the row, kept in one row elsewhere, and spread over a chain
// of rows.
std::vector<CatalogueRecord> sampleGames() {
    return {
        withInfo(game(101, QStringLiteral("连连看"), 1, 5), QStringLiteral("用鼠标点击两个相同的图案")),
        game(102, QStringLiteral("泡泡龙"), 2, 9),
        withInfo(game(103, QStringLiteral("俄罗斯方块"), 1, 7.5), QString()),
        withInfo(game(104, QStringLiteral("超级玛丽"), 3, 1), QString(5000, QChar(u'长'))),
        withInfo(game(105, QStringLiteral("坦克大战"), 1, 5), QStringLiteral("方向键移动，空格键开火")),
        withoutName(game(106, QString(), 1, 7.25)),
        game(107, QStringLiteral("打地鼠"), 1, 5),
        game(108, QStringLiteral("贪吃蛇"), 2, 9),
        withInfo(game(109, QStringLiteral("五子棋"), 3, 2),
                 QStringLiteral("黑白双方轮流落子。").repeated(100)),
    };
}

std::vector<std::pair<QString, qint32>> namesAndIds(const CategoryListing& listing) {
    std::vector<std::pair<QString, qint32>> rows;
    for (const CatalogueGame& game : listing.games)
        rows.emplace_back(game.name, game.id);
    return rows;
}

// Everything written to stderr while it exists.
class StderrCapture {
public:
    StderrCapture() {
        std::fflush(stderr);
        m_saved = ::dup(STDERR_FILENO);
        m_file = std::tmpfile();
        ::dup2(::fileno(m_file), STDERR_FILENO);
    }
    ~StderrCapture() { restore(); }
    QByteArray text() {
        restore();
        std::rewind(m_file);
        QByteArray bytes;
        char buffer[256];
        while (const size_t n = std::fread(buffer, 1, sizeof buffer, m_file))
            bytes.append(buffer, qsizetype(n));
        return bytes;
    }

private:
    void restore() {
        if (m_saved < 0)
            return;
        std::fflush(stderr);
        ::dup2(m_saved, STDERR_FILENO);
        ::close(m_saved);
        m_saved = -1;
    }
    int m_saved = -1;
    std::FILE* m_file = nullptr;
};

} // namespace

class CatalogueTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString write(const std::vector<CatalogueRecord>& records,
                  const QString& name = QStringLiteral("db1.mdb"), const QString& password = Password) {
        const QString path = m_dir.filePath(name);
        const QString error = tools::writeCatalogue(records, path, password);
        if (!error.isEmpty())
            qFatal("cannot write the test catalogue: %s", qPrintable(error));
        return path;
    }

    static QByteArray contents(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(path));
        return file.readAll();
    }

    QString store(const QString& name, const QByteArray& bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    // Every read fails, silently: no games, no name, no info, nothing on stderr.
    static void verifyUnreadable(const QString& path) {
        const Catalogue catalogue(path);
        StderrCapture stderrText;
        const CategoryListing listing = catalogue.listCategory(1);
        const QString name = catalogue.GetGameName(true, 101);
        const GameInfo info = catalogue.gameInfo(101);
        QCOMPARE(stderrText.text(), QByteArray());
        QVERIFY(listing.failed);
        QVERIFY(listing.games.empty());
        QCOMPARE(name, QString());
        QCOMPARE(info.kind, GameInfo::Kind::Failed);
    }

    // The data pages of the games' table, in file order: pages of type 1 that belong to the table
    // definition that is not the system catalog's (page 2).
    static std::vector<int> gameDataPages(const QByteArray& file) {
        const auto word = [&](int page, int at) {
            return qFromLittleEndian<quint32>(file.constData() + page * 4096 + at);
        };
        int definition = 0;
        for (int page = 3; page < file.size() / 4096 && !definition; ++page) {
            if (file[page * 4096] == 2)
                definition = page;
        }
        std::vector<int> pages;
        for (int page = 3; page < file.size() / 4096; ++page) {
            if (file[page * 4096] == 1 && int(word(page, 4)) == definition)
                pages.push_back(page);
        }
        return pages;
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void listsCategoryByPriorityKeepingTableOrderForTies() {
        const Catalogue catalogue(write(sampleGames()));

        const CategoryListing hot = catalogue.listCategory(1);
        QVERIFY(!hot.failed);
        const std::vector<std::pair<QString, qint32>> expected{
            {QStringLiteral("俄罗斯方块"), 103}, {QString(), 106},
            {QStringLiteral("连连看"), 101},     {QStringLiteral("坦克大战"), 105},
            {QStringLiteral("打地鼠"), 107},
        };
        QCOMPARE(namesAndIds(hot), expected);

        const CategoryListing puzzle = catalogue.listCategory(2);
        QVERIFY(!puzzle.failed);
        QCOMPARE(namesAndIds(puzzle), (std::vector<std::pair<QString, qint32>>{
                                          {QStringLiteral("泡泡龙"), 102}, {QStringLiteral("贪吃蛇"), 108}}));

        const CategoryListing none = catalogue.listCategory(9);
        QVERIFY(!none.failed);
        QVERIFY(none.games.empty());
    }

    void ordersTheWholeRangeOfPriorities() {
        const Catalogue catalogue(
            write({game(1, QStringLiteral("a"), 1, -1e300), game(2, QStringLiteral("b"), 1, 1e300),
                   game(3, QStringLiteral("c"), 1, std::nan("")), game(4, QStringLiteral("d"), 1, 0.1),
                   game(5, QStringLiteral("e"), 1, -0.0)},
                  QStringLiteral("priorities.mdb")));
        std::vector<qint32> ids;
        for (const CatalogueGame& g : catalogue.listCategory(1).games)
            ids.push_back(g.id);
        QCOMPARE(ids, (std::vector<qint32>{2, 4, 5, 1, 3}));
    }

    void namesTheGameWithItsMarker() {
        const Catalogue catalogue(write(sampleGames()));
        QCOMPARE(catalogue.GetGameName(true, 104), QStringLiteral(" 超级玛丽"));
        QCOMPARE(catalogue.GetGameName(false, 104), QStringLiteral("*超级玛丽"));
        QCOMPARE(catalogue.GetGameName(true, 106), QStringLiteral(" "));
        QCOMPARE(catalogue.GetGameName(false, 106), QStringLiteral("*"));
        QCOMPARE(catalogue.GetGameName(true, 999), QString());
    }

    void tellsNullInfoFromEmptyAndText() {
        const Catalogue catalogue(write(sampleGames()));

        const GameInfo text = catalogue.gameInfo(105);
        QCOMPARE(text.kind, GameInfo::Kind::Text);
        QCOMPARE(text.text, QStringLiteral("方向键移动，空格键开火"));

        const GameInfo empty = catalogue.gameInfo(103);
        QCOMPARE(empty.kind, GameInfo::Kind::Text);
        QCOMPARE(empty.text, QString());

        QCOMPARE(catalogue.gameInfo(102).kind, GameInfo::Kind::Null);
        QCOMPARE(catalogue.gameInfo(999).kind, GameInfo::Kind::Failed);

        QCOMPARE(catalogue.gameInfo(109).text, QStringLiteral("黑白双方轮流落子。").repeated(100));
        const GameInfo longText = catalogue.gameInfo(104);
        QCOMPARE(longText.kind, GameInfo::Kind::Text);
        QCOMPARE(longText.text, QString(5000, QChar(u'长')));
    }

    // Access stores text made of one-byte characters "compressed"; the writer never does.
    void decodesCompressedText() {
        const auto image = jet::JetImage::load(write(sampleGames(), QStringLiteral("any.mdb")));
        QVERIFY(image);
        const auto text = [&](QByteArrayView bytes) {
            return jet::decodeValue(*image, int(jet::ColumnType::Text), bytes)
                .value_or(QVariant())
                .toString();
        };
        QCOMPARE(text(QByteArrayView("\xFF\xFE"
                                     "Ab\0\x2D\x4E\0c",
                                     9)),
                 QStringLiteral("Ab中c"));
        QCOMPARE(text(QByteArrayView("\xFF\xFE"
                                     "Zoo",
                                     5)),
                 QStringLiteral("Zoo"));
        QCOMPARE(text(QByteArrayView("\x2D\x4E\x87\x65\x41", 5)), QStringLiteral("中文"));
    }

    void failsSilentlyOnFilesItCannotRead_data() {
        QTest::addColumn<QString>("path");
        const QByteArray good = contents(write(sampleGames(), QStringLiteral("good.mdb")));

        QTest::newRow("wrong password")
            << write(sampleGames(), QStringLiteral("other.mdb"), QStringLiteral("518275"));
        QTest::newRow("longer password")
            << write(sampleGames(), QStringLiteral("longer.mdb"), Password + u'0');
        QTest::newRow("no password") << write(sampleGames(), QStringLiteral("open.mdb"), QString());
        QTest::newRow("missing file") << m_dir.filePath(QStringLiteral("absent.mdb"));
        QTest::newRow("empty file") << store(QStringLiteral("empty.mdb"), {});
        QTest::newRow("not a database") << store(QStringLiteral("text.mdb"), QByteArray(9000, 'x'));
        QTest::newRow("header only") << store(QStringLiteral("header.mdb"), good.first(200));
        QTest::newRow("two pages") << store(QStringLiteral("two.mdb"), good.first(2 * 4096));
        const int rows = gameDataPages(good).front() * 4096;
        QTest::newRow("cut inside the rows") << store(QStringLiteral("cut.mdb"), good.first(rows + 2048));
        QTest::newRow("cut before the rows") << store(QStringLiteral("cut2.mdb"), good.first(rows));
        QTest::newRow("a folder") << m_dir.path();
    }

    void failsSilentlyOnFilesItCannotRead() {
        QFETCH(QString, path);
        verifyUnreadable(path);
    }

    void readsAnEncryptedDatabase() {
        QByteArray file = contents(write(sampleGames(), QStringLiteral("plain.mdb")));
        const quint32 key = 0x5A17C3E9;
        jet::writeEncodingKey(file, key);
        for (int page = 1; page < file.size() / jet::PageSize; ++page)
            jet::togglePageEncryption(file.data() + page * jet::PageSize, page, key);
        const Catalogue catalogue(store(QStringLiteral("encrypted.mdb"), file));
        QCOMPARE(catalogue.GetGameName(false, 101), QStringLiteral("*连连看"));
        QCOMPARE(catalogue.gameInfo(104).text, QString(5000, QChar(u'长')));
        QCOMPARE(catalogue.listCategory(1).games.size(), size_t(5));
    }

    void failsOnADefinitionChainThatLoops() {
        QByteArray file = contents(write(sampleGames(), QStringLiteral("loop.mdb")));
        const int definition = 5;
        QCOMPARE(int(file[definition * 4096]), 2);
        qToLittleEndian<quint32>(definition, file.data() + definition * 4096 + 4);
        verifyUnreadable(store(QStringLiteral("looping.mdb"), file));
    }

    void keepsTheRowsReadBeforeDamage() {
        std::vector<CatalogueRecord> games;
        for (int i = 0; i < 400; ++i)
            games.push_back(game(i, QStringLiteral("游戏%1").arg(i), 1, 400 - i));
        QByteArray file = contents(write(games, QStringLiteral("many.mdb")));
        const std::vector<int> pages = gameDataPages(file);
        QVERIFY(pages.size() >= 3);
        // The first row of the second data page now points outside the page.
        qToLittleEndian<quint16>(0x1FF0, file.data() + pages[1] * 4096 + 14);
        const Catalogue catalogue(store(QStringLiteral("damaged.mdb"), file));

        StderrCapture stderrText;
        const CategoryListing listing = catalogue.listCategory(1);
        const QString late = catalogue.GetGameName(true, 399);
        QCOMPARE(stderrText.text(), QByteArray());

        QVERIFY(listing.failed);
        const int firstPageRows = qFromLittleEndian<quint16>(file.constData() + pages[0] * 4096 + 12);
        QCOMPARE(int(listing.games.size()), firstPageRows);
        for (int i = 0; i < firstPageRows; ++i)
            QCOMPARE(listing.games[i].id, i);
        QCOMPARE(catalogue.GetGameName(true, 0), QStringLiteral(" 游戏0"));
        QCOMPARE(late, QString());
    }

    void seesAReplacedFileAtTheNextRead() {
        const QString path = write({game(1, QStringLiteral("旧游戏"), 1, 1)}, QStringLiteral("replaced.mdb"));
        const Catalogue catalogue(path);
        QCOMPARE(catalogue.GetGameName(true, 1), QStringLiteral(" 旧游戏"));

        write({withInfo(game(2, QStringLiteral("新游戏"), 1, 1), QStringLiteral("新的说明"))},
              QStringLiteral("replaced.mdb"));
        QCOMPARE(catalogue.GetGameName(true, 1), QString());
        QCOMPARE(catalogue.GetGameName(true, 2), QStringLiteral(" 新游戏"));
        QCOMPARE(catalogue.gameInfo(2).text, QStringLiteral("新的说明"));
        QCOMPARE(namesAndIds(catalogue.listCategory(1)),
                 (std::vector<std::pair<QString, qint32>>{{QStringLiteral("新游戏"), 2}}));
    }

    // Rows as the user reads them: case-insensitively in name order, whatever order the folder
    // returns; files of other kinds, hidden files and folders are left out.
    void favouritesInNameOrder() {
        QTemporaryDir folder;
        for (const char* name : {"b.swf", "阿.swf", "A.swf", "c.SWF", "中文.swf", "a.Swf", "B2.swf",
                                 "readme.txt", ".hidden.swf", "x.swf.bak"})
            QVERIFY(writeBytes(folder.filePath(QString::fromUtf8(name)), "FWS"));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.swf")));

        QStringList names, files;
        for (const FavouriteGame& game : Favourites::listGames(folder.path())) {
            names << game.name;
            files << QFileInfo(game.path).fileName();
            QCOMPARE(QFileInfo(game.path).absolutePath(), folder.path());
        }
        QCOMPARE(names, (QStringList{QStringLiteral("A"), QStringLiteral("a"), QStringLiteral("b"),
                                     QStringLiteral("B2"), QStringLiteral("c"), QStringLiteral("中文"),
                                     QStringLiteral("阿")}));
        // The real name behind each row, whatever the case of its extension.
        QCOMPARE(files,
                 (QStringList{QStringLiteral("A.swf"), QStringLiteral("a.Swf"), QStringLiteral("b.swf"),
                              QStringLiteral("B2.swf"), QStringLiteral("c.SWF"), QStringLiteral("中文.swf"),
                              QStringLiteral("阿.swf")}));
    }

    // Names that are not UTF-8 (from archives made on Chinese Windows systems) are listed,
    // shown decoded from GBK, and lead back to the very file.
    void favouritesWithGbkNames() {
        QTemporaryDir folder;
        const QByteArray folderBytes = QFile::encodeName(folder.path());
        const QByteArray gbk = "\xD0\xA1\xD3\xCE\xCF\xB7"; // 小游戏
        const QByteArray notText = "\xFF\xFE";             // neither UTF-8 nor GBK
        QVERIFY(writeBytes(QByteArray(folderBytes + '/' + gbk + ".swf"), "FWS-gbk"));
        QVERIFY(writeBytes(QByteArray(folderBytes + '/' + notText + ".SWF"), "FWS-other"));
        QVERIFY(writeBytes(QByteArray(folderBytes + "/\xC4\xE3.txt"), "x"));
        QVERIFY(writeBytes(folder.filePath(QStringLiteral("大家.swf")), "FWS-utf8"));

        const std::vector<FavouriteGame> games = Favourites::listGames(folder.path());
        QCOMPARE(games.size(), size_t(3));
        QCOMPARE(games[0].name, QStringLiteral("大家"));
        QCOMPARE(games[0].path, folder.filePath(QStringLiteral("大家.swf")));
        QCOMPARE(games[1].name, QStringLiteral("小游戏"));
        QCOMPARE(NativeFileName::toBytes(games[1].path), folderBytes + '/' + gbk + ".swf");
        QVERIFY(!games[2].name.isEmpty()); // shown somehow, as long as it is listed
        QCOMPARE(NativeFileName::toBytes(games[2].path), folderBytes + '/' + notText + ".SWF");
        for (const FavouriteGame& game : games)
            QVERIFY(fileExists(game.path));
        QVERIFY(!fileExists(folder.filePath(QStringLiteral("小游戏.swf"))));
    }

    // A name on disk survives the trip through text whatever its bytes; text names are plain.
    void nativeFileNamesRoundTrip() {
        for (const QByteArray& bytes : {QByteArray("/plain/name.swf"), QByteArray("/中文/名字.swf"),
                                        QByteArray("/x/\xD0\xA1\xD3\xCE.swf"), QByteArray("\x80\xFF/\x7F"),
                                        QByteArray("/half/\xE4\xB8"), QByteArray()})
            QCOMPARE(NativeFileName::toBytes(NativeFileName::fromBytes(bytes)), bytes);
        QCOMPARE(NativeFileName::fromBytes("/中文/a.swf"), QStringLiteral("/中文/a.swf"));
        QCOMPARE(NativeFileName::toBytes(QStringLiteral("/中文/a.swf")), QByteArray("/中文/a.swf"));
    }
};

QTEST_GUILESS_MAIN(CatalogueTest)
#include "tst_catalogue.moc"
