#include "platform/web/EmbeddedView.h"

#include <QVBoxLayout>
#include <QWebEngineView>

namespace velmora {

void embedView(QWidget* host, QWebEnginePage* page) {
    auto* view = new QWebEngineView(host);
    page->setParent(view);
    view->setPage(page);
    auto* layout = new QVBoxLayout(host);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
    host->setFocusProxy(view);
}

} // namespace velmora
