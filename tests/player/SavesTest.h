#pragma once

#include "platform/web/FlashPlayer.h"
#include "support/ScriptedServer.h"

#include <QObject>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <mutex>

namespace velmora::test {

// Runs as a program of its own: plays the movie in a player window that ends the process at
// once when it is closed, as the box's window does, and closes it on a line "close" on the
// standard input. Returns the exit code.
int runSavesChild(const QString& playerFolder, const QString& movie);

// What games save through the emulator: kept per user across runs of the program wherever the
// program folder is, and each game's own. Movies keep a counter in a local shared object and
// report it to a loopback server.
class SavesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void countOutlivesClosingTheProgram_data();
    void countOutlivesClosingTheProgram();
    void copiesOfTheProgramFolderShareTheCount();
    void countNotFlushedIsSavedOnClosing();
    void countNotFlushedOutlivesItsPage();
    void gamesWithTheSameObjectNameCountApart();

private:
    QString writeFile(const QString& path, const QByteArray& content) const;
    // Builds a program folder at root: the player's files, a catalogue game and a favourite,
    // each the counter movie; returns the favourite's path.
    QString makeProgramFolder(const QString& root) const;
    // Runs the program on movie with the user's data folder dataHome, closes its window as soon
    // as the movie has reported and returns the count the movie reported, empty on failure.
    QString runProgram(const QString& playerFolder, const QString& movie, const QString& dataHome);
    // Plays movie in this process and returns the count it reports.
    QString play(const QString& movie);
    QString lastCount() const;

    QTemporaryDir m_dir;
    ScriptedServer m_server;
    std::unique_ptr<FlashPlayer> m_player;
    mutable std::mutex m_mutex;
    QStringList m_counts;
};

} // namespace velmora::test
