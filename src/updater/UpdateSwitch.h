#pragma once

#include "common/InstallPaths.h"
#include "updater/UpdateJournal.h"

#include <functional>

namespace velmora {

// Switches the program folder from its files to the new ones in the staging folder, so that a
// stop at any moment (a kill, a power cut) leaves a folder that finish() turns into the old
// version or the new one, never a mix.
//
// begin() writes the journal; from then on finish() decides. Each file is first linked into
// the backup folder and then replaced by a rename(2) of the new one over it; the program file
// comes last, so the box that starts while a switch is unfinished is the old one or the
// switch is done. finish() rolls forward when every file of the journal is there, new and whole
// (in the staging folder or already in place, checked by size and SHA-256); otherwise, or once
// it has started to roll back, it puts the backups back and deletes the files that were new.
// The journal is deleted last. Without a journal, what lies in the working folder is an
// unpacking that never began to switch, and it goes.
class UpdateSwitch {
public:
    enum class Outcome { NothingToDo, Discarded, Finished, RolledBack, Failed };

    // afterStep runs after each change that reached the disk (tests stop the process there).
    explicit UpdateSwitch(InstallPaths paths, std::function<void()> afterStep = {});

    // Writes the journal for entries, files of the staging folder, with the program file last.
    [[nodiscard]] bool begin(QList<SwitchEntry> entries);
    // Completes or rolls back the switch that the working folder holds, if any, and removes the
    // folder. Failed (error() says why) leaves the rest for the next attempt.
    Outcome finish();
    const QString& error() const { return m_error; }

private:
    bool forwardPossible(const QList<SwitchEntry>& entries);
    bool forward(const QList<SwitchEntry>& entries);
    bool backward(const QList<SwitchEntry>& entries);
    bool removeWorkFolder();
    bool fail(const QString& what, const QString& path);
    void step() const;

    QString installed(const SwitchEntry& entry) const;
    QString staged(const SwitchEntry& entry) const;
    QString backedUp(const SwitchEntry& entry) const;

    InstallPaths m_paths;
    std::function<void()> m_afterStep;
    QString m_error;
};

} // namespace velmora
