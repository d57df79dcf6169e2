// Runs the real velmora-catalogue on CSV files and reads the databases back with mdbtools, an
// independent reader: mdb-export for the values, libmdb's null masks for Null against "".

#include "MdbNullMask.h"
#include "platform/jet/JetHeader.h"
#include "tools/catalogue/CatalogueWriter.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace Qt::StringLiterals;
using velmora::tools::MaxInfoLength;
using velmora::tools::MaxNameLength;

namespace {

struct Game {
    QString id;
    std::optional<QString> name;
    QString fenlei;
    QString youxianji; // as mdb-export prints it
    std::optional<QString> info;
};

struct Run {
    int exitCode = -1;
    QString errorOutput;
};

Run runTool(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(CATALOGUE_TOOL), arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

// The games' table as mdb-export prints it, unquoted, with control characters as separators so that
// every text, commas, quotes and line breaks included, comes back verbatim.
QList<QStringList> exportGames(const QString& path) {
    const QChar fieldSeparator(0x1F), rowSeparator(0x1E);
    QProcess process;
    process.start(QStringLiteral(MDB_EXPORT),
                  {QStringLiteral("-H"), QStringLiteral("-Q"), QStringLiteral("-d"), fieldSeparator,
                   QStringLiteral("-R"), rowSeparator, path, velmora::CatalogueSchema::Table});
    process.waitForFinished(-1);
    QList<QStringList> rows;
    for (const QString& row : QString::fromUtf8(process.readAllStandardOutput()).split(rowSeparator)) {
        if (!row.isEmpty())
            rows.append(row.split(fieldSeparator));
    }
    return rows;
}

void compareGames(const QString& path, const std::vector<Game>& expected) {
    const QList<QStringList> rows = exportGames(path);
    const auto masks = readNullMasks(path);
    QVERIFY(masks);
    QCOMPARE(rows.size(), qsizetype(expected.size()));
    QCOMPARE(masks->size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        const Game& game = expected[i];
        const QStringList cells{game.id, game.name.value_or(QString()), game.fenlei, game.youxianji,
                                game.info.value_or(QString())};
        QCOMPARE(rows[i], cells);
        QCOMPARE((*masks)[i], (std::vector<bool>{false, !game.name, false, false, !game.info}));
    }
}

QString textOf(int length, int seed) {
    QString text;
    for (int i = 0; i < length; ++i)
        text.append(QChar(0x4E00 + (seed * 31 + i) % 20000));
    return text;
}

} // namespace

class TestCatalogueTool : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString temp(const QString& name) const { return m_dir.filePath(name); }
    QString data(const QString& name) const { return QStringLiteral(TEST_DATA_DIR "/") + name; }

private Q_SLOTS:
    void handWrittenCatalogue();
    void byteOrderMarkAndCrLf();
    void largeCatalogue();
    void databasePassword_data();
    void databasePassword();
    void refusesWhatCannotBeStored();
    void rejectsBadInput_data();
    void rejectsBadInput();
    void failedRunKeepsExistingFile();
    void warnsOfNamesWithLineBreaks();
    void commandLineErrors();
};

void TestCatalogueTool::handWrittenCatalogue() {
    const QString output = temp(QStringLiteral("games.mdb"));
    const Run run = runTool({data(QStringLiteral("games.csv")), output});
    QCOMPARE(run.exitCode, 0);
    QCOMPARE(run.errorOutput, QString()); // line breaks in info texts are fine
    compareGames(output, {
                             {"30", u"连连看"_s, "2", "5", u"好玩的游戏, 有\"引号\"\n第二行"_s},
                             {"7", u"超级玛丽"_s, "3", "7.5", std::nullopt},
                             {"12", std::nullopt, "1", "0.1", u""_s},
                             {"-5", u""_s, "1", "-2", u"short"_s},
                             {"2147483647", u"Tom & Jerry, \"classic\""_s, "1", "5", u"line1\r\nline2"_s},
                             // 32 characters (64 bytes) are the most kept in the row; id 10's 33 are not.
                             {"-2147483648", u"坦克大战"_s, "1", "5",
                              u"三十二个字符的说明正好放在行里面：一二三四五六七八九十一二三四五"_s},
                             {"8", u"俄罗斯方块"_s, "2", "1000", u" 带空格的文字 "_s},
                             {"9", u"贪吃蛇"_s, "1", "3.25", u"   "_s},
                             {"10", u"泡泡龙"_s, "2", "5",
                              u"三十三个字符的说明放不进行里所以放到长值页：一二三四五六七八九十一"_s},
                         });
}

