#include "updater/UpdateJournal.h"

#include "common/NativeFileName.h"

namespace velmora::UpdateJournal {

namespace {

constexpr char Header[] = "velmora-update-journal 1";
constexpr qsizetype HashSize = 32;

} // namespace

QByteArray format(const QList<SwitchEntry>& entries) {
    QByteArray text = QByteArray(Header) + '\n';
    for (const SwitchEntry& entry : entries) {
        text += (entry.existed ? "1 " : "0 ") + QByteArray::number(entry.size) + ' ' + entry.sha256.toHex() +
                ' ' + NativeFileName::toBytes(entry.path) + '\n';
    }
    return text;
}

std::optional<QList<SwitchEntry>> parse(const QByteArray& text) {
    if (!text.endsWith('\n'))
        return std::nullopt;
    QList<QByteArray> lines = text.chopped(1).split('\n');
    if (lines.takeFirst() != Header)
        return std::nullopt;
    QList<SwitchEntry> entries;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(' ');
        if (fields.size() < 4 || (fields[0] != "0" && fields[0] != "1"))
            return std::nullopt;
        bool sizeRead = false;
        const qint64 size = fields[1].toLongLong(&sizeRead);
        const QByteArray hash = QByteArray::fromHex(fields[2]);
        // The path is the rest of the line, spaces and all.
        const QByteArray path = line.sliced(fields[0].size() + fields[1].size() + fields[2].size() + 3);
        if (!sizeRead || size < 0 || hash.size() != HashSize || fields[2].size() != 2 * HashSize ||
            path.isEmpty())
            return std::nullopt;
        entries.append({NativeFileName::fromBytes(path), size, hash, fields[0] == "1"});
    }
    return entries;
}

} // namespace velmora::UpdateJournal
