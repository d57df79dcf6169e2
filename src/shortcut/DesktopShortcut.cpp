#include "shortcut/DesktopShortcut.h"

#include "common/BuildSettings.h"
#include "common/FileHelpers.h"
#include "common/RunLocation.h"
#include "platform/Desktop.h"
#include "platform/MessageSink.h"
#include "shortcut/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora {

DesktopShortcut::DesktopShortcut(const InstallPaths& paths, QString temporaryFolder, MessageSink& messages)
    : m_paths(paths)
    , m_temporaryFolder(std::move(temporaryFolder))
    , m_messages(messages) {
}

QString DesktopShortcut::fileName() {
    return QString::fromUtf8(ProductName) + QStringLiteral(".desktop");
}

void DesktopShortcut::createOnDesktop() {
    if (runsFromTemporaryFolder(m_paths.appPath(), m_temporaryFolder)) {
        // A launcher for a folder that the archive manager deletes again would soon be broken.
        m_messages.hint(QStringLiteral("请先解压缩再使用，不要直接运行压缩包！"));
        return;
    }
    const QString desktop = Desktop::folder();
    if (desktop.isEmpty() || !QDir().mkpath(desktop)) {
        m_messages.hint(QStringLiteral("无法创建桌面文件夹“%1”，快捷方式没有创建。")
                            .arg(QDir::toNativeSeparators(desktop)));
        return;
    }
    const QString file = QDir(desktop).filePath(fileName());
    if (!writeLauncher(file)) {
        m_messages.hint(QStringLiteral("无法写入快捷方式“%1”。").arg(QDir::toNativeSeparators(file)));
        return;
    }
    Desktop::markTrusted(file);
    m_messages.hint(QStringLiteral("已经成功在桌面上创建了快捷方式！"));
}

bool DesktopShortcut::writeLauncher(const QString& file) {
    // Written beside the launcher under a hidden name, then renamed over it: the desktop never
    // sees half a file, and a failed write leaves an older launcher as it was.
    const QFileInfo target(file);
    const QString temp =
        target.dir().filePath(QStringLiteral(".") + target.fileName() + QStringLiteral(".tmp"));
    const QString text =
        DesktopEntry::launcher(QString::fromUtf8(ProductName), m_paths.programFile(), m_paths.programIcon());
    constexpr auto Executable = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
                                QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;
    if (writeFileDurably(temp, text.toUtf8()) && QFile::setPermissions(temp, Executable) &&
        PromoteTempFile(temp, file))
        return true;
    (void)DeleteIfExists(temp);
    return false;
}

} // namespace velmora