void TestCatalogueTool::byteOrderMarkAndCrLf() {
    const QString output = temp(QStringLiteral("bom.mdb"));
    QCOMPARE(runTool({data(QStringLiteral("bom_crlf.csv")), output}).exitCode, 0);
    compareGames(output, {{"1", u"扫雷"_s, "1", "2.5", u"第一行\r\n第二行"_s},
                          {"2", u"五子棋"_s, "3", "2.5", std::nullopt}});
}

// Ten thousand games with info texts of every storage form (Null, empty, in the row, one
// long-value row, a chain of them, the longest allowed): far more pages than one inline
// usage map covers.
void TestCatalogueTool::largeCatalogue() {
    const int infoLengths[] = {-1, 0, 1, 32, 33, 700, 2038, 2039, MaxInfoLength};
    QByteArray csv = "id,name,fenlei,youxianji,info\n";
    std::vector<Game> games;
    for (int i = 0; i < 10000; ++i) {
        const int infoLength = infoLengths[i % std::size(infoLengths)];
        // Physical order is not id order; a few names have the longest length allowed.
        Game game{QString::number(i * 7919 % 100003),
                  i % 1000 == 0 ? textOf(MaxNameLength, i) : QString(u"游戏"_s + QString::number(i)),
                  QString::number(i % 3 + 1), QString::number((i % 40) / 4.0),
                  infoLength < 0 ? std::nullopt : std::optional(textOf(infoLength, i))};
        const QString info = game.info ? QString(u'"' + *game.info + u'"') : QString();
        csv += QStringList{game.id, *game.name, game.fenlei, game.youxianji, info}.join(',').toUtf8() + '\n';
        games.push_back(std::move(game));
    }
    QFile input(temp(QStringLiteral("large.csv")));
    QVERIFY(input.open(QIODevice::WriteOnly));
    input.write(csv);
    input.close();

    const QString output = temp(QStringLiteral("large.mdb"));
    QCOMPARE(runTool({input.fileName(), output}).exitCode, 0);
    QVERIFY(QFileInfo(output).size() > 512 * velmora::jet::PageSize);
    compareGames(output, games);
}

void TestCatalogueTool::databasePassword_data() {
    QTest::addColumn<QString>("password");
    QTest::newRow("the catalogue's") << QString(velmora::CatalogueSchema::Password);
    QTest::newRow("none") << QString();
    QTest::newRow("twenty characters") << u"密码密码密码密码密码abcdefghij"_s;
}

// The header keeps the password masked; reading it back through the reader's decoder proves
// the mask and the creation date agree.
void TestCatalogueTool::databasePassword() {
    QFETCH(QString, password);
    const QString output = temp(QStringLiteral("password.mdb"));
    QCOMPARE(velmora::tools::writeCatalogue({{1, u"扫雷"_s, 1, 1, std::nullopt}}, output, password),
             QString());
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(velmora::jet::readDatabasePassword(file.read(velmora::jet::PageSize)), std::optional(password));
    compareGames(output, {{"1", u"扫雷"_s, "1", "1", std::nullopt}});
}

