#include "download/HttpRequest.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QPointer>
#include <QTimer>

namespace velmora {

namespace {

// Created on first use and owned by the application object, so that every download shares
// one connection pool and the manager goes away before the application does.
QNetworkAccessManager& sharedNetworkAccess() {
    static QPointer<QNetworkAccessManager> manager;
    if (!manager)
        manager = new QNetworkAccessManager(QCoreApplication::instance());
    return *manager;
}

} // namespace

HttpRequest::HttpRequest() = default;

HttpRequest::~HttpRequest() {
    discardReply();
}

void HttpRequest::open(const QUrl& url) {
    discardReply();
    m_request = QNetworkRequest(url);
    // Follow redirects as a browser does, but never from https down to http.
    m_request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                           QNetworkRequest::NoLessSafeRedirectPolicy);
    // Byte ranges must count the stored bytes, not those of a compressed rendering.
    m_request.setRawHeader("Accept-Encoding", "identity");
    m_body.clear();
    m_complete = false;
    m_status = 0;
    m_error = QNetworkReply::NoError;
}

void HttpRequest::setRequestHeader(const QByteArray& name, const QByteArray& value) {
    m_request.setRawHeader(name, value);
}

void HttpRequest::send() {
    m_reply = sharedNetworkAccess().get(m_request);
    // Let Qt read no further ahead than needed to see that a body is too long.
    if (m_maxBodySize >= 0)
        m_reply->setReadBufferSize(m_maxBodySize + 1);
    connect(m_reply, &QNetworkReply::readyRead, this, &HttpRequest::readBody);
    connect(m_reply, &QNetworkReply::finished, this, &HttpRequest::complete);
}

bool HttpRequest::transportFailed() const {
    // Codes below 200 are the connection's and the proxy's; from 200 on they restate an HTTP
    // status, which the caller judges itself.
    return m_status == 0 ||
           (m_error != QNetworkReply::NoError && m_error < QNetworkReply::ContentAccessDenied);
}

QByteArray HttpRequest::responseHeader(const QByteArray& name) const {
    return m_reply ? m_reply->rawHeader(name) : QByteArray();
}

void HttpRequest::waitForCompletion(int maxMs) {
    if (m_complete)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &HttpRequest::completed, &loop, &QEventLoop::quit);
    timer.start(maxMs);
    loop.exec();
}

void HttpRequest::readBody() {
    m_body += m_reply->readAll();
    // The error code is taken before the cut, so an oversized body is no transport failure.
    if (m_maxBodySize >= 0 && m_body.size() > m_maxBodySize)
        complete();
}

void HttpRequest::complete() {
    if (m_complete)
        return;
    m_body += m_reply->readAll();
    m_status = m_reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    m_error = m_reply->error();
    m_complete = true;
    // Stop the transfer (a no-op once it has finished); the headers stay readable.
    m_reply->disconnect(this);
    m_reply->abort();
    Q_EMIT completed();
}

void HttpRequest::discardReply() {
    if (!m_reply)
        return;
    m_reply->disconnect(this);
    m_reply->abort();
    delete m_reply;
    m_reply = nullptr;
}

} // namespace velmora
