#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

namespace velmora::tools {

// One game of the catalogue (CatalogueSchema).
struct CatalogueRecord {
    qint32 id = 0;
    std::optional<QString> name; // nullopt = Null
    qint32 fenlei = 0;
    double youxianji = 0;
    std::optional<QString> info; // nullopt = Null, "" = empty text
};

} // namespace velmora::tools
