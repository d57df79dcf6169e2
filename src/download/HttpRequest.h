#pragma once

#include <QByteArray>
#include <QNetworkReply>
#include <QObject>
#include <QUrl>

class QNetworkAccessManager;

namespace velmora {

// One asynchronous HTTP GET at a time, in the shape the block transfer uses: open, add
// headers, send, then poll for completion and read status, body and headers. The object can
// be opened again for the next request; a request still running is then abandoned.
class HttpRequest : public QObject {
    Q_OBJECT
public:
    // Uses the program's shared network access (one connection pool, kept alive).
    HttpRequest();
    ~HttpRequest() override;

    void open(const QUrl& url);
    void setRequestHeader(const QByteArray& name, const QByteArray& value);
    void send();
    // A body that grows past this is cut off there and the response counts as complete, so a
    // hostile server cannot fill the memory.
    void setMaxBodySize(qsizetype bytes) { m_maxBodySize = bytes; }

    bool isComplete() const { return m_complete; }
    // The HTTP status of the final response (after redirects); 0 until complete, and 0 when
    // no status line arrived at all.
    int status() const { return m_status; }
    // The exchange broke off below HTTP: nothing answered, or the connection died.
    bool transportFailed() const;
    const QByteArray& responseBody() const { return m_body; }
    // Empty when the response has no such header.
    QByteArray responseHeader(const QByteArray& name) const;

    // Processes events until the response is complete or maxMs have passed, whichever comes
    // first. Safe to nest: every call waits in its own event loop.
    void waitForCompletion(int maxMs);

Q_SIGNALS:
    void completed();

private:
    void readBody();
    void complete();
    void discardReply();

    QNetworkRequest m_request;
    QNetworkReply* m_reply = nullptr;
    QByteArray m_body;
    qsizetype m_maxBodySize = -1;
    bool m_complete = false;
    int m_status = 0;
    QNetworkReply::NetworkError m_error = QNetworkReply::NoError;
};

} // namespace velmora
