#include "platform/web/GameSaves.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <algorithm>

namespace velmora {

namespace {

bool isGameId(const QString& id) {
    static const QString digits = QStringLiteral("0123456789abcdef");
    return id.size() == 32 && std::all_of(id.begin(), id.end(), [](QChar c) { return digits.contains(c); });
}

bool belongsTo(const QString& key, const QString& gameId) {
    return isGameId(gameId) && key.size() > gameId.size() + 1 && key.startsWith(gameId)
        && key.at(gameId.size()) == u'/';
}

} // namespace

GameSaves::GameSaves(QString folder)
    : m_folder(std::move(folder)) {
}

GameSaves::Entries GameSaves::load(const QString& gameId) const {
    Entries entries;
    if (!isGameId(gameId))
        return entries;
    QFile file(fileOf(gameId));
    if (!file.open(QIODevice::ReadOnly))
        return entries;
    const QJsonObject o = QJsonDocument::fromJson(file.readAll()).object();
    for (auto it = o.begin(); it != o.end(); ++it) {
        // A hand-edited or foreign entry is left out rather than handed to another game.
        if (belongsTo(it.key(), gameId) && it.value().isString())
            entries.insert(it.key(), it.value().toString());
    }
    return entries;
}

bool GameSaves::put(const QString& gameId, const QString& key, const QString& value) {
    if (!belongsTo(key, gameId))
        return false;
    Entries entries = load(gameId);
    if (entries.contains(key) && entries.value(key) == value)
        return true;
    entries.insert(key, value);
    return weight(entries) <= GameLimit && store(gameId, entries);
}

bool GameSaves::remove(const QString& gameId, const QString& key) {
    if (!belongsTo(key, gameId))
        return false;
    Entries entries = load(gameId);
    return entries.remove(key) == 0 || store(gameId, entries);
}

qsizetype GameSaves::weight(const Entries& entries) {
    qsizetype total = 0;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        total += it.key().size() + it.value().size();
    return total;
}

QString GameSaves::fileOf(const QString& gameId) const {
    return m_folder + u'/' + gameId + QStringLiteral(".json");
}

bool GameSaves::store(const QString& gameId, const Entries& entries) {
    if (!QDir().mkpath(m_folder))
        return false;
    QJsonObject o;
    for (auto it = entries.begin(); it != entries.end(); ++it)
        o.insert(it.key(), it.value());
    QSaveFile file(fileOf(gameId));
    const QByteArray data = QJsonDocument(o).toJson(QJsonDocument::Compact);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size() && file.commit();
}

} // namespace velmora
