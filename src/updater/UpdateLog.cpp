#include "updater/UpdateLog.h"

#include <QDateTime>
#include <QFile>

namespace velmora {

void appendUpdateLog(const InstallPaths& paths, const QString& line) {
    QFile log(paths.updateLog());
    if (!log.open(QIODevice::Append))
        return;
    log.write((QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) + line + u'\n')
                  .toUtf8());
}

} // namespace velmora
