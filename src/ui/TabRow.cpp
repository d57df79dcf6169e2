#include "ui/TabRow.h"

#include "ui/Fonts.h"
#include "ui/TabLabel.h"
#include "ui/Twips.h"

namespace velmora {

namespace {

struct TabPlace {
    Tab tab;
    const char* name;
    const char16_t* caption;
    int left; // twips
    int width;
};

constexpr int Top = 30;
constexpr int Height = 210;

// In the order the window holds them; left to right they are Label1, Label2, Label3, Label51,
// Label52, Label53, Label54.
constexpr TabPlace Places[] = {
    {Tab::FullScreen, "Label54", u" 全屏", 4920, 600},
    {Tab::Favourites, "Label51", u" 我的收藏", 2100, 975},
    {Tab::About, "Label53", u" 关于", 4230, 600},
    {Tab::Action, "Label3", u" 动作", 1410, 600},
    {Tab::Puzzle, "Label2", u" 益智", 720, 600},
    {Tab::Hot, "Label1", u" 热门", 30, 600},
    {Tab::Shortcut, "Label52", u" 快捷方式", 3165, 975},
};

} // namespace

TabRow::TabRow(QWidget& form) {
    for (const TabPlace& place : Places) {
        auto* label = new TabLabel(QString::fromUtf16(place.caption), &form);
        label->setObjectName(QString::fromLatin1(place.name));
        label->setFont(Fonts::tabFont());
        label->setGeometry(rectFromTwips(place.left, Top, place.width, Height));
        m_tabs[static_cast<std::size_t>(place.tab)] = label;
    }
}

void TabRow::resetColours() const {
    for (TabLabel* tab : m_tabs)
        tab->setTextColor(TabLabel::TabTextColor);
}

} // namespace velmora
