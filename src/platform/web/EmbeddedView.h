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

// For a window that makes its web views after it is shown: before it is shown, makes the
// window draw itself the way web views need. Otherwise Qt re-creates the window when the first
// view comes, which loses its place as the active window and the keyboard with it.
void prepareWindowForViews(QWidget* window);

} // namespace velmora
