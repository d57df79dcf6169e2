#pragma once

#include <QListWidget>

namespace velmora {

// A list whose Click is raised when the user selects a row: by pressing any mouse button on a
// row (also the one already selected, which is how a game that has just been downloaded is
// started), by dragging a pressed button onto another row, or by moving the selection with the
// keyboard. Selection changes made by the program raise nothing. As a list box does, it keeps
// its selection when the user clicks the empty area below the last row, and shows every row on
// one line whatever line breaks its text holds.
class ListBox : public QListWidget {
    Q_OBJECT
public:
    explicit ListBox(QWidget* parent = nullptr);

Q_SIGNALS:
    void Click();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override;
};

} // namespace velmora
