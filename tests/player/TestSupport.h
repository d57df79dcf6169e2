#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

namespace httplib {
class Server;
}
class QThread;
class QWebEnginePage;
class QWidget;

namespace velmora::test {

// Before the QApplication: the engine's switches of the program, and no sandbox when running
// as root (the engine refuses to start otherwise).
void prepareTestWebEngine();

// Serves the files of tests/player/data on 127.0.0.1; other paths are answered 404.
class DataServer {
public:
    DataServer();
    ~DataServer();
    QString url(const QString& path) const;

private:
    std::unique_ptr<httplib::Server> m_server;
    std::unique_ptr<QThread> m_thread;
    int m_port = 0;
};

// A loopback port on which nothing listens.
int closedPort();
QString dataFile(const QString& name);
// Copies the folder from and everything in it to to; false when a file could not be copied.
bool copyFolder(const QString& from, const QString& to);
// The page shown by the web view inside a browser or player widget.
QWebEnginePage* pageOf(QWidget* widget);
// Runs script in page and returns its result, waiting for it.
QVariant evaluate(QWebEnginePage* page, const QString& script);

// Movies written for the tests.
QByteArray stillMovie(int width, int height, double frameRate);
// Two frames, looping: the first calls getURL(url, "_blank") while the A key is down.
QByteArray keyProbeMovie(const QString& url);

} // namespace velmora::test
