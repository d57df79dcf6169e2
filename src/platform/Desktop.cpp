#include "platform/Desktop.h"

#include <QProcess>
#include <QStandardPaths>

namespace velmora::Desktop {

QString folder() {
    return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
}

void markTrusted(const QString& launcher) {
    const QString gio = QStandardPaths::findExecutable(QStringLiteral("gio"));
    if (gio.isEmpty())
        return;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(
        gio, {QStringLiteral("set"), launcher, QStringLiteral("metadata::trusted"), QStringLiteral("true")});
    // The mark is kept by a desktop service; a hung one must not hang the window.
    if (!process.waitForFinished(3000))
        process.kill();
    process.waitForFinished(1000);
}

} // namespace velmora::Desktop
