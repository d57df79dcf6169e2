#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace velmora {

// One program file that an update puts in place.
struct SwitchEntry {
    // Inside the program folder, parts separated by '/'.
    QString path;
    qint64 size = 0;
    // SHA-256 of the new content: recovery tells a file switched from one not yet switched,
    // and a whole new file from a damaged one, by its bytes.
    QByteArray sha256;
    // Whether the program folder held a file of that name before the switch; rolling back
    // deletes the new file where there was none.
    bool existed = false;
};

// The journal names every file of a switch in the order they are switched. It is written
// whole before the first file moves and is the only thing recovery trusts, so its format
// stays readable by every older box: the box that starts after an interruption may be the old
// one, since the program file is switched last.
//
//   velmora-update-journal 1
//   <existed: 0 or 1> <size> <sha256, 64 hex digits> <path, its bytes on disk, to the line's end>
namespace UpdateJournal {

QByteArray format(const QList<SwitchEntry>& entries);
// Empty when text is not a journal of this format.
std::optional<QList<SwitchEntry>> parse(const QByteArray& text);

} // namespace UpdateJournal

} // namespace velmora