void TestCatalogueTool::refusesWhatCannotBeStored() {
    const QString output = temp(QStringLiteral("refused.mdb"));
    QVERIFY(velmora::tools::writeCatalogue({}, output, QString(21, u'1')).contains(u"password"_s));
    const QString reason = velmora::tools::writeCatalogue(
        {{1, u"a"_s, 1, 1, std::nullopt}, {7, u"b"_s, 1, 1, u"\U0001F3AE"_s}}, output);
    QVERIFY2(reason.contains(u"record 2 (id 7): info"_s), qPrintable(reason));
    QVERIFY(!QFile::exists(output));
}

void TestCatalogueTool::rejectsBadInput_data() {
    QTest::addColumn<QByteArray>("csv");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    const QByteArray header = "id,name,fenlei,youxianji,info\n";
    auto row = [&](const char* name, const QByteArray& body, int line, const QString& reason) {
        QTest::newRow(name) << header + body << line << reason;
    };
    QTest::newRow("empty file") << QByteArray() << 1 << u"header"_s;
    QTest::newRow("wrong header") << QByteArray("id,name,fenlei,youxianji\n1,a,1,1\n") << 1 << u"header"_s;
    QTest::newRow("header with a quoted comma")
        << QByteArray("\"id,name\",fenlei,youxianji,info\n") << 1 << u"header"_s;
    row("unterminated quote", "1,a,1,1,ok\n2,\"b,1,1,x\n3,c,1,1,\n", 3, u"not closed"_s);
    row("text after a closing quote", "1,\"a\"b,1,1,\n", 2, u"after the closing quote"_s);
    row("quote inside a field", "1,a\"b\",1,1,\n", 2, u"quote inside"_s);
    row("too few fields", "1,a,1,1\n", 2, u"expected 5 fields, found 4"_s);
    row("too many fields", "1,a,1,1,x,y\n", 2, u"expected 5 fields, found 6"_s);
    row("line after a multi-line field", "1,a,1,1,\"x\ny\r\nz\"\n2,b,1,1,x,y\n", 5, u"found 6"_s);
    row("blank line between records", "1,a,1,1,\n\n2,b,1,1,\n", 3, u"empty line"_s);
    row("duplicate id", "1,a,1,1,\n2,b,1,1,\n1,c,1,1,\n", 4, u"id 1 is already used on line 2"_s);
    row("empty id", ",a,1,1,\n", 2, u"id is empty"_s);
    row("empty fenlei", "1,a,,1,\n", 2, u"fenlei is empty"_s);
    row("quoted empty youxianji", "1,a,1,\"\",\n", 2, u"youxianji is empty"_s);
    row("non-numeric id", "x1,a,1,1,\n", 2, u"id \"x1\" is not a whole number"_s);
    row("fractional fenlei", "1,a,1.5,1,\n", 2, u"fenlei \"1.5\" is not a whole number"_s);
    row("id out of range", "2147483648,a,1,1,\n", 2, u"id 2147483648 is out of range"_s);
    row("fenlei out of range", "1,a,-2147483649,1,\n", 2, u"fenlei -2147483649 is out of range"_s);
    row("decimal comma", "1,a,1,\"2,5\",\n", 2, u"youxianji \"2,5\" is not a number"_s);
    row("youxianji overflow", "1,a,1,1e999,\n", 2, u"youxianji 1e999 is out of range"_s);
    row("youxianji not a number", "1,a,1,nan,\n", 2, u"youxianji \"nan\" is not a number"_s);
    row("name too long", "1," + QByteArray(256, 'a') + ",1,1,\n", 2, u"name is 256 characters long"_s);
    row("info too long", "1,a,1,1," + QString(MaxInfoLength + 1, u'游').toUtf8() + "\n", 2,
        u"info is 5001 characters long"_s);
    row("character outside the BMP", "1,a,1,1,\xF0\x9F\x8E\xAE\n", 2, u"Basic Multilingual Plane"_s);
    row("NUL character", QByteArray("1,a\0b,1,1,\n", 11), 2, u"U+0000"_s);
    row("leading byte order mark",
        "1,\xEF\xBB\xBF"
        "a,1,1,\n",
        2, u"U+FEFF"_s);
    row("invalid UTF-8", "1,\xFF,1,1,\n", 2, u"not valid UTF-8"_s);
}

