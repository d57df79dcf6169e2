#include "support/BoxInstallation.h"

#include "common/BuildSettings.h"
#include "common/SitePaths.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QUrl>

#include <csignal>
#include <sys/types.h>

namespace velmora::test {

namespace {

// Runs program with arguments; the error with its output, or empty.
QString run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        return program + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll());
    return {};
}

QString store(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        return QStringLiteral("cannot write ") + path;
    return {};
}

// A process that has ended but whose parent has not yet collected it counts as ended.
bool isRunning(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = stat.readAll();
    return !line.mid(line.lastIndexOf(')') + 2).startsWith('Z');
}

} // namespace

BoxInstallation::BoxInstallation(const QString& root)
    : m_root(root)
    , m_paths(root + QStringLiteral("/program")) {
    m_error = installProgramFolder(m_paths.appPath());
    if (!m_error.isEmpty())
        return;
    // An installed program folder has no cons/ yet: the operator's archive brings it.
    QDir().mkpath(QFileInfo(m_paths.catalogueFile()).absolutePath());
    m_error = run(QStringLiteral(VELMORA_CATALOGUE_TOOL),
                  {QStringLiteral(VELMORA_DEMO_DIR "/catalogue.csv"), m_paths.catalogueFile()});
    if (m_error.isEmpty())
        m_error = store(m_paths.programVersionFile(), QByteArray(ProgramVersion) + "\r\n");
    for (const auto& [path, content] : playerFiles().asKeyValueRange())
        if (m_error.isEmpty())
            m_error = store(path, content);
    QDir().mkpath(m_root + QStringLiteral("/tmp"));
}

QMap<QString, QByteArray> BoxInstallation::playerFiles() const {
    return {
        {m_paths.mirrorFile(), QByteArrayLiteral("jkde\r\n")},
        {m_paths.catalogueVersionFile(), QByteArrayLiteral("1\r\n")},
        {m_paths.gameFile(101), QByteArrayLiteral("FWS\x0a a downloaded game")},
        {m_paths.favouritesFolder() + QStringLiteral("/我的游戏.swf"),
         QByteArrayLiteral("FWS\x0a the player's own")},
        {m_paths.orderFile(QStringLiteral("b01.inb")), QByteArrayLiteral("102\r\n101\r\n")},
        {m_paths.local(QStringLiteral("cons/备注.txt")),
         QByteArrayLiteral("a file the program does not know")},
    };
}

QMap<QString, QByteArray> BoxInstallation::userData() const {
    QMap<QString, QByteArray> data;
    QStringList files = playerFiles().keys();
    files.append(m_paths.catalogueFile());
    for (const QString& path : files) {
        QFile file(path);
        data[path] = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArrayLiteral("<missing>");
    }
    return data;
}

void BoxInstallation::start(QProcess& box, int tickMs) const {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("VELMORA_DEMO_STARTUP_TICK_MS"), QString::number(tickMs));
    environment.insert(QStringLiteral("TMPDIR"), m_root + QStringLiteral("/tmp"));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), m_root + QStringLiteral("/data"));
    // Chromium refuses its sandbox as root; a session bus that fails at once, not after a wait.
    environment.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), QStringLiteral("unix:path=/nonexistent"));
    box.setProcessEnvironment(environment);
    box.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    box.setStandardOutputFile(QProcess::nullDevice());
    box.setWorkingDirectory(m_paths.appPath());
    box.start(m_paths.programFile(), {});
}

QString installProgramFolder(const QString& folder) {
    return run(
        QStringLiteral(VELMORA_CMAKE_COMMAND),
        {QStringLiteral("--install"), QStringLiteral(VELMORA_BUILD_DIR), QStringLiteral("--prefix"), folder});
}

QString makeUpdateProgram(const QString& folder, const QString& output) {
    return run(QStringLiteral(VELMORA_MAKE_UPDATE_TOOL),
               {folder, QStringLiteral(VELMORA_DEMO_DIR "/update-demo.key"), output});
}

namespace {

std::string sitePath(const QString& url) {
    return QUrl(url).path().toStdString();
}

int builtInSitePort() {
    return QUrl(QString::fromUtf8(SiteBaseUrl)).port(80);
}

} // namespace

std::optional<ShownWindow> waitForWindow(const ScreenWindows& screen, const QString& title, qint64 exceptPid,
                                         std::chrono::milliseconds limit) {
    const QDeadlineTimer deadline(limit);
    while (!deadline.hasExpired()) {
        for (const ShownWindow& window : screen.withTitle(title))
            if (window.pid != exceptPid)
                return window;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(5);
    }
    return std::nullopt;
}

bool closeAndWait(ScreenWindows& screen, const ShownWindow& window, std::chrono::milliseconds limit) {
    screen.close(window);
    const QDeadlineTimer deadline(limit);
    while (isRunning(window.pid) && !deadline.hasExpired())
        QThread::msleep(20);
    if (!isRunning(window.pid))
        return true;
    ::kill(pid_t(window.pid), SIGKILL);
    return false;
}

UpdateOffer::UpdateOffer(const QString& root)
    : m_newVersion(root + QStringLiteral("/new")) {
    m_error = installProgramFolder(m_newVersion.appPath());
    const QString marker = m_newVersion.local(QStringLiteral("player/version-b"));
    const QString page = m_newVersion.fallbackPage();
    QFile original(page);
    const QByteArray pageContent = original.open(QIODevice::ReadOnly) ? original.readAll() : QByteArray();
    if (m_error.isEmpty())
        m_error = store(marker, "B");
    if (m_error.isEmpty())
        m_error = store(page, pageContent + "<!-- version B -->");
    const QString package = root + QStringLiteral("/update.exe");
    if (m_error.isEmpty())
        m_error = makeUpdateProgram(m_newVersion.appPath(), package);
    if (!m_error.isEmpty())
        return;
    try {
        m_server = std::make_unique<ScriptedServer>(builtInSitePort());
    } catch (const std::exception&) {
        m_error = QStringLiteral("the port of the box's site is taken (does the demo run?)");
        return;
    }
    QFile packed(package);
    if (!packed.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("cannot read ") + package;
        return;
    }
    const SitePaths site(QString::fromUtf8(SiteBaseUrl));
    m_server->route(sitePath(site.catalogueVersion()), serveRanges("1\r\n"));
    m_server->route(sitePath(site.programVersion()), serveRanges(QByteArray(OfferedVersion) + "\r\n"));
    m_server->route(sitePath(site.updateProgram()), serveRanges(packed.readAll()));
}

UpdateOffer::~UpdateOffer() = default;

std::optional<ShownWindow> answerAnnouncement(ScreenWindows& screen, RealInput& input, qint64 pid,
                                              std::chrono::milliseconds limit) {
    // A message box carries the product's name alone; the main window adds the version.
    const auto announcement = waitForWindow(screen, QString::fromUtf8(ProductName), 0, limit);
    if (!announcement || announcement->pid != pid)
        return std::nullopt;
    screen.focus(*announcement);
    input.pressKey(XK_Return);
    return announcement;
}

} // namespace velmora::test
