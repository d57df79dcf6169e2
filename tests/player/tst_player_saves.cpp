// What games save through the emulator, on disk: kept across runs, each game's apart, bounded,
// and never lost or mixed up by a bad file or a bad key.
#include "platform/web/GameSaves.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace velmora::test {

namespace {

const QString kGame = QStringLiteral("0123456789abcdef0123456789abcdef");
const QString kOther = QStringLiteral("fedcba9876543210fedcba9876543210");

QString key(const QString& game, const QString& name) {
    return game + QStringLiteral("/game.swf/") + name;
}

} // namespace

class PlayerSavesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void savedEntriesAreThereOnTheNextRun();
    void eachGameSeesOnlyItsOwnEntries();
    void gameCannotKeepMoreThanItsShare();
    void damagedFileCountsAsEmptyAndIsReplaced();
    void badGameIdsReachNoFile_data();
    void badGameIdsReachNoFile();
    void unwritableFolderIsReported();

private:
    QString folder() const { return m_dir->filePath(QStringLiteral("data/saves")); }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void PlayerSavesTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void PlayerSavesTest::savedEntriesAreThereOnTheNextRun() {
    {
        GameSaves saves(folder()); // the folder does not exist yet
        QVERIFY(saves.load(kGame).isEmpty());
        QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("progress")), QStringLiteral("AAEC")));
        QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("settings")), QStringLiteral("AwQF")));
        QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("progress")), QStringLiteral("BgcI")));
        QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("#a/b")), QStringLiteral("中文")));
    }
    GameSaves saves(folder());
    const GameSaves::Entries expected{{key(kGame, QStringLiteral("progress")), QStringLiteral("BgcI")},
                                      {key(kGame, QStringLiteral("settings")), QStringLiteral("AwQF")},
                                      {key(kGame, QStringLiteral("#a/b")), QStringLiteral("中文")}};
    QCOMPARE(saves.load(kGame), expected);
    QVERIFY(saves.remove(kGame, key(kGame, QStringLiteral("settings"))));
    QVERIFY(saves.remove(kGame, key(kGame, QStringLiteral("never saved"))));
    QCOMPARE(GameSaves(folder()).load(kGame).keys(),
             (QStringList{key(kGame, QStringLiteral("#a/b")), key(kGame, QStringLiteral("progress"))}));
    // Written whole: no temporary file is left beside it.
    QCOMPARE(QDir(folder()).entryList(QDir::Files), QStringList{kGame + QStringLiteral(".json")});
}

void PlayerSavesTest::eachGameSeesOnlyItsOwnEntries() {
    GameSaves saves(folder());
    QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("score")), QStringLiteral("MQ==")));
    QVERIFY(saves.put(kOther, key(kOther, QStringLiteral("score")), QStringLiteral("Mg==")));
    QCOMPARE(saves.load(kGame).value(key(kGame, QStringLiteral("score"))), QStringLiteral("MQ=="));
    QCOMPARE(saves.load(kOther).value(key(kOther, QStringLiteral("score"))), QStringLiteral("Mg=="));

    // A key of another game, or one that merely starts like the game's id, is refused.
    QVERIFY(!saves.put(kGame, key(kOther, QStringLiteral("score")), QStringLiteral("eA==")));
    QVERIFY(!saves.put(kGame, kGame + QStringLiteral("x/score"), QStringLiteral("eA==")));
    QVERIFY(!saves.put(kGame, kGame + u'/', QStringLiteral("eA==")));
    QVERIFY(!saves.remove(kGame, key(kOther, QStringLiteral("score"))));
    QCOMPARE(saves.load(kOther).size(), 1);

    // Entries of another game copied into a game's file by hand stay with their own game.
    QFile file(folder() + u'/' + kGame + QStringLiteral(".json"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("{\"%1\":\"MQ==\",\"%2\":\"Mg==\",\"%3\":7}")
                   .arg(key(kGame, QStringLiteral("score")), key(kOther, QStringLiteral("x")),
                        key(kGame, QStringLiteral("n")))
                   .toUtf8());
    file.close();
    QCOMPARE(saves.load(kGame).keys(), QStringList{key(kGame, QStringLiteral("score"))});
}

void PlayerSavesTest::gameCannotKeepMoreThanItsShare() {
    GameSaves saves(folder());
    const QString first = key(kGame, QStringLiteral("a"));
    const QString second = key(kGame, QStringLiteral("b"));
    const qsizetype half = GameSaves::GameLimit / 2;
    QVERIFY(saves.put(kGame, first, QString(half - first.size(), u'x')));
    QVERIFY(saves.put(kGame, second, QString(half - second.size(), u'y'))); // exactly the limit
    QVERIFY(!saves.put(kGame, second, QString(half - second.size() + 1, u'z')));
    // Nothing of the refused entry; a smaller value still fits, and other games are not held.
    QCOMPARE(saves.load(kGame).value(second), QString(half - second.size(), u'y'));
    QVERIFY(saves.put(kGame, second, QStringLiteral("small")));
    QVERIFY(saves.put(kOther, key(kOther, QStringLiteral("a")), QString(half, u'o')));
}

void PlayerSavesTest::damagedFileCountsAsEmptyAndIsReplaced() {
    QVERIFY(QDir().mkpath(folder()));
    for (const QByteArray& damage : {QByteArray("{\"" + kGame.toLatin1() + "/game.swf/a\":\"QQ"), QByteArray("[1,2]"),
                                     QByteArray("\0\xff\xfe", 3), QByteArray()}) {
        QFile file(folder() + u'/' + kGame + QStringLiteral(".json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(damage);
        file.close();
        GameSaves saves(folder());
        QVERIFY(saves.load(kGame).isEmpty());
        QVERIFY(saves.put(kGame, key(kGame, QStringLiteral("a")), QStringLiteral("QQ==")));
        QCOMPARE(GameSaves(folder()).load(kGame).size(), 1);
    }
}

void PlayerSavesTest::badGameIdsReachNoFile_data() {
    QTest::addColumn<QString>("game");
    QTest::newRow("empty") << QString();
    QTest::newRow("path") << QStringLiteral("../../../../tmp/x");
    QTest::newRow("upper case") << kGame.toUpper();
    QTest::newRow("short") << kGame.left(31);
    QTest::newRow("long") << kGame + u'0';
    QTest::newRow("not hexadecimal") << QStringLiteral("0123456789abcdef0123456789abcdeg");
}

void PlayerSavesTest::badGameIdsReachNoFile() {
    QFETCH(QString, game);
    GameSaves saves(folder());
    QVERIFY(!saves.put(game, game + QStringLiteral("/game.swf/a"), QStringLiteral("QQ==")));
    QVERIFY(!saves.remove(game, game + QStringLiteral("/game.swf/a")));
    QVERIFY(saves.load(game).isEmpty());
    QCOMPARE(QDir(m_dir->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
}

void PlayerSavesTest::unwritableFolderIsReported() {
    // A file where the folder should be: the save fails and says so.
    QFile blocker(m_dir->filePath(QStringLiteral("data")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    GameSaves saves(folder());
    QVERIFY(!saves.put(kGame, key(kGame, QStringLiteral("a")), QStringLiteral("QQ==")));
    QVERIFY(saves.load(kGame).isEmpty());
}

} // namespace velmora::test

QTEST_GUILESS_MAIN(velmora::test::PlayerSavesTest)
#include "tst_player_saves.moc"
