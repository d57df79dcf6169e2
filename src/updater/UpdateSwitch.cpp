#include "updater/UpdateSwitch.h"

#include "common/BuildSettings.h"
#include "common/FileHelpers.h"
#include "common/NativeFileName.h"
#include "updater/FileDigest.h"

#include <QDir>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora {

namespace {

QByteArray native(const QString& path) {
    return NativeFileName::toBytes(path);
}

bool present(const QString& path) {
    struct stat status {};
    return ::lstat(native(path).constData(), &status) == 0;
}

QString folderOf(const QString& path) {
    return path.section(u'/', 0, -2);
}

QString join(const QString& folder, const QString& relative) {
    return relative.isEmpty() ? folder : folder + u'/' + relative;
}

// Creates base, if missing, and folder (relative to base) with the folders above it, each made
// durable in its parent.
bool makeFolders(const QString& base, const QString& folder) {
    if (!present(base) && (::mkdir(native(base).constData(), 0755) != 0 || !syncFolder(folderOf(base))))
        return false;
    QString made = base;
    for (const QString& part : folder.split(u'/', Qt::SkipEmptyParts)) {
        const QString parent = made;
        made += u'/' + part;
        if (present(made))
            continue;
        if (::mkdir(native(made).constData(), 0755) != 0 || !syncFolder(parent))
            return false;
    }
    return true;
}

bool matches(const QString& path, const SwitchEntry& entry) {
    const auto digest = FileDigest::of(path);
    return digest && digest->size == entry.size && digest->sha256 == entry.sha256;
}

// A hard link costs no space and cannot be half made; a file system without them gets a copy
// that appears whole or not at all.
bool keepCopy(const QString& from, const QString& to) {
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return true;
    const QString part = to + QStringLiteral(".part");
    static_cast<void>(QFile::remove(part));
    if (!QFile::copy(from, part))
        return false;
    QFile copy(part);
    return copy.open(QIODevice::ReadWrite) && ::fsync(copy.handle()) == 0 &&
           ::rename(native(part).constData(), native(to).constData()) == 0;
}

} // namespace

UpdateSwitch::UpdateSwitch(InstallPaths paths, std::function<void()> afterStep)
    : m_paths(std::move(paths))
    , m_afterStep(std::move(afterStep)) {
}

QString UpdateSwitch::installed(const SwitchEntry& entry) const {
    return join(m_paths.appPath(), entry.path);
}

QString UpdateSwitch::staged(const SwitchEntry& entry) const {
    return join(m_paths.updateStagingFolder(), entry.path);
}

QString UpdateSwitch::backedUp(const SwitchEntry& entry) const {
    return join(m_paths.updateBackupFolder(), entry.path);
}

void UpdateSwitch::step() const {
    if (m_afterStep)
        m_afterStep();
}

bool UpdateSwitch::fail(const QString& what, const QString& path) {
    m_error = what + QStringLiteral(" ") + path + QStringLiteral("：") +
              QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

bool UpdateSwitch::begin(QList<SwitchEntry> entries) {
    const QString program = QString::fromUtf8(ProductName);
    std::stable_partition(entries.begin(), entries.end(),
                          [&](const SwitchEntry& entry) { return entry.path != program; });
    for (SwitchEntry& entry : entries)
        entry.existed = present(installed(entry));
    const QString journal = m_paths.updateJournal();
    const QString part = journal + QStringLiteral(".part");
    if (!writeFileDurably(part, UpdateJournal::format(entries)) ||
        ::rename(native(part).constData(), native(journal).constData()) != 0 ||
        !syncFolder(m_paths.updateWorkFolder()))
        return fail(QStringLiteral("无法写入"), journal);
    step();
    return true;
}

UpdateSwitch::Outcome UpdateSwitch::finish() {
    if (!present(m_paths.updateWorkFolder()))
        return Outcome::NothingToDo;
    if (!present(m_paths.updateJournal()))
        return removeWorkFolder() ? Outcome::Discarded : Outcome::Failed;
    QFile journalFile(m_paths.updateJournal());
    const auto entries =
        journalFile.open(QIODevice::ReadOnly) ? UpdateJournal::parse(journalFile.readAll()) : std::nullopt;
    if (!entries) {
        m_error = QStringLiteral("无法读懂 ") + m_paths.updateJournal();
        return Outcome::Failed;
    }
    bool back = present(m_paths.updateRollbackMark());
    if (!back && !(forwardPossible(*entries) && forward(*entries))) {
        // Once rolling back has begun, forward may become impossible and later possible again;
        // the mark keeps every later attempt on the way back.
        if (!writeFileDurably(m_paths.updateRollbackMark(), {}) || !syncFolder(m_paths.updateWorkFolder())) {
            fail(QStringLiteral("无法写入"), m_paths.updateRollbackMark());
            return Outcome::Failed;
        }
        step();
        back = true;
    }
    if (back && !backward(*entries))
        return Outcome::Failed;
    if (::unlink(native(m_paths.updateJournal()).constData()) != 0 ||
        !syncFolder(m_paths.updateWorkFolder())) {
        fail(QStringLiteral("无法删除"), m_paths.updateJournal());
        return Outcome::Failed;
    }
    step();
    if (!removeWorkFolder())
        return Outcome::Failed;
    return back ? Outcome::RolledBack : Outcome::Finished;
}

bool UpdateSwitch::forwardPossible(const QList<SwitchEntry>& entries) {
    for (const SwitchEntry& entry : entries) {
        const QString newFile = present(staged(entry)) ? staged(entry) : installed(entry);
        if (!matches(newFile, entry)) {
            m_error = QStringLiteral("新文件不完整：") + newFile;
            return false;
        }
    }
    return true;
}

bool UpdateSwitch::forward(const QList<SwitchEntry>& entries) {
    for (const SwitchEntry& entry : entries) {
        const QString newFile = staged(entry);
        if (!present(newFile))
            continue;
        const QString target = installed(entry);
        const QString backup = backedUp(entry);
        if (entry.existed && !present(backup) && present(target)) {
            if (!makeFolders(m_paths.updateBackupFolder(), folderOf(entry.path)) ||
                !keepCopy(target, backup) || !syncFolder(folderOf(backup)))
                return fail(QStringLiteral("无法备份"), target);
            step();
        }
        if (!makeFolders(m_paths.appPath(), folderOf(entry.path)) ||
            ::rename(native(newFile).constData(), native(target).constData()) != 0 ||
            !syncFolder(folderOf(target)) || !syncFolder(folderOf(newFile)))
            return fail(QStringLiteral("无法替换"), target);
        step();
    }
    return true;
}

bool UpdateSwitch::backward(const QList<SwitchEntry>& entries) {
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry) {
        const QString target = installed(*entry);
        const QString backup = backedUp(*entry);
        if (present(backup)) {
            if (::rename(native(backup).constData(), native(target).constData()) != 0 ||
                !syncFolder(folderOf(target)))
                return fail(QStringLiteral("无法恢复"), target);
            step();
        } else if (!entry->existed && !present(staged(*entry)) && present(target)) {
            if (::unlink(native(target).constData()) != 0 || !syncFolder(folderOf(target)))
                return fail(QStringLiteral("无法删除"), target);
            step();
        }
    }
    return true;
}

bool UpdateSwitch::removeWorkFolder() {
    if (!QDir(m_paths.updateWorkFolder()).removeRecursively() || !syncFolder(m_paths.appPath()))
        return fail(QStringLiteral("无法删除"), m_paths.updateWorkFolder());
    step();
    return true;
}

} // namespace velmora
