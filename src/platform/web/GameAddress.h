#pragma once

#include <QString>
#include <QUrl>

namespace velmora {

// The address under which the player hands a local movie to the emulator:
// "velmora-game://<id>/<file name>"; the player page reads the address's files from the movie's
// folder. The emulator keeps a game's local shared objects under the host and path of the
// movie's address and refuses every path with a part that starts with a dot, as a file address
// inside "~/.local/…" has. This address has no folder in it, and its host is the game's own id,
// so no two games share a key, whatever localPath they give.
class GameAddress {
public:
    static const QString Scheme;

    // programFolder: movies inside it are known by their path relative to it, so that copies
    // of the program folder, and its updates, keep each game's id.
    explicit GameAddress(const QString& programFolder);

    // 32 lower-case hexadecimal digits, the same for the same movie on every run; empty when
    // moviePath is not an absolute path.
    QString gameId(const QString& moviePath) const;
    // The movie's address; invalid when moviePath is not an absolute path.
    QUrl movieUrl(const QString& moviePath) const;
    // The path part that movieUrl() gives the movie: its file name, never starting with a dot.
    static QString moviePathInUrl(const QString& moviePath);

private:
    QString m_programFolder;
};

} // namespace velmora
