#include "download/DownloadQueue.h"

#include "platform/MessageSink.h"

#include <algorithm>

namespace velmora {

DownloadQueue::DownloadQueue(GameDownloadContext context, QObject* parent)
    : QAbstractListModel(parent)
    , m_context(std::move(context)) {
    m_context.queueLength = [this] {
        return int(m_entries.size());
    };
}

bool DownloadQueue::isQueued(int listIndex) const {
    return std::any_of(m_entries.begin(), m_entries.end(),
                       [listIndex](const Entry& entry) { return entry.listIndex == listIndex; });
}

bool DownloadQueue::refuseListChange() {
    if (isEmpty())
        return false;
    m_context.messages.notice(QStringLiteral("正在下载，请稍候！"));
    return true;
}

void DownloadQueue::QueueGameDownload(qint16 listIndex, qint32 gameId) {
    append({listIndex, gameId});
    m_context.setRowText(listIndex, QStringLiteral("准备下载"));
    if (m_entries.size() > 1)
        return;
    while (!m_entries.isEmpty()) {
        const Entry first = m_entries.first();
        DownloadGame(m_context, first.listIndex, first.gameId);
        removeFirst();
    }
}

int DownloadQueue::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_entries.size());
}

QVariant DownloadQueue::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return QVariant();
    const Entry& entry = m_entries.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return QString::number(entry.listIndex);
    case Qt::UserRole:
        return entry.gameId;
    default:
        return QVariant();
    }
}

void DownloadQueue::append(const Entry& entry) {
    const int row = int(m_entries.size());
    beginInsertRows(QModelIndex(), row, row);
    m_entries.append(entry);
    endInsertRows();
}

void DownloadQueue::removeFirst() {
    beginRemoveRows(QModelIndex(), 0, 0);
    m_entries.removeFirst();
    endRemoveRows();
}

} // namespace velmora
