#pragma once

#include <QString>
#include <optional>
#include <vector>

// Reads the per-row null masks of the games' table through libmdb, since mdbtools' command-line tools
// print a Null and an empty text alike. One entry per row in physical order, one flag per
// column (true = Null); nothing when the table cannot be read.
std::optional<std::vector<std::vector<bool>>> readNullMasks(const QString& path);
