#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace velmora {

// Each request asks for the bytes from start to start + DownloadBlockSize inclusive, so
// successive blocks overlap by one byte.
inline constexpr qint32 DownloadBlockSize = 20480;
// A response is awaited for at most ReadyPollCount polls of up to ReadyPollSleepMs each.
inline constexpr int ReadyPollCount = 480;
inline constexpr int ReadyPollSleepMs = 50;
// The whole file is held in memory until it is complete; a larger size claimed by the server
// fails the download instead of exhausting the memory.
inline constexpr qint32 MaxDownloadSize = 256 * 1024 * 1024;

struct PollBudget {
    int count = ReadyPollCount;
    int intervalMs = ReadyPollSleepMs;
};

// Why a transfer failed, in the order in which a response is judged.
enum class TransferFailure {
    Forbidden,   // 403
    NotFound,    // 404
    TimedOut,    // no complete response within the poll budget
    ServerError, // any other status above 299
    NotPartial,  // a complete response other than 206, e.g. a server that ignores ranges
    Broken       // anything else: the connection, the local file, a malformed or inconsistent block
};

// What a caller of the block transfer learns while it runs. Every hook does nothing unless
// overridden, so a silent transfer uses this class as it is.
class TransferObserver {
public:
    virtual ~TransferObserver() = default;
    // The local file exists, empty; the first request is about to go out.
    virtual void started() {}
    // A block has been stored; last is the index of its last byte, total the file's size.
    virtual void progressed(qint32 /*last*/, qint32 /*total*/) {}
    // A partial response came without a Content-Range header; failed(Broken) follows.
    virtual void sizeMissing() {}
    // Called once, before the local file is deleted.
    virtual void failed(TransferFailure /*failure*/) {}
};

// Fetches url block by block into path, all or nothing: path is created empty at the start,
// receives the whole content (flushed to disk) only when the last byte has arrived, and is
// deleted on any failure. Processes events while it waits, so it may be re-entered.
bool transferToFile(const QUrl& url, const QString& path, TransferObserver& observer, PollBudget budget);

// Fetches url into finalPath through tempPath, silently. On success finalPath holds the remote
// content and tempPath is gone; on failure finalPath is untouched and tempPath is gone.
// Returns whether finalPath was replaced.
bool DownloadToFile(const QUrl& url, const QString& tempPath, const QString& finalPath,
                    PollBudget budget = {});

} // namespace velmora