// Bad input names its line and reason, fails, and leaves nothing behind in the output folder.
void TestCatalogueTool::rejectsBadInput() {
    QFETCH(QByteArray, csv);
    QFETCH(int, line);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QFile input(dir.filePath(QStringLiteral("in.csv")));
    QVERIFY(input.open(QIODevice::WriteOnly));
    input.write(csv);
    input.close();

    const Run run = runTool({input.fileName(), dir.filePath(QStringLiteral("out.mdb"))});
    QCOMPARE(run.exitCode, 1);
    QVERIFY2(run.errorOutput.contains(u"line %1: "_s.arg(line)), qPrintable(run.errorOutput));
    QVERIFY2(run.errorOutput.contains(reason), qPrintable(run.errorOutput));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{u"in.csv"_s});
}

void TestCatalogueTool::failedRunKeepsExistingFile() {
    const QString output = temp(QStringLiteral("kept.mdb"));
    QCOMPARE(runTool({data(QStringLiteral("games.csv")), output}).exitCode, 0);
    QFile file(output);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();

    QFile bad(temp(QStringLiteral("bad.csv")));
    QVERIFY(bad.open(QIODevice::WriteOnly));
    bad.write("id,name,fenlei,youxianji,info\n1,a,1,x,\n");
    bad.close();
    QCOMPARE(runTool({bad.fileName(), output}).exitCode, 1);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), before);
}

// Such a name is stored as written, and the tool tells which games the list shows otherwise.
void TestCatalogueTool::warnsOfNamesWithLineBreaks() {
    QFile input(temp(QStringLiteral("breaks.csv")));
    QVERIFY(input.open(QIODevice::WriteOnly));
    input.write(u"id,name,fenlei,youxianji,info\n"
                "5,\"两行\n名字\",1,1,\n"
                "6,一行,1,1,\"说明\n两行\"\n"
                "7,\"回车\r\n换行\",1,1,\n"_s.toUtf8());
    input.close();
    const QString output = temp(QStringLiteral("breaks.mdb"));
    const Run run = runTool({input.fileName(), output});
    QCOMPARE(run.exitCode, 0);
    const QStringList warnings = run.errorOutput.split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(warnings.size(), 2);
    QVERIFY(warnings[0].contains(u"warning: the name of game 5 "_s));
    QVERIFY(warnings[1].contains(u"warning: the name of game 7 "_s));
    compareGames(output, {{"5", u"两行\n名字"_s, "1", "1", std::nullopt},
                          {"6", u"一行"_s, "1", "1", u"说明\n两行"_s},
                          {"7", u"回车\r\n换行"_s, "1", "1", std::nullopt}});
}

void TestCatalogueTool::commandLineErrors() {
    QCOMPARE(runTool({}).exitCode, 2);
    QCOMPARE(runTool({data(QStringLiteral("games.csv"))}).exitCode, 2);

    const Run missing = runTool({temp(QStringLiteral("missing.csv")), temp(QStringLiteral("x.mdb"))});
    QCOMPARE(missing.exitCode, 1);
    QVERIFY(missing.errorOutput.contains(u"cannot read"_s));

    const Run noFolder = runTool({data(QStringLiteral("games.csv")), temp(QStringLiteral("no/such/x.mdb"))});
    QCOMPARE(noFolder.exitCode, 1);
    QVERIFY(noFolder.errorOutput.contains(u"cannot create"_s));

    QVERIFY(QFile::copy(data(QStringLiteral("games.csv")), temp(QStringLiteral("same.csv"))));
    QCOMPARE(runTool({temp(QStringLiteral("same.csv")), temp(QStringLiteral("same.csv"))}).exitCode, 1);
}

QTEST_GUILESS_MAIN(TestCatalogueTool)
#include "tst_catalogue_tool.moc"
