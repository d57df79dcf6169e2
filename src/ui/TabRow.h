#pragma once

#include <array>
#include <cstddef>

class QWidget;

namespace velmora {

class TabLabel;

enum class Tab { Hot, Puzzle, Action, Favourites, Shortcut, About, FullScreen };

// The seven tab labels along the top of the window, Label1 to Label54, with their captions,
// places and look.
class TabRow {
public:
    // Creates the tabs on form.
    explicit TabRow(QWidget& form);

    TabLabel* operator[](Tab tab) const { return m_tabs[static_cast<std::size_t>(tab)]; }
    // The pointer is over the bare window: every tab shows its own text colour again.
    void resetColours() const;

private:
    std::array<TabLabel*, 7> m_tabs{};
};

} // namespace velmora
