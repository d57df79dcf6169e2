#include "download/BlockTransfer.h"

#include "common/FileHelpers.h"
#include "download/ContentRange.h"
#include "download/HttpRequest.h"

#include <QCoreApplication>
#include <algorithm>
#include <optional>

namespace velmora {

namespace {

// Step 7 of the judgement of a response, after the 416 test; the order is part of the
// behaviour (a 404 that arrives counts as a missing file, not as a time-out).
std::optional<TransferFailure> judge(const HttpRequest& request) {
    switch (request.status()) {
    case 403:
        return TransferFailure::Forbidden;
    case 404:
        return TransferFailure::NotFound;
    }
    if (!request.isComplete())
        return TransferFailure::TimedOut;
    if (request.transportFailed())
        return TransferFailure::Broken;
    // A 416 after the first block lands here too: the file changed under us, and the bytes
    // held so far cannot be known to be all of it.
    if (request.status() > 299)
        return TransferFailure::ServerError;
    if (request.status() != 206)
        return TransferFailure::NotPartial;
    return std::nullopt;
}

// Puts the blocks together, accepting only the exact block that was asked for, so that no
// byte is ever stored at the wrong place or counted that did not arrive.
class BlockAssembler {
public:
    bool add(qint32 start, const ContentRange& range, const QByteArray& body) {
        const qint64 expectedLast =
            std::min<qint64>(qint64(start) + DownloadBlockSize, qint64(range.total) - 1);
        const bool fits = range.first == start && range.last == expectedLast &&
                          body.size() == qsizetype(range.last) - range.first + 1 &&
                          range.total <= MaxDownloadSize && (!m_total || *m_total == range.total) &&
                          // The byte shared with the previous block must not have changed.
                          (start == 0 || m_content.at(start) == body.at(0));
        if (!fits)
            return false;
        m_total = range.total;
        m_content.truncate(start);
        m_content.append(body);
        return true;
    }

    const QByteArray& content() const { return m_content; }

private:
    QByteArray m_content;
    std::optional<qint32> m_total;
};

// The requests of one transfer, one block at a time, until the file is complete.
class BlockLoop {
public:
    BlockLoop(const QUrl& url, TransferObserver& observer, PollBudget budget)
        : m_url(url)
        , m_observer(observer)
        , m_budget(budget) {
        // No correct block is longer; a longer body is cut short and then refused.
        m_request.setMaxBodySize(DownloadBlockSize + 1);
    }

    // Nothing when the content is complete, else why it is not.
    std::optional<TransferFailure> run() {
        for (qint32 start = 0;; start += DownloadBlockSize) {
            requestBlock(start);
            awaitResponse();
            if (m_request.status() == 416 && start == 0)
                return std::nullopt; // only an empty file has no byte 0
            if (const auto failure = judge(m_request))
                return failure;
            const QByteArray header = m_request.responseHeader("Content-Range");
            if (header.isEmpty())
                m_observer.sizeMissing();
            const auto range = parseContentRange(header);
            if (!range || !m_blocks.add(start, *range, m_request.responseBody()))
                return TransferFailure::Broken;
            m_observer.progressed(range->last, range->total);
            if (range->total - range->last == 1)
                return std::nullopt;
            QCoreApplication::processEvents();
        }
    }

    const QByteArray& content() const { return m_blocks.content(); }

private:
    void requestBlock(qint32 start) {
        m_request.open(m_url);
        m_request.setRequestHeader("Range", "bytes=" + QByteArray::number(start) + '-' +
                                                QByteArray::number(qint64(start) + DownloadBlockSize));
        m_request.setRequestHeader("Content-Type", "application/octet-stream");
        m_request.send();
    }

    void awaitResponse() {
        for (int poll = 0; poll < m_budget.count && !m_request.isComplete(); ++poll)
            m_request.waitForCompletion(m_budget.intervalMs);
    }

    const QUrl m_url;
    TransferObserver& m_observer;
    const PollBudget m_budget;
    HttpRequest m_request;
    BlockAssembler m_blocks;
};

std::optional<TransferFailure> fetchIntoFile(const QUrl& url, const QString& path, TransferObserver& observer,
                                             PollBudget budget) {
    if (!createEmptyFile(path))
        return TransferFailure::Broken;
    observer.started();
    BlockLoop loop(url, observer, budget);
    if (const auto failure = loop.run())
        return failure;
    if (!writeFileDurably(path, loop.content()))
        return TransferFailure::Broken;
    return std::nullopt;
}

} // namespace

bool transferToFile(const QUrl& url, const QString& path, TransferObserver& observer, PollBudget budget) {
    const auto failure = fetchIntoFile(url, path, observer, budget);
    if (!failure)
        return true;
    observer.failed(*failure);
    // When even the delete fails there is nothing left to do; the caller sees the failure.
    static_cast<void>(DeleteIfExists(path));
    return false;
}

bool DownloadToFile(const QUrl& url, const QString& tempPath, const QString& finalPath, PollBudget budget) {
    TransferObserver silent;
    return transferToFile(url, tempPath, silent, budget) && PromoteTempFile(tempPath, finalPath);
}

} // namespace velmora
