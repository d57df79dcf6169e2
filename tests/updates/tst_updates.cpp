#include "SignedFileTest.h"

#include "common/InstallPaths.h"
#include "common/SignedFile.h"
#include "common/SitePaths.h"
#include "download/Updates.h"
#include "platform/ProgramStart.h"
#include "support/RecordingMessageSink.h"
#include "support/ScriptedServer.h"
#include "support/TestFiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace velmora;
using velmora::test::RecordingMessageSink;
using velmora::test::ScriptedServer;
using velmora::test::readFile;
using velmora::test::writeFile;

namespace {

constexpr PollBudget ShortBudget{20, 50};


const SignedFile::KeyPair& operatorKey() {
    static const SignedFile::KeyPair pair = SignedFile::makeKeyPair();
    return pair;
}

// Stands in for an update program: a script that records how it was started. The trailer after
// "exit" is never read by the shell.
QByteArray updateScript() {
    return QByteArrayLiteral("#!/bin/sh\n"
                             "echo \"$#\" > \"$(dirname \"$0\")/started.txt\"\n"
                             "exit 0\n");
}

QByteArray signedUpdate() {
    return SignedFile::sign(updateScript(), operatorKey().secretKey);
}

const QByteArray OldCatalogue("old catalogue");
const QByteArray NewCatalogue("new catalogue, byte for byte as served");

} // namespace

class UpdatesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();

    void equalCatalogueVersionsFetchNothingElse_data();
    void equalCatalogueVersionsFetchNothingElse();
    void newCatalogueReplacesTheDatabase();
    void failedDatabaseDownloadStillRecordsTheVersion();
    void missingOrEmptyInstalledVersionTakesTheOffer_data();
    void missingOrEmptyInstalledVersionTakesTheOffer();
    void emptyOfferIsDropped();
    void unreachableSiteChangesNothing();

    void equalProgramVersionsFetchNoUpdateProgram();
    void updateProgramMissingOnTheSite();
    void signedUpdateProgramIsAnnouncedStartedAndEndsTheRun();
    void unsignedUpdateProgramCountsAsFailedDownload_data();
    void unsignedUpdateProgramCountsAsFailedDownload();
    void updateProgramThatCannotStartKeepsTheOffer();
    void leftOverUpdateProgramIsNotStartedForAFailedDownload();
    void updateProgramRunsDetachedWithNoArguments();

private:
    UpdateContext context() {
        return {*m_paths,
                SitePaths(m_server.baseUrl()),
                m_messages,
                operatorKey().publicKey,
                [this](const QString& program) {
                    m_started << program;
                    return m_startSucceeds;
                },
                [this] { ++m_closed; },
                ShortBudget};
    }
    void offerProgram(const QByteArray& offered, const QByteArray& installed) {
        m_server.route("/gengxin/update.txt", test::serveRanges(offered));
        writeFile(m_paths->programVersionFile(), installed);
    }
    QStringList requested() const {
        QStringList paths;
        for (const auto& request : m_server.requests()) {
            const QString path = QString::fromStdString(request.path);
            if (!paths.contains(path))
                paths << path;
        }
        return paths;
    }
    QStringList consFiles() const {
        return QDir(m_dir->path() + QStringLiteral("/cons")).entryList(QDir::Files, QDir::Name);
    }
    // The program update did nothing: no message, no start, the offer kept for the next run.
    void checkOfferKept(const QByteArray& offered, const QByteArray& installed) {
        QVERIFY(m_messages.shown.empty());
        QVERIFY(m_started.isEmpty());
        QCOMPARE(m_closed, 0);
        QCOMPARE(readFile(m_paths->programVersionFile()), installed);
        QCOMPARE(readFile(m_paths->programVersionCopy()), offered);
        QVERIFY(!QFile::exists(m_paths->updateProgram()));
        QVERIFY(!QFile::exists(m_paths->updateProgramTempFile()));
    }

    ScriptedServer m_server;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<InstallPaths> m_paths;
    RecordingMessageSink m_messages;
    QStringList m_started;
    bool m_startSucceeds = true;
    int m_closed = 0;
};

void UpdatesTest::init() {
    m_server.reset();
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("cons")));
    m_paths = std::make_unique<InstallPaths>(m_dir->path());
    writeFile(m_paths->catalogueFile(), OldCatalogue);
    m_messages = RecordingMessageSink();
    m_started.clear();
    m_startSucceeds = true;
    m_closed = 0;
}

