#pragma once

#include <QMap>
#include <QString>

namespace velmora {

// What games keep through the emulator (their local shared objects), one file per game in a
// folder of the user's: <folder>/<game id>.json, each entry the emulator's key and its value.
// Every change is on disk when put() or remove() returns, written whole through a temporary
// file, so that a crash or the immediate end of the program loses nothing that was saved and
// never leaves half a file. A file that cannot be read counts as empty.
class GameSaves {
public:
    using Entries = QMap<QString, QString>;

    // Every entry the emulator has for a game weighs its key and value together (in
    // characters); a game may keep this much in all.
    static constexpr qsizetype GameLimit = 10 * 1024 * 1024;

    explicit GameSaves(QString folder);

    const QString& folder() const { return m_folder; }
    // gameId: a GameAddress id. A key belongs to the game when it starts with the id and "/".
    Entries load(const QString& gameId) const;
    // False, and nothing changed, when the key is not the game's, the game would keep more
    // than GameLimit, or the file cannot be written.
    bool put(const QString& gameId, const QString& key, const QString& value);
    bool remove(const QString& gameId, const QString& key);

    static qsizetype weight(const Entries& entries);

private:
    QString fileOf(const QString& gameId) const;
    bool store(const QString& gameId, const Entries& entries);

    QString m_folder;
};

} // namespace velmora
