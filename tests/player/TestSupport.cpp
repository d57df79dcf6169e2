#include "TestSupport.h"

#include "platform/web/WebEngineSetup.h"

#include "MovieWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QTcpServer>
#include <QTest>
#include <QThread>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <httplib.h>
#include <unistd.h>

namespace velmora::test {

using Op = swf::Avm1Code::Op;

void prepareTestWebEngine() {
    prepareWebEngine();
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

DataServer::DataServer()
    : m_server(std::make_unique<httplib::Server>()) {
    m_server->set_mount_point("/", VELMORA_TEST_DATA);
    // Bound and listening from here on: connections wait until the thread accepts them.
    m_port = m_server->bind_to_any_port("127.0.0.1");
    m_thread.reset(QThread::create([this] { m_server->listen_after_bind(); }));
    m_thread->start();
}

DataServer::~DataServer() {
    m_server->stop();
    m_thread->wait();
}

QString DataServer::url(const QString& path) const {
    return QStringLiteral("http://127.0.0.1:%1/%2").arg(m_port).arg(path);
}

int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}

QString dataFile(const QString& name) {
    return QStringLiteral(VELMORA_TEST_DATA "/") + name;
}

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

QWebEnginePage* pageOf(QWidget* widget) {
    return widget->findChild<QWebEngineView*>()->page();
}

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [result](const QVariant& v) { *result = v; });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, 30000))
        return {};
    return result->value();
}

QByteArray stillMovie(int width, int height, double frameRate) {
    swf::MovieWriter m(width, height, frameRate);
    m.setBackground({0, 80, 160});
    m.place(m.defineCircle(width / 4.0, {250, 200, 0}), 1, {width / 2.0, height / 2.0},
            QStringLiteral("sun"));
    m.showFrame();
    m.showFrame();
    return m.finish();
}

QByteArray keyProbeMovie(const QString& url) {
    swf::MovieWriter m(200, 150, 30);
    swf::Avm1Code c;
    const int up = c.newLabel();
    c.push({65}).callMethod(QStringLiteral("Key"), QStringLiteral("isDown"), 1).op(Op::Not).branchIfTrue(up);
    c.getUrl(url, QStringLiteral("_blank"));
    c.bind(up);
    m.doAction(c);
    m.showFrame();
    m.showFrame();
    return m.finish();
}

} // namespace velmora::test
