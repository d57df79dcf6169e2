#include "ProcessUsage.h"

#include <QDir>
#include <QFile>
#include <QHash>

#include <cstring>
#include <unistd.h>
#include <unordered_set>

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

// The value of --type= on the command line, with the utility's sub-type.
QString processKind(qint64 pid) {
    QString kind;
    for (const QByteArray& arg : readProcFile(pid, "cmdline").split('\0')) {
        if (arg.startsWith("--type="))
            kind = QString::fromUtf8(arg.mid(7)) + kind;
        else if (arg.startsWith("--utility-sub-type="))
            kind += u' ' + QString::fromUtf8(arg.mid(19));
    }
    return kind;
}

struct Mapping {
    quint64 start = 0;
    quint64 end = 0;
};

// The address ranges of the process that have pages in memory.
QList<Mapping> residentMappings(qint64 pid) {
    QList<Mapping> result;
    Mapping current;
    for (const QByteArray& line : readProcFile(pid, "smaps").split('\n')) {
        const int dash = line.indexOf('-');
        const int space = line.indexOf(' ');
        bool startOk = false, endOk = false;
        if (dash > 0 && space > dash) {
            const quint64 start = line.left(dash).toULongLong(&startOk, 16);
            const quint64 end = line.mid(dash + 1, space - dash - 1).toULongLong(&endOk, 16);
            if (startOk && endOk) {
                current = {start, end};
                continue;
            }
        }
        if (line.startsWith("Rss:") && line.mid(4).trimmed().split(' ').first().toLongLong() > 0)
            result.append(current);
    }
    return result;
}

} // namespace

qint64 exclusiveResidentKiB(const QList<ProcessUsage>& processes) {
    const quint64 pageSize = quint64(sysconf(_SC_PAGESIZE));
    constexpr quint64 kPresent = quint64(1) << 63, kFrame = (quint64(1) << 55) - 1;
    std::unordered_set<quint64> frames;
    bool framesVisible = false;
    for (const ProcessUsage& p : processes) {
        QFile pagemap(QStringLiteral("/proc/%1/pagemap").arg(p.pid));
        if (!pagemap.open(QIODevice::ReadOnly))
            continue;
        for (const Mapping& m : residentMappings(p.pid)) {
            const quint64 pages = (m.end - m.start) / pageSize;
            if (!pagemap.seek(qint64(m.start / pageSize * sizeof(quint64))))
                continue;
            const QByteArray entries = pagemap.read(qint64(pages * sizeof(quint64)));
            for (qsizetype i = 0; i + qsizetype(sizeof(quint64)) <= entries.size(); i += sizeof(quint64)) {
                quint64 entry;
                std::memcpy(&entry, entries.constData() + i, sizeof entry);
                if ((entry & kPresent) && (entry & kFrame)) {
                    frames.insert(entry & kFrame);
                    framesVisible = true;
                }
            }
        }
    }
    return framesVisible ? qint64(frames.size() * pageSize / 1024) : -1;
}

QList<ProcessUsage> processTreeUsage(qint64 pid) {
    // State, parent, …: utime and stime are the 12th and 13th fields after the name.
    constexpr int kParent = 1, kUserTime = 11, kSystemTime = 12;
    QHash<qint64, QList<qint64>> children;
    QHash<qint64, qint64> parents;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool isPid = false;
        const qint64 p = entry.toLongLong(&isPid);
        const QList<QByteArray> fields = isPid ? statFields(p) : QList<QByteArray>();
        if (fields.size() > kParent) {
            children[fields[kParent].toLongLong()].append(p);
            parents[p] = fields[kParent].toLongLong();
        }
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
        // The zygote's children (the renderers) keep its command line.
        QString kind = processKind(p);
        if (kind == QLatin1String("zygote") && processKind(parents.value(p)) == QLatin1String("zygote"))
            kind = QStringLiteral("renderer");
        result.append({p, QString::fromUtf8(readProcFile(p, "comm").trimmed()), kind,
                       kibField(rollup, "Pss:"), kibField(rollup, "Rss:"), cpu});
    }
    return result;
}

} // namespace velmora::bench
