// The small state files under cons/: their first value, read as one field of a comma-delimited
// text file in the GBK code page, and the site folder the program takes from it.
#include "common/TextValueFile.h"
#include "download/RemoteGameFolder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace velmora;

using MaybeValue = std::optional<QString>;
Q_DECLARE_METATYPE(MaybeValue)

class CommonTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    QString writeFile(const QByteArray& content) {
        QFile file(m_dir.filePath(QStringLiteral("value.inb")));
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            qFatal("cannot write the value file");
        return file.fileName();
    }

private Q_SLOTS:
    void firstValue_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<MaybeValue>("value");
        const auto row = [](const char* name, const QByteArray& content, MaybeValue value) {
            QTest::newRow(name) << content << value;
        };
        const auto text = [](const char* s) { return MaybeValue(QString::fromUtf8(s)); };

        // Where the value ends.
        row("whole line", "abcdefghijklmn\r\n", text("abcdefghijklmn"));
        row("at the first comma", "abcdefghij,xyz\r\n", text("abcdefghij"));
        row("at an empty second field", "ab,,cd", text("ab"));
        row("at a line feed", "abc\ndef,ghi", text("abc"));
        row("at a carriage return", "abc\rdef", text("abc"));
        row("no line end", "abcdef", text("abcdef"));
        row("blanks inside stay", "ab cd ,e", text("ab cd "));
        // Blanks before the value.
        row("leading spaces and tabs", " \t  abc,def", text("abc"));
        // Quotes.
        row("quoted", "\"abcdefghij\"\r\n", text("abcdefghij"));
        row("quoted comma belongs to the value", "\"ab,cd\",ef\r\n", text("ab,cd"));
        row("blanks before the quote", "  \"x y\"", text("x y"));
        row("unclosed quote ends at the line end", "\"ab,cd\r\nef\"", text("ab,cd"));
        row("a quote inside is kept", "ab\"cd,e", text("ab\"cd"));
        // Text in the GBK code page.
        row("GBK", "\xbe\xb5\xcf\xf1,\xcf\xf1", text("镜像"));
        row("GBK with Latin", "a\xbe\xb5z\r\n", text("a镜z"));
        row("broken GBK is replaced", "a\xbe", text("a\xef\xbf\xbd"));
        // No value, or an empty one.
        row("empty file", "", std::nullopt);
        row("only blanks", "   \t", std::nullopt);
        row("empty first line", "\r\nabcdefghij\r\n", text(""));
        row("blank first line", "   \r\nabcdefghij", text(""));
        row("empty quotes", "\"\",abc", text(""));
        row("leading comma", ",abc", text(""));
    }

    void firstValue() {
        QFETCH(QByteArray, content);
        QFETCH(MaybeValue, value);
        QCOMPARE(TextValueFile::firstValue(content), value);
        // The same from a file.
        QCOMPARE(TextValueFile::readFirstValue(writeFile(content)), value);
    }

    void missingFileHasNoValue() {
        QCOMPARE(TextValueFile::readFirstValue(m_dir.filePath(QStringLiteral("missing.inb"))), MaybeValue());
        QCOMPARE(TextValueFile::readFirstValue(m_dir.path()), MaybeValue());
    }

    void remoteGameFolderFromTheMirrorFile_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("folder");
        QTest::newRow("characters 10, 11, 4, 5") << QByteArray("abcdefghijklmn\r\n") << QStringLiteral("jkde");
        QTest::newRow("comma cuts the value") << QByteArray("abcdefghij,xyz\r\n") << QStringLiteral("jde");
        QTest::newRow("quoted, blanks first") << QByteArray("  \"abcdefghijk\"") << QStringLiteral("jkde");
        QTest::newRow("too short") << QByteArray("abc") << QString();
        QTest::newRow("GBK") << QByteArray("012\xbe\xb5\xcf\xf1" "6789\xcf\xf1x") << QStringLiteral("像x镜像");
    }

    void remoteGameFolderFromTheMirrorFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, folder);
        QCOMPARE(remoteGameFolderFrom(TextValueFile::firstValue(content).value_or(QString())), folder);
    }
};

QTEST_GUILESS_MAIN(CommonTest)

#include "tst_common.moc"
