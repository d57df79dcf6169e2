#include "support/ScriptedServer.h"

#include <QFile>
#include <QTcpServer>

#include <chrono>
#include <cstdio>
#include <stdexcept>

namespace velmora::test {

ScriptedServer::ScriptedServer(int port) {
    // httplib writes the headers and the body separately; without this, Nagle's algorithm and
    // the client's delayed acknowledgement hold every response back for tens of milliseconds.
    m_server.set_tcp_nodelay(true);
    m_server.set_keep_alive_max_count(1000);
    // Idle kept-alive connections hold a server thread; let them go soon when stopping.
    m_server.set_keep_alive_timeout(1);
    m_server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
        dispatch(request, response);
    });
    m_port = port == 0 ? m_server.bind_to_any_port("127.0.0.1")
                       : (m_server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (m_port <= 0)
        throw std::runtime_error("cannot bind a port on 127.0.0.1");
    // The socket already listens; connections wait in its backlog until the thread accepts.
    m_thread = std::thread([this] { m_server.listen_after_bind(); });
}

ScriptedServer::~ScriptedServer() {
    reset();
    m_server.stop();
    m_thread.join();
}

QString ScriptedServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1/").arg(m_port);
}

QString ScriptedServer::url(const QString& path) const {
    return baseUrl() + path;
}

void ScriptedServer::serveFiles(const QString& folder) {
    if (!m_server.set_mount_point("/", QFile::encodeName(folder).toStdString()))
        throw std::runtime_error("cannot serve a folder that does not exist");
}

void ScriptedServer::route(const std::string& path, Handler handler) {
    const std::lock_guard lock(m_mutex);
    m_routes[path] = std::move(handler);
}

void ScriptedServer::reset() {
    const std::lock_guard lock(m_mutex);
    m_routes.clear();
    m_log.clear();
    ++m_generation;
    m_released.notify_all();
}

std::vector<ScriptedServer::LoggedRequest> ScriptedServer::requests() const {
    const std::lock_guard lock(m_mutex);
    return m_log;
}

void ScriptedServer::stall() {
    std::unique_lock lock(m_mutex);
    const unsigned generation = m_generation;
    m_released.wait(lock, [&] { return m_generation != generation; });
}

void ScriptedServer::dispatch(const httplib::Request& request, httplib::Response& response) {
    // The scripts answer ranges themselves; stop the library from slicing their bodies again.
    // (The request object is the server's own non-const local.)
    const_cast<httplib::Request&>(request).ranges.clear();
    Handler handler;
    {
        const std::lock_guard lock(m_mutex);
        m_log.push_back({request.path, request.get_header_value("Range"),
                         request.get_header_value("Content-Type"), request.remote_port});
        if (const auto it = m_routes.find(request.path); it != m_routes.end())
            handler = it->second;
    }
    if (handler)
        handler(request, response);
    else
        response.status = 404;
}

RequestedRange requestedRange(const httplib::Request& request) {
    const std::string value = request.get_header_value("Range");
    RequestedRange range;
    if (std::sscanf(value.c_str(), "bytes=%lld-%lld", &range.first, &range.last) < 1)
        range.first = -1;
    return range;
}

void replaceHeader(httplib::Response& response, const std::string& name, const std::string& value) {
    response.headers.erase(name);
    if (!value.empty())
        response.set_header(name, value);
}

ScriptedServer::Handler serveRanges(QByteArray content, BlockTweak tweak) {
    return [content, tweak](const httplib::Request& request, httplib::Response& response) {
        const RequestedRange asked = requestedRange(request);
        const qint64 size = content.size();
        if (!request.has_header("Range")) {
            response.status = 200;
            response.body = content.toStdString();
        } else if (asked.first < 0 || asked.first >= size) {
            response.status = 416;
            replaceHeader(response, "Content-Range", "bytes */" + std::to_string(size));
        } else {
            const qint64 last = asked.last < 0 ? size - 1 : std::min(asked.last, size - 1);
            response.status = 206;
            replaceHeader(response, "Content-Range",
                          "bytes " + std::to_string(asked.first) + '-' + std::to_string(last) + '/' +
                              std::to_string(size));
            response.body.assign(content.constData() + asked.first, last - asked.first + 1);
            replaceHeader(response, "Content-Type", "application/octet-stream");
        }
        if (tweak)
            tweak(asked.first, response);
    };
}

ScriptedServer::Handler answer(int status, QByteArray body) {
    return [status, body](const httplib::Request&, httplib::Response& response) {
        response.status = status;
        response.body = body.toStdString();
    };
}

ScriptedServer::Handler Gate::hold(ScriptedServer::Handler handler) const {
    return [open = m_open, handler](const httplib::Request& request, httplib::Response& response) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        while (!open->load() && std::chrono::steady_clock::now() < end)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        handler(request, response);
    };
}

int closedPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    return probe.serverPort(); // closed again when probe goes
}

} // namespace velmora::test
