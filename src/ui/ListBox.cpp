#include "ui/ListBox.h"

namespace velmora {

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent) {
    connect(this, &QListWidget::itemClicked, this, &ListBox::Click);
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT Click();
}

} // namespace velmora
