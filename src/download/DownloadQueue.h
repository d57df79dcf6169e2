#pragma once

#include "download/GameDownload.h"

#include <QAbstractListModel>
#include <QList>

namespace velmora {

// The games that wait for download or are being downloaded, first in, first out, one download
// at a time. As a list model it is what the hidden list List2 holds: per entry, the position of
// the game's row in the game list as text, and its GameId as item data (Qt::UserRole).
//
// Entries refer to rows of the game list by position, so the list must not change while the
// queue is not empty (refuseListChange).
class DownloadQueue : public QAbstractListModel {
    Q_OBJECT
public:
    // The queue answers context.queueLength itself.
    explicit DownloadQueue(GameDownloadContext context, QObject* parent = nullptr);

    bool isEmpty() const { return m_entries.isEmpty(); }
    // Whether the game of row listIndex is waiting or being downloaded.
    bool isQueued(int listIndex) const;
    // While the queue is not empty: tells the user to wait and returns true.
    bool refuseListChange();

    // Appends the game of row listIndex and shows "准备下载" in the row. When the queue was
    // empty, downloads its games one after the other until it is empty again. Downloads let
    // events run, so clicks on other missing games land here meanwhile: they only append, and
    // the outermost call works them off.
    void QueueGameDownload(qint16 listIndex, qint32 gameId);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    struct Entry {
        qint16 listIndex;
        qint32 gameId;
    };

    void append(const Entry& entry);
    void removeFirst();

    GameDownloadContext m_context;
    QList<Entry> m_entries;
};

} // namespace velmora
