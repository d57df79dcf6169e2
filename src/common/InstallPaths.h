#pragma once

#include <QString>

namespace velmora {

// The name of a game's file, the same in the local game folder and on the site.
QString gameFileName(qint32 gameId);

// Every local file of an installation is the program folder plus a fixed relative path; this
// class names all of them.
class InstallPaths {
public:
    // appPath: the folder that holds the program, without a trailing separator.
    explicit InstallPaths(QString appPath);

    const QString& appPath() const { return m_appPath; }
    // relative uses '/' between its parts; the result uses the platform's separator.
    QString local(const QString& relative) const;

    // The folder of downloaded games, with its trailing separator, so that a game file is
    // this folder + gameFileName().
    QString gameFolder() const;
    QString gameFile(qint32 gameId) const;
    // The folder into which users put Flash files of their own.
    QString favouritesFolder() const;
    QString catalogueFile() const;
    // The side panel's local page, shown when a page of the site cannot be loaded.
    QString fallbackPage() const;
    // The source of RemoteGameFolder, and the temporary file through which the site's copy
    // replaces it.
    QString mirrorFile() const;
    QString mirrorTempFile() const;
    // The versions of the installed catalogue and program.
    QString catalogueVersionFile() const;
    QString programVersionFile() const;
    // The versions that the site offers, as fetched, and the temporary files they come through.
    QString catalogueVersionCopy() const;
    QString catalogueVersionTempFile() const;
    QString programVersionCopy() const;
    QString programVersionTempFile() const;
    // The temporary file through which a new catalogue replaces catalogueFile().
    QString catalogueTempFile() const;
    // The update program that the site offers, and the temporary file it comes through.
    QString updateProgram() const;
    QString updateProgramTempFile() const;
    // The main program, whatever the running executable is called, and its icon as a picture
    // file for desktop launchers.
    QString programFile() const;
    QString programIcon() const;
    // A category's order file, by its bare name ("b01.inb"), and the file through which a save
    // replaces it.
    QString orderFile(const QString& name) const;
    QString orderTempFile(const QString& name) const;

    // The lock that a running box holds shared and the update program exclusive, so that the
    // program files are switched only while no box runs.
    QString runLock() const;
    // What the update program did and why it failed, one line per event.
    QString updateLog() const;
    // The update program's working folder inside the program folder (on the same file system,
    // so that its files reach their places by rename): the new files before the switch, the
    // replaced ones until it ends, the journal that names the switch and the mark that it is
    // being rolled back. The folder exists only while an update is under way or interrupted.
    QString updateWorkFolder() const;
    QString updateStagingFolder() const;
    QString updateBackupFolder() const;
    QString updateJournal() const;
    QString updateRollbackMark() const;

    // True when relative (a path inside the program folder, parts separated by '/') lies in
    // what belongs to the user and an update never writes: cons/, res/velmora/, 我的收藏/ and
    // the update program's working folder.
    static bool isUserData(const QString& relative);

private:
    QString m_appPath;
};

} // namespace velmora
