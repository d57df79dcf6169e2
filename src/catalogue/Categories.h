#pragma once

#include <QString>

namespace velmora {

// A tab of the game list: which games it shows and which page goes with it in the side panel.
struct CategoryTab {
    QString key;   // the value of CurrentCategory while the tab is shown
    quint8 fenlei; // catalogue category number; 0 for the favourites folder
    QString page;  // side panel page, relative to the site
};

namespace Categories {
inline const CategoryTab Hot{QStringLiteral("remen"), 1, QStringLiteral("show1.htm")};
inline const CategoryTab Puzzle{QStringLiteral("yizhi"), 2, QStringLiteral("show2.htm")};
inline const CategoryTab Action{QStringLiteral("dongzuo"), 3, QStringLiteral("show3.htm")};
inline const CategoryTab Favourites{QStringLiteral("wodeshoucang"), 0, QStringLiteral("show4.htm")};
} // namespace Categories

} // namespace velmora
