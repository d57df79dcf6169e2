#include "settings/OrderFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;

class OrderFileTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void linesAndTheirEnds_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QByteArrayList>("rows");
        QTest::newRow("empty line skipped") << QByteArray("A\r\n\r\nB\r\n") << QByteArrayList{"A", "B"};
        QTest::newRow("lone CR") << QByteArray("A\rB\r\rC") << QByteArrayList{"A", "B", "C"};
        QTest::newRow("lone LF") << QByteArray("A\nB\n") << QByteArrayList{"A", "B"};
        QTest::newRow("last line without end") << QByteArray("A\r\nB") << QByteArrayList{"A", "B"};
        QTest::newRow("blanks and commas kept")
            << QByteArray(" A, \"b\" \r\n\t\r\n") << QByteArrayList{" A, \"b\" ", "\t"};
        QTest::newRow("only line ends") << QByteArray("\r\n\r\r\n\n") << QByteArrayList{};
        QTest::newRow("nothing") << QByteArray() << QByteArrayList{};
        QTest::newRow("NUL inside a row")
            << QByteArray("a\0b\r\n", 5) << QByteArrayList{QByteArray("a\0b", 3)};
    }

    void linesAndTheirEnds() {
        QFETCH(QByteArray, content);
        QFETCH(QByteArrayList, rows);
        QCOMPARE(OrderFile::parse(content), rows);
    }

    void everyRowEndsInCrLf() {
        QCOMPARE(OrderFile::compose({"A", "B"}), QByteArray("A\r\nB\r\n"));
        QCOMPARE(OrderFile::compose({}), QByteArray());
    }

    void missingUnreadableAndWritten() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("b01.inb"));
        const QString temp = dir.filePath(QStringLiteral("b01.inb.tmp"));
        QCOMPARE(OrderFile::read(file), QByteArrayList());

        QVERIFY(OrderFile::write(file, temp, {"\xb7\xbd\xbf\xe9", "B"}));
        QCOMPARE(OrderFile::read(file), (QByteArrayList{"\xb7\xbd\xbf\xe9", "B"}));
        QVERIFY(!QFile::exists(temp));

        // A folder in the file's place cannot be read, and is not an empty list either.
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("b02.inb"))));
        QCOMPARE(OrderFile::read(dir.filePath(QStringLiteral("b02.inb"))), std::nullopt);
        QVERIFY(
            QFile::link(dir.filePath(QStringLiteral("nowhere")), dir.filePath(QStringLiteral("b03.inb"))));
        QCOMPARE(OrderFile::read(dir.filePath(QStringLiteral("b03.inb"))), std::nullopt);
    }
};

QTEST_GUILESS_MAIN(OrderFileTest)

#include "tst_order_file.moc"
