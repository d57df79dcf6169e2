#include "SignedFileTest.h"

#include "common/SignedFile.h"

#include <QTest>

using namespace velmora;

namespace {

const SignedFile::KeyPair& operatorKey() {
    static const SignedFile::KeyPair pair = SignedFile::makeKeyPair();
    return pair;
}

QByteArray program() {
    QByteArray bytes("\x7f"
                     "ELF");
    for (int i = 0; i < 5000; ++i)
        bytes.append(char(i * 31));
    return bytes;
}

QByteArray flipped(QByteArray content, qsizetype at) {
    content[at] = char(content[at] ^ 0x01);
    return content;
}

} // namespace

void SignedFileTest::onlyTheOperatorsUntouchedFileVerifies_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("verifies");

    const QByteArray good = SignedFile::sign(program(), operatorKey().secretKey);
    const qsizetype payloadSize = program().size();
    QTest::newRow("signed") << good << true;
    QTest::newRow("empty payload signed") << SignedFile::sign({}, operatorKey().secretKey) << true;
    QTest::newRow("byte flipped at the start") << flipped(good, 0) << false;
    QTest::newRow("byte flipped before the trailer") << flipped(good, payloadSize - 1) << false;
    QTest::newRow("byte flipped in the signature") << flipped(good, payloadSize + 10) << false;
    QTest::newRow("byte flipped in the magic") << flipped(good, good.size() - 1) << false;
    QTest::newRow("truncated by one byte") << good.chopped(1) << false;
    QTest::newRow("payload cut short") << good.sliced(100) << false;
    QTest::newRow("a byte appended") << good + 'x' << false;
    QTest::newRow("signed by another key")
        << SignedFile::sign(program(), SignedFile::makeKeyPair().secretKey) << false;
    QTest::newRow("no trailer") << program() << false;
    QTest::newRow("trailer alone, zeroes")
        << QByteArray(SignedFile::SignatureSize, '\0') + SignedFile::Magic << false;
    QTest::newRow("shorter than a trailer") << QByteArray("VMSIGN01") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void SignedFileTest::onlyTheOperatorsUntouchedFileVerifies() {
    QFETCH(QByteArray, content);
    QFETCH(bool, verifies);
    QCOMPARE(SignedFile::verify(content, operatorKey().publicKey), verifies);
    if (verifies) {
        // The payload is left as it was, so a signed program still runs.
        QCOMPARE(content.size() >= SignedFile::TrailerSize, true);
        QVERIFY(content.endsWith(SignedFile::Magic));
    }
}

void SignedFileTest::keysOfTheWrongShapeAreRefused() {
    const QByteArray good = SignedFile::sign(program(), operatorKey().secretKey);
    QVERIFY(!SignedFile::verify(good, operatorKey().publicKey.chopped(1)));
    QVERIFY(!SignedFile::verify(good, QByteArray()));
    QVERIFY(SignedFile::sign(program(), operatorKey().secretKey.chopped(1)).isEmpty());

    const QByteArray hex = operatorKey().publicKey.toHex();
    QCOMPARE(SignedFile::keyFromHex(hex, SignedFile::PublicKeySize), operatorKey().publicKey);
    QVERIFY(SignedFile::keyFromHex(hex.chopped(2), SignedFile::PublicKeySize).isEmpty());
    QVERIFY(SignedFile::keyFromHex(hex + "00", SignedFile::PublicKeySize).isEmpty());
    QVERIFY(SignedFile::keyFromHex(QByteArray(hex).replace(0, 1, "g"), SignedFile::PublicKeySize).isEmpty());
    QVERIFY(SignedFile::keyFromHex(QByteArray(hex).replace(0, 1, " "), SignedFile::PublicKeySize).isEmpty());
}
