#include "ui/ListBox.h"

#include "ui/RowText.h"

#include <QMouseEvent>
#include <QStyledItemDelegate>

namespace velmora {

namespace {

// Draws and measures every row as one line.
class OneLineDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = oneLineRowText(option->text);
    }
};

} // namespace

ListBox::ListBox(QWidget* parent)
    : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new OneLineDelegate(this));
}

void ListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT Click();
}

void ListBox::mousePressEvent(QMouseEvent* event) {
    QListWidget::mousePressEvent(event);
    // A press selects at once, with any button; the release adds nothing, so that one click
    // starts a game once.
    const QModelIndex row = indexAt(event->position().toPoint());
    if (row.isValid() && row.row() == currentRow())
        Q_EMIT Click();
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
    const int before = currentRow();
    QListWidget::mouseMoveEvent(event);
    if (event->buttons() == Qt::NoButton)
        return;
    // The view itself follows only a left-button drag; a list box follows any button.
    const QModelIndex row = indexAt(event->position().toPoint());
    if (row.isValid() && row.row() != currentRow())
        setCurrentRow(row.row());
    if (currentRow() != before && currentRow() >= 0)
        Q_EMIT Click();
}

QItemSelectionModel::SelectionFlags ListBox::selectionCommand(const QModelIndex& index,
                                                              const QEvent* event) const {
    // No mouse action clears the selection: not the empty area, not a press with Ctrl held.
    if (!index.isValid())
        return QItemSelectionModel::NoUpdate;
    if (event && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseMove ||
                  event->type() == QEvent::MouseButtonDblClick))
        return QItemSelectionModel::ClearAndSelect;
    return QListWidget::selectionCommand(index, event);
}

} // namespace velmora
