#include "platform/web/EmbeddedView.h"

#include <QQuickWidget>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace velmora {

void embedView(QWidget* host, QWebEnginePage* page) {
    auto* view = new QWebEngineView(host);
    // The engine's own menu (back, reload, save page, view source) has nothing for a player or
    // a strip of the site's pages. Menus that a page draws itself, the game's, stay.
    view->setContextMenuPolicy(Qt::PreventContextMenu);
    page->setParent(view);
    view->setPage(page);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    // A host that was given the keyboard before its view existed hands it on.
    const bool hadFocus = host->hasFocus();
    host->setFocusProxy(view);
    if (hadFocus)
        view->setFocus();
}

void prepareWindowForViews(QWidget* window) {
    // A web view draws through a Qt Quick widget; a window with one, even hidden, is made with
    // the surface that such widgets need.
    auto* surfaceKeeper = new QQuickWidget(window);
    surfaceKeeper->setObjectName(QStringLiteral("viewSurface"));
    surfaceKeeper->hide();
}

} // namespace velmora