void UpdatesTest::equalCatalogueVersionsFetchNothingElse_data() {
    QTest::addColumn<QByteArray>("installed");
    QTest::addColumn<QByteArray>("offered");
    QTest::newRow("same text") << QByteArray("7\r\n") << QByteArray("7\r\n");
    QTest::newRow("only the first value counts") << QByteArray("5") << QByteArray("5,beta\r\n");
    QTest::newRow("blanks and quotes around it") << QByteArray("\"2024a\"") << QByteArray("  2024a\n");
    QTest::newRow("GBK text") << QByteArray("\xb0\xe6\xb1\xbe") << QByteArray("\xb0\xe6\xb1\xbe\r\n");
}

void UpdatesTest::equalCatalogueVersionsFetchNothingElse() {
    QFETCH(QByteArray, installed);
    QFETCH(QByteArray, offered);
    writeFile(m_paths->catalogueVersionFile(), installed);
    m_server.route("/gengxin/gengxin.txt", test::serveRanges(offered));
    m_server.route("/gengxin/db1.txt", test::serveRanges(NewCatalogue));

    UpdateCatalogue(context());

    QCOMPARE(requested(), QStringList{QStringLiteral("/gengxin/gengxin.txt")});
    QCOMPARE(readFile(m_paths->catalogueFile()), OldCatalogue);
    QCOMPARE(readFile(m_paths->catalogueVersionFile()), installed);
    QCOMPARE(consFiles(), (QStringList{QStringLiteral("db1.mdb"), QStringLiteral("gengxin.inb")}));
}

void UpdatesTest::newCatalogueReplacesTheDatabase() {
    // Versions are never parsed: any difference in the text is a new catalogue.
    const std::pair<const char*, const char*> cases[] = {{"1", "2"}, {"1.0", "1.00"}, {"a", "A"}, {"3", "2"}};
    for (const auto& [installed, offered] : cases) {
        init();
        writeFile(m_paths->catalogueVersionFile(), installed);
        m_server.route("/gengxin/gengxin.txt", test::serveRanges(QByteArray(offered) + "\r\n"));
        m_server.route("/gengxin/db1.txt", test::serveRanges(NewCatalogue));

        UpdateCatalogue(context());

        QCOMPARE(requested(),
                 (QStringList{QStringLiteral("/gengxin/gengxin.txt"), QStringLiteral("/gengxin/db1.txt")}));
        QCOMPARE(readFile(m_paths->catalogueFile()), NewCatalogue);
        QCOMPARE(readFile(m_paths->catalogueVersionFile()), QByteArray(offered) + "\r\n");
        QCOMPARE(consFiles(), (QStringList{QStringLiteral("db1.mdb"), QStringLiteral("gengxin.inb")}));
        QVERIFY(m_messages.shown.empty());
    }
}

void UpdatesTest::failedDatabaseDownloadStillRecordsTheVersion() {
    writeFile(m_paths->catalogueVersionFile(), "1");
    m_server.route("/gengxin/gengxin.txt", test::serveRanges("2"));
    m_server.route("/gengxin/db1.txt", test::answer(500));

    UpdateCatalogue(context());

    QCOMPARE(readFile(m_paths->catalogueFile()), OldCatalogue);
    QCOMPARE(readFile(m_paths->catalogueVersionFile()), QByteArray("2"));
    QCOMPARE(consFiles(), (QStringList{QStringLiteral("db1.mdb"), QStringLiteral("gengxin.inb")}));

    // Not asked for again until the site offers yet another version.
    m_server.reset();
    m_server.route("/gengxin/gengxin.txt", test::serveRanges("2"));
    UpdateCatalogue(context());
    QCOMPARE(requested(), QStringList{QStringLiteral("/gengxin/gengxin.txt")});
}

void UpdatesTest::missingOrEmptyInstalledVersionTakesTheOffer_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("installed");
    QTest::newRow("missing") << false << QByteArray();
    QTest::newRow("empty") << true << QByteArray();
    QTest::newRow("blanks only") << true << QByteArray("   ");
}

