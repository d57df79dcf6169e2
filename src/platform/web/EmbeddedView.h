#pragma once

class QWebEnginePage;
class QWidget;

namespace velmora {

// When a widget that shows a web page makes its web view: at once, or when told to. The
// engine's own start, on the first view, takes longer than the rest of the window, so the main
// window makes its views after it is first painted.
enum class ViewStart { AtOnce, Later };

// Fills host with a web view that shows page and takes over the page's ownership; host stands
// for the view towards the window (size, visibility, keyboard focus). The view offers no menu
// of its own on a right click.
void embedView(QWidget* host, QWebEnginePage* page);

} // namespace velmora
