// Throughput of DownloadToFile on loopback against libcurl doing the same 20480-byte range
// sequence on one kept-alive connection, and against one plain GET of the whole file; and the
// longest stall of the event loop while our download runs. Prints figures; asserts nothing.
//
// bench_download [latency-ms]: the server waits that long before each answer, as a network
// between the two ends would.

#include "support/ScriptedServer.h"

#include "download/BlockTransfer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QTemporaryDir>
#include <QTimer>

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <set>
#include <thread>

using namespace velmora;

namespace {

constexpr int FileSize = 5 * 1024 * 1024;
constexpr int Runs = 5;

size_t collect(char* data, size_t size, size_t count, void* sink) {
    static_cast<std::string*>(sink)->append(data, size * count);
    return size * count;
}

// One easy handle for every request, so libcurl keeps its connection alive.
class CurlClient {
public:
    CurlClient()
        : m_curl(curl_easy_init()) {
        m_headers = curl_slist_append(nullptr, "Content-Type: application/octet-stream");
        curl_easy_setopt(m_curl, CURLOPT_WRITEFUNCTION, collect);
        curl_easy_setopt(m_curl, CURLOPT_WRITEDATA, &m_body);
    }
    ~CurlClient() {
        curl_slist_free_all(m_headers);
        curl_easy_cleanup(m_curl);
    }

    // The block loop's sequence of requests, ending when the last byte has arrived.
    bool fetchRanges(const std::string& url) {
        curl_easy_setopt(m_curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, m_headers);
        std::string content;
        for (long start = 0;; start += DownloadBlockSize) {
            const std::string range = std::to_string(start) + '-' + std::to_string(start + DownloadBlockSize);
            curl_easy_setopt(m_curl, CURLOPT_RANGE, range.c_str());
            m_body.clear();
            if (curl_easy_perform(m_curl) != CURLE_OK)
                return false;
            content.resize(start);
            content += m_body;
            if (start + DownloadBlockSize >= FileSize - 1)
                return content.size() == FileSize;
        }
    }

    bool fetchWhole(const std::string& url) {
        curl_easy_setopt(m_curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(m_curl, CURLOPT_HTTPHEADER, nullptr);
        curl_easy_setopt(m_curl, CURLOPT_RANGE, nullptr);
        m_body.clear();
        return curl_easy_perform(m_curl) == CURLE_OK && m_body.size() == FileSize;
    }

private:
    CURL* m_curl;
    curl_slist* m_headers;
    std::string m_body;
};

// The same range sequence through Qt's network access alone, without any of our checks: the
// ceiling for a client built on it.
bool fetchRangesWithQt(QNetworkAccessManager& manager, const QUrl& url) {
    QByteArray content;
    for (qint64 start = 0; start < FileSize; start += DownloadBlockSize) {
        QNetworkRequest request(url);
        request.setRawHeader("Range", "bytes=" + QByteArray::number(start) + '-' +
                                          QByteArray::number(start + DownloadBlockSize));
        QNetworkReply* reply = manager.get(request);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        loop.exec();
        content.truncate(start);
        content += reply->readAll();
        delete reply;
    }
    return content.size() == FileSize;
}

// Best of Runs: the figure least disturbed by whatever else the machine is doing.
double bestMegabytesPerSecond(const std::function<bool()>& run) {
    qint64 bestNs = std::numeric_limits<qint64>::max();
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        if (!run())
            return 0;
        bestNs = std::min(bestNs, clock.nsecsElapsed());
    }
    return FileSize / 1e6 / (bestNs / 1e9);
}

// A 1 ms timer: the longest time between two of its ticks (or the last tick and the end) is
// the longest stall of the event loop while work runs.
qint64 longestStallNs(const std::function<void()>& work) {
    QElapsedTimer sinceTick;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, sinceTick.nsecsElapsed());
        sinceTick.start();
    });
    sinceTick.start();
    ticker.start(1);
    work();
    return std::max(longest, sinceTick.nsecsElapsed());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    test::ScriptedServer server;
    QByteArray content(FileSize, Qt::Uninitialized);
    for (int i = 0; i < FileSize; ++i)
        content[i] = char(i * 31 + i / 4093);
    const int latencyMs = argc > 1 ? std::atoi(argv[1]) : 0;
    server.route("/5mb.bin", [latencyMs, blocks = test::serveRanges(content)](const httplib::Request& request,
                                                                              httplib::Response& response) {
        std::this_thread::sleep_for(std::chrono::milliseconds(latencyMs));
        blocks(request, response);
    });
    const QUrl url(server.baseUrl() + QStringLiteral("5mb.bin"));
    QTemporaryDir dir;
    const QString tempPath = dir.filePath(QStringLiteral("5mb.part"));
    const QString finalPath = dir.filePath(QStringLiteral("5mb.bin"));

    const double ours = bestMegabytesPerSecond([&] { return DownloadToFile(url, tempPath, finalPath); });
    // Measured apart: the 1 ms timer costs the event loop a thousand wake-ups a second.
    qint64 ourStallNs = 0;
    for (int i = 0; i < Runs; ++i)
        ourStallNs = std::max(ourStallNs, longestStallNs([&] { DownloadToFile(url, tempPath, finalPath); }));
    std::set<int> connections;
    for (const auto& request : server.requests())
        connections.insert(request.remotePort);
    const size_t requests = server.requests().size();
    const qint64 idleStallNs = longestStallNs([] {
        QEventLoop idle;
        QTimer::singleShot(1000, &idle, &QEventLoop::quit);
        idle.exec();
    });

    QNetworkAccessManager manager;
    const double qtOnly = bestMegabytesPerSecond([&] { return fetchRangesWithQt(manager, url); });

    curl_global_init(CURL_GLOBAL_DEFAULT);
    const std::string curlUrl = url.toString().toStdString();
    double curlRanges = 0;
    double curlWhole = 0;
    {
        CurlClient curl;
        curlRanges = bestMegabytesPerSecond([&] { return curl.fetchRanges(curlUrl); });
        curlWhole = bestMegabytesPerSecond([&] { return curl.fetchWhole(curlUrl); });
    }
    curl_global_cleanup();

    std::printf(
        "5 MiB over loopback in %d-byte blocks, best of %d runs; server: cpp-httplib in this process, "
        "answering after %d ms\n",
        DownloadBlockSize, Runs, latencyMs);
    std::printf(
        "DownloadToFile (written and synced)        %8.1f MB/s  (%zu requests on %zu connection(s))\n", ours,
        requests, connections.size());
    std::printf("libcurl, same ranges, one kept-alive conn. %8.1f MB/s  ours/this = %.2f\n", curlRanges,
                ours / curlRanges);
    std::printf("libcurl, one plain GET of the whole file   %8.1f MB/s  ours/this = %.2f\n", curlWhole,
                ours / curlWhole);
    std::printf("Qt network access alone, same ranges       %8.1f MB/s  ours/this = %.2f\n", qtOnly,
                ours / qtOnly);
    std::printf(
        "longest event-loop stall during DownloadToFile: %.1f ms (same timer, idle for 1 s: %.1f ms)\n",
        ourStallNs / 1e6, idleStallNs / 1e6);
    return 0;
}
