#pragma once

#include "platform/jet/JetFormat.h"

#include <QLatin1StringView>
#include <array>

// The catalogue database: one table of games in a Jet 4.0 file with a database password. The
// site's catalogue tool writes it and the game box reads it, both from this description.
namespace velmora::CatalogueSchema {

inline constexpr QLatin1StringView Table("zong");
inline constexpr QLatin1StringView Password("518274");

struct Column {
    QLatin1StringView name;
    jet::ColumnType type;
    quint16 length; // bytes: of a fixed-length value, or twice a text's characters; 0 for MEMO
};

inline constexpr Column Id{QLatin1StringView("id"), jet::ColumnType::Long, 4};
inline constexpr Column Name{QLatin1StringView("name"), jet::ColumnType::Text, 510};
inline constexpr Column Fenlei{QLatin1StringView("fenlei"), jet::ColumnType::Long, 4};         // category
inline constexpr Column Youxianji{QLatin1StringView("youxianji"), jet::ColumnType::Double, 8}; // priority
inline constexpr Column Info{QLatin1StringView("info"), jet::ColumnType::Memo, 0};             // description

// In column-number order.
inline constexpr std::array<Column, 5> Columns{Id, Name, Fenlei, Youxianji, Info};

} // namespace velmora::CatalogueSchema
