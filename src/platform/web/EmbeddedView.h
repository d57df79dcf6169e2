#pragma once

class QWebEnginePage;
class QWidget;

namespace velmora {

// Fills host with a web view that shows page and takes over the page's ownership; host stands
// for the view towards the window (size, visibility, keyboard focus). The view offers no menu
// of its own on a right click.
void embedView(QWidget* host, QWebEnginePage* page);

} // namespace velmora