void UpdatesTest::missingOrEmptyInstalledVersionTakesTheOffer() {
    QFETCH(bool, present);
    QFETCH(QByteArray, installed);
    if (present)
        writeFile(m_paths->catalogueVersionFile(), installed);
    m_server.route("/gengxin/gengxin.txt", test::serveRanges("9"));
    m_server.route("/gengxin/db1.txt", test::serveRanges(NewCatalogue));

    UpdateCatalogue(context());
    QCOMPARE(readFile(m_paths->catalogueFile()), NewCatalogue);
    QCOMPARE(readFile(m_paths->catalogueVersionFile()), QByteArray("9"));

    // Once repaired, the next run finds the versions equal.
    m_server.reset();
    m_server.route("/gengxin/gengxin.txt", test::serveRanges("9"));
    UpdateCatalogue(context());
    QCOMPARE(requested(), QStringList{QStringLiteral("/gengxin/gengxin.txt")});
    QVERIFY(!QFile::exists(m_paths->catalogueVersionCopy()));
}

void UpdatesTest::emptyOfferIsDropped() {
    writeFile(m_paths->catalogueVersionFile(), "1");
    writeFile(m_paths->programVersionFile(), "1");
    m_server.route("/gengxin/gengxin.txt", test::serveRanges(" \r\n"));
    m_server.route("/gengxin/update.txt", test::serveRanges(" "));

    UpdateCatalogue(context());
    UpdateProgram(context());

    QCOMPARE(requested(),
             (QStringList{QStringLiteral("/gengxin/gengxin.txt"), QStringLiteral("/gengxin/update.txt")}));
    QCOMPARE(consFiles(), (QStringList{QStringLiteral("db1.mdb"), QStringLiteral("gengxin.inb"),
                                       QStringLiteral("update.inb")}));
}

void UpdatesTest::unreachableSiteChangesNothing() {
    writeFile(m_paths->catalogueVersionFile(), "1");
    writeFile(m_paths->programVersionFile(), "1");
    UpdateContext offline = context();
    offline.site = SitePaths(QStringLiteral("http://127.0.0.1:%1/").arg(test::closedPort()));

    UpdateCatalogue(offline);
    UpdateProgram(offline);

    QCOMPARE(consFiles(), (QStringList{QStringLiteral("db1.mdb"), QStringLiteral("gengxin.inb"),
                                       QStringLiteral("update.inb")}));
    QCOMPARE(readFile(m_paths->catalogueFile()), OldCatalogue);
    QVERIFY(m_messages.shown.empty());
    QVERIFY(m_started.isEmpty());
}

void UpdatesTest::equalProgramVersionsFetchNoUpdateProgram() {
    offerProgram("1.0,beta\r\n", "1.0");
    m_server.route("/gengxin/update.exe", test::serveRanges(signedUpdate()));

    UpdateProgram(context());

    QCOMPARE(requested(), QStringList{QStringLiteral("/gengxin/update.txt")});
    QVERIFY(!QFile::exists(m_paths->programVersionCopy()));
    QCOMPARE(readFile(m_paths->programVersionFile()), QByteArray("1.0"));
    QVERIFY(m_messages.shown.empty());
    QVERIFY(m_started.isEmpty());
}

void UpdatesTest::updateProgramMissingOnTheSite() {
    offerProgram("1.1", "1.0");

    UpdateProgram(context());

    QCOMPARE(requested(),
             (QStringList{QStringLiteral("/gengxin/update.txt"), QStringLiteral("/gengxin/update.exe")}));
    checkOfferKept("1.1", "1.0");
}

void UpdatesTest::signedUpdateProgramIsAnnouncedStartedAndEndsTheRun() {
    offerProgram("1.00", "1.0");
    m_server.route("/gengxin/update.exe", test::serveRanges(signedUpdate()));
    bool startedBeforeAnnouncement = false;
    m_messages.onShow = [&] {
        startedBeforeAnnouncement = !m_started.isEmpty();
    };

    UpdateProgram(context());

    QCOMPARE(m_messages.shown.size(), size_t(1));
    const RecordingMessageSink::Shown& shown = m_messages.shown.front();
    QCOMPARE(shown.text, QStringLiteral("软件有更新，需立刻升级"));
    QVERIFY(shown.caption.isEmpty()); // the application's title
    QCOMPARE(shown.icon, MessageSink::Icon::None);
    QCOMPARE(shown.buttons, MessageSink::Buttons::Ok);
    QVERIFY(!startedBeforeAnnouncement);
    QCOMPARE(m_started, QStringList{m_paths->updateProgram()});
    QCOMPARE(readFile(m_paths->updateProgram()), signedUpdate());
    QCOMPARE(readFile(m_paths->programVersionFile()), QByteArray("1.00"));
    QVERIFY(!QFile::exists(m_paths->programVersionCopy()));
    QCOMPARE(m_closed, 1);
}

