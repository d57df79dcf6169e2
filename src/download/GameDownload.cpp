#include "download/GameDownload.h"

#include "download/RemoteGameFolder.h"
#include "platform/MessageSink.h"

#include <optional>

namespace velmora {

namespace {

// Shows a game download in its row and tells the user why it failed.
class GameProgress : public TransferObserver {
public:
    GameProgress(const GameDownloadContext& context, qint16 listIndex)
        : m_context(context)
        , m_listIndex(listIndex) {}

    std::optional<TransferFailure> failure() const { return m_failure; }

    void started() override { m_context.setRowText(m_listIndex, QStringLiteral("开始下载")); }

    void progressed(qint32 last, qint32 total) override {
        // The fraction first, then times 100, in floating point: the order decides the rounding.
        const int percent = static_cast<int>(double(last) / double(total) * 100.0);
        m_context.setRowText(m_listIndex, QStringLiteral("正在下载 ") + QString::number(percent) + u'%');
    }

    void sizeMissing() override { m_context.messages.notice(QStringLiteral("无法获取文件大小！")); }

    void failed(TransferFailure failure) override {
        m_failure = failure;
        if (const QString text = messageFor(failure); !text.isEmpty())
            m_context.messages.notice(text);
    }

private:
    QString messageFor(TransferFailure failure) const {
        switch (failure) {
        case TransferFailure::Forbidden:
            return QStringLiteral("连接数过多");
        case TransferFailure::NotFound:
            return QStringLiteral("文件无法找到");
        case TransferFailure::TimedOut:
            return QStringLiteral("下载文件超时");
        case TransferFailure::ServerError:
            // With more games queued, the next one starts at once instead of a message.
            return m_context.queueLength() == 1 ? QStringLiteral("网络繁忙或不畅,请再试") : QString();
        case TransferFailure::NotPartial:
            return QStringLiteral("不支持断点续传");
        case TransferFailure::Broken:
            break;
        }
        return QString();
    }

    const GameDownloadContext& m_context;
    const qint16 m_listIndex;
    std::optional<TransferFailure> m_failure;
};

void refreshMirrorBase(const GameDownloadContext& context) {
    DownloadToFile(QUrl(context.site.mirrorFile()), context.paths.mirrorTempFile(),
                   context.paths.mirrorFile(), context.budget);
    // Also after a failed refresh: the name is then read again from the old file.
    context.mirror.ReadMirrorBase();
}

} // namespace

void DownloadGame(const GameDownloadContext& context, qint16 listIndex, qint32 gameId) {
    const QUrl url(context.site.gameFile(context.mirror.remoteGameFolder(), gameId));
    GameProgress progress(context, listIndex);
    const bool onDisk = transferToFile(url, context.paths.gameFile(gameId), progress, context.budget);
    context.setRowText(listIndex, context.gameName(onDisk, gameId));
    if (progress.failure() == TransferFailure::NotFound)
        refreshMirrorBase(context);
}

} // namespace velmora
