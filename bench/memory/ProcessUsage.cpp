#include "ProcessUsage.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <unistd.h>

namespace velmora::bench {

namespace {

QByteArray readProcFile(qint64 pid, const char* name) {
    QFile f(QStringLiteral("/proc/%1/%2").arg(pid).arg(QLatin1String(name)));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The fields of /proc/<pid>/stat after "pid (name) ", starting with the state; the name may hold
// spaces and parentheses, so they are counted from the last ')'.
QList<QByteArray> statFields(qint64 pid) {
    const QByteArray stat = readProcFile(pid, "stat");
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ');
}

qint64 kibField(const QByteArray& text, const QByteArray& key) {
    for (const QByteArray& line : text.split('\n'))
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').first().toLongLong();
    return 0;
}

} // namespace

QList<ProcessUsage> processTreeUsage(qint64 pid) {
    // State, parent, …: utime and stime are the 12th and 13th fields after the name.
    constexpr int kParent = 1, kUserTime = 11, kSystemTime = 12;
    QHash<qint64, QList<qint64>> children;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 p = entry.toLongLong(&isPid);
        const QList<QByteArray> fields = isPid ? statFields(p) : QList<QByteArray>();
        if (fields.size() > kParent)
            children[fields[kParent].toLongLong()].append(p);
    }
    const double ticks = double(sysconf(_SC_CLK_TCK));
    QList<ProcessUsage> result;
    QList<qint64> pending{pid};
    while (!pending.isEmpty()) {
        const qint64 p = pending.takeFirst();
        pending += children.value(p);
        const QByteArray rollup = readProcFile(p, "smaps_rollup");
        const QList<QByteArray> fields = statFields(p);
        const double cpu = fields.size() > kSystemTime
                               ? (fields[kUserTime].toLongLong() + fields[kSystemTime].toLongLong()) / ticks
                               : 0;
        result.append({p, QString::fromUtf8(readProcFile(p, "comm").trimmed()), kibField(rollup, "Pss:"),
                       kibField(rollup, "Rss:"), cpu});
    }
    return result;
}

} // namespace velmora::bench
