#pragma once

#include <QList>
#include <QString>

namespace velmora::bench {

struct ProcessUsage {
    qint64 pid = 0;
    QString name;
    qint64 pssKiB = 0;
    qint64 rssKiB = 0;
    double cpuSeconds = 0; // user and system time since the process started
};

// The process pid and all processes descended from it (the web engine's helpers, including
// those that its zygote forks), each with its memory and processor time.
QList<ProcessUsage> processTreeUsage(qint64 pid);

} // namespace velmora::bench