void UpdatesTest::unsignedUpdateProgramCountsAsFailedDownload_data() {
    QTest::addColumn<QByteArray>("served");
    const QByteArray good = signedUpdate();
    QByteArray flipped = good;
    flipped[20] = char(flipped[20] ^ 0x20);
    QTest::newRow("a flipped byte") << flipped;
    QTest::newRow("truncated") << good.chopped(30);
    QTest::newRow("signed by another key")
        << SignedFile::sign(updateScript(), SignedFile::makeKeyPair().secretKey);
    QTest::newRow("no trailer") << updateScript();
}

void UpdatesTest::unsignedUpdateProgramCountsAsFailedDownload() {
    QFETCH(QByteArray, served);
    offerProgram("2", "1");
    m_server.route("/gengxin/update.exe", test::serveRanges(served));

    UpdateProgram(context());
    checkOfferKept("2", "1");

    // The next run tries again, and a correctly signed program then goes through.
    m_server.route("/gengxin/update.exe", test::serveRanges(signedUpdate()));
    UpdateProgram(context());
    QCOMPARE(m_started.size(), 1);
    QCOMPARE(readFile(m_paths->programVersionFile()), QByteArray("2"));
}

void UpdatesTest::updateProgramThatCannotStartKeepsTheOffer() {
    offerProgram("2", "1");
    m_server.route("/gengxin/update.exe", test::serveRanges(signedUpdate()));
    m_startSucceeds = false;

    UpdateProgram(context());

    QCOMPARE(m_messages.shown.size(), size_t(1));
    QCOMPARE(m_started.size(), 1);
    QCOMPARE(m_closed, 0);
    // Not recorded as installed: the next run offers the update again.
    QCOMPARE(readFile(m_paths->programVersionFile()), QByteArray("1"));
    QCOMPARE(readFile(m_paths->programVersionCopy()), QByteArray("2"));
}

void UpdatesTest::leftOverUpdateProgramIsNotStartedForAFailedDownload() {
    offerProgram("2", "1");
    writeFile(m_paths->updateProgram(), signedUpdate());

    UpdateProgram(context());

    QVERIFY(m_messages.shown.empty());
    QVERIFY(m_started.isEmpty());
    QCOMPARE(readFile(m_paths->programVersionFile()), QByteArray("1"));

    // Nor is a left-over file that is not signed, even when asked to install it.
    writeFile(m_paths->updateProgram(), updateScript());
    InstallProgramUpdate(context());
    QVERIFY(m_started.isEmpty());
    QVERIFY(!QFile::exists(m_paths->updateProgram()));
}

void UpdatesTest::updateProgramRunsDetachedWithNoArguments() {
    offerProgram("2", "1");
    m_server.route("/gengxin/update.exe", test::serveRanges(signedUpdate()));
    UpdateContext real = context();
    real.startProgram = startDetachedProgram;

    UpdateProgram(real);

    QCOMPARE(m_closed, 1);
    // Fetched without execute permission, it was made executable to start.
    const QFile::Permissions rwxr_xr_x = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                         QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                         QFile::ExeOther;
    const QFile::Permissions modeBits(0x7077);
    QCOMPARE(QFileInfo(m_paths->updateProgram()).permissions() & modeBits, rwxr_xr_x);
    const QString record = m_dir->path() + QStringLiteral("/cons/started.txt");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(record).size() > 0, 20000);
    QCOMPARE(readFile(record), QByteArray("0\n"));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    int status = 0;
    {
        UpdatesTest updates;
        status |= QTest::qExec(&updates, argc, argv);
    }
    {
        SignedFileTest signedFiles;
        status |= QTest::qExec(&signedFiles, argc, argv);
    }
    return status;
}

#include "tst_updates.moc"
