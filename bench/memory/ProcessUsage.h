#pragma once

#include <QList>
#include <QString>

namespace velmora::bench {

struct ProcessUsage {
    qint64 pid = 0;
    QString name;
    QString kind; // the web engine's process type ("renderer", "zygote", …); empty for others
    qint64 pssKiB = 0;
    qint64 rssKiB = 0;
    double cpuSeconds = 0; // user and system time since the process started
};

// The process pid and all processes descended from it (the web engine's helpers, including
// those that its zygote forks), each with its memory and processor time.
QList<ProcessUsage> processTreeUsage(qint64 pid);

// The memory that the processes occupy together, every physical page counted once however many
// of them map it: what their proportional set sizes would add up to if no other program shared
// their libraries. Other programs of the same libraries (another web engine on a busy machine)
// lower the sum of PSS, not this. Reading page frames needs root; -1 without.
qint64 exclusiveResidentKiB(const QList<ProcessUsage>& processes);

} // namespace velmora::bench
