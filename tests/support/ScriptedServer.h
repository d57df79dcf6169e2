#pragma once

#include <QByteArray>
#include <QString>

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace velmora::test {

// A real HTTP server on 127.0.0.1, in a thread of its own, whose answers are scripted per
// path, or that serves the files of a folder. Paths without a script or a file are answered 404.
class ScriptedServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;
    struct LoggedRequest {
        std::string path;
        std::string range;
        std::string contentType;
        int remotePort = 0;
    };

    // port 0: any free port. A given port is for a program whose site address is built in.
    explicit ScriptedServer(int port = 0);
    ~ScriptedServer();

    QString baseUrl() const;
    // baseUrl() + path.
    QString url(const QString& path) const;
    void route(const std::string& path, Handler handler);
    // Serves the files below folder as a static web server does; scripted paths are not asked.
    void serveFiles(const QString& folder);
    // Forgets all scripts and the request log, and lets stalled handlers go.
    void reset();
    std::vector<LoggedRequest> requests() const;
    // For a handler: blocks until reset() or the end of the server, as a server that never
    // answers.
    void stall();

private:
    void dispatch(const httplib::Request& request, httplib::Response& response);

    httplib::Server m_server;
    int m_port = 0;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_released;
    unsigned m_generation = 0;
    std::map<std::string, Handler> m_routes;
    std::vector<LoggedRequest> m_log;
};

// The requested range of a "bytes=first-last" header; last is -1 when open-ended.
struct RequestedRange {
    qint64 first = 0;
    qint64 last = -1;
};
RequestedRange requestedRange(const httplib::Request& request);

// Sets a header, replacing any earlier value (httplib's set_header adds one more); an empty
// value removes it.
void replaceHeader(httplib::Response& response, const std::string& name, const std::string& value);

// Answers requests for content as a correct server does: 206 with the slice and its
// Content-Range, 416 past the end, 200 with everything when no range is asked for. tweak, when
// given, then alters the answer to a block.
using BlockTweak = std::function<void(qint64 first, httplib::Response&)>;
ScriptedServer::Handler serveRanges(QByteArray content, BlockTweak tweak = {});

// Answers every request with status and body, ignoring any range.
ScriptedServer::Handler answer(int status, QByteArray body = {});

// Holds the answers of a handler back until it is opened (or a minute has passed), so that a
// test can act while the program waits for an answer. Copies share one state.
class Gate {
public:
    void open() const { m_open->store(true); }
    ScriptedServer::Handler hold(ScriptedServer::Handler handler) const;

private:
    std::shared_ptr<std::atomic<bool>> m_open = std::make_shared<std::atomic<bool>>(false);
};

// A loopback port on which nothing listens.
int closedPort();

} // namespace velmora::test
