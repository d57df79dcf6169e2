#pragma once

#include "common/InstallPaths.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace velmora {

class MessageSink;

// The settings window: the player puts the games of one category in the order they like,
// deletes the ones they dislike and saves the list back to the category's order file.
class Dialog : public QDialog {
    Q_OBJECT
public:
    Dialog(const InstallPaths& paths, MessageSink& messages, QWidget* parent = nullptr);

    // The bare name of the order file on display, or "none" before a category is chosen.
    const QString& CurrentOrderFile() const { return m_currentOrderFile; }

private:
    void createControls();
    QPushButton* makeButton(const char* name, const QString& caption, QWidget* parent, const QRect& twips);
    void chooseCategory(const QString& fileName);
    bool LoadOrderList(const QString& fileName);
    void moveUp();
    void moveDown();
    void moveSelected(int to);
    void deleteSelected();
    void save();

    InstallPaths m_paths;
    MessageSink& m_messages;
    QString m_currentOrderFile = QStringLiteral("none");

    QGroupBox* Frame3 = nullptr;
    QListWidget* List1 = nullptr;
};

} // namespace velmora
