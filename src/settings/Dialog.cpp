#include "settings/Dialog.h"

#include "common/TextValueFile.h"
#include "platform/MessageSink.h"
#include "settings/OrderFile.h"
#include "ui/Artwork.h"
#include "ui/Colours.h"
#include "ui/Twips.h"

#include <QDir>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>

namespace velmora {

namespace {

constexpr int ClientWidth = 5670; // twips
constexpr int ClientHeight = 9405;
const QColor DarkGrey{64, 64, 64};
const QColor Orange{255, 128, 0};

struct CategoryButton {
    const char* name;
    const char16_t* caption;
    const char* fileName;
    int top; // twips
};

constexpr CategoryButton Categories[] = {
    {"Command1", u"热门", "b01.inb", 1320},
    {"Command2", u"益智", "b02.inb", 1560},
    {"Command3", u"动作", "b03.inb", 1800},
    {"Command4", u"体育", "b04.inb", 2040},
};

// The row's bytes as read from the file; the text is only what the list shows.
constexpr int RowBytes = Qt::UserRole;

} // namespace

Dialog::Dialog(const InstallPaths& paths, MessageSink& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_paths(paths)
    , m_messages(messages) {
    setObjectName(QStringLiteral("Dialog"));
    setWindowTitle(QStringLiteral("设置"));
    setWindowIcon(Artwork::windowIcon());
    Colours::paintBlack(*this, Colours::LightGrey);
    setFixedSize(twipsToPixels(ClientWidth), twipsToPixels(ClientHeight));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = rect();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    createControls();
}

void Dialog::createControls() {
    Frame3 = new QGroupBox(QStringLiteral("各分类列表顺序调整"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    Frame3->setGeometry(rectFromTwips(120, 120, 5415, 8655));
    Colours::paintBlack(*Frame3, Colours::LightGrey);

    const auto label = [this](const char* name, const QString& text, const QRect& twips) {
        auto* l = new QLabel(text, Frame3);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(twips);
        Colours::paintBlack(*l, Colours::LightGrey);
    };
    label("Label2", QStringLiteral("把您喜欢的游戏向上移，不太喜欢的向下移！讨厌的删除"),
          rectFromTwips(600, 360, 4695, 255));
    label("Label3", QStringLiteral("先单击想移动的游戏，然后点击上移、下移、删除"),
          rectFromTwips(600, 720, 4335, 255));

    List1 = new QListWidget(Frame3);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(rectFromTwips(2040, 1080, 3015, 7440));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette p = List1->palette();
    p.setColor(QPalette::Base, DarkGrey);
    p.setColor(QPalette::Text, Orange);
    List1->setPalette(p);

    QWidget* previous = nullptr;
    auto* ok = makeButton("OKButton", QStringLiteral("保存修改"), this, rectFromTwips(1680, 8880, 900, 375));
    auto* cancel =
        makeButton("CancelButton", QStringLiteral("取消"), this, rectFromTwips(3360, 8880, 900, 375));
    connect(ok, &QPushButton::clicked, this, &Dialog::save);
    connect(cancel, &QPushButton::clicked, this, &Dialog::reject);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, List1);
    previous = List1;

    for (const CategoryButton& category : Categories) {
        auto* button = makeButton(category.name, QString::fromUtf16(category.caption), Frame3,
                                  rectFromTwips(240, category.top, 1215, 255));
        const QString fileName = QString::fromLatin1(category.fileName);
        connect(button, &QPushButton::clicked, this, [this, fileName] { chooseCategory(fileName); });
        setTabOrder(previous, button);
        previous = button;
    }
    const struct {
        const char* name;
        const char16_t* caption;
        int top;
        void (Dialog::*action)();
    } edits[] = {
        {"Command18", u"向上移动", 5880, &Dialog::moveUp},
        {"Command19", u"向下移动", 6480, &Dialog::moveDown},
        {"Command20", u"删除选中", 7080, &Dialog::deleteSelected},
    };
    for (const auto& edit : edits) {
        auto* button = makeButton(edit.name, QString::fromUtf16(edit.caption), Frame3,
                                  rectFromTwips(240, edit.top, 1215, 375));
        connect(button, &QPushButton::clicked, this, edit.action);
        setTabOrder(previous, button);
        previous = button;
    }
    ok->setFocus();
}

QPushButton* Dialog::makeButton(const char* name, const QString& caption, QWidget* parent,
                                const QRect& geometry) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(geometry);
    // Enter presses the focused button only: no button saves on Enter from elsewhere.
    button->setAutoDefault(false);
    QPalette p = button->palette();
    p.setColor(QPalette::Button, Qt::white);
    p.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(p);
    return button;
}

void Dialog::chooseCategory(const QString& fileName) {
    if (LoadOrderList(fileName))
        m_currentOrderFile = fileName;
}

bool Dialog::LoadOrderList(const QString& fileName) {
    const QString path = m_paths.orderFile(fileName);
    const std::optional<QByteArrayList> rows = OrderFile::read(path);
    if (!rows) {
        // The list and the category stay as they were: a save now must not put an empty list
        // in place of either file.
        m_messages.hint(QStringLiteral("无法读取列表文件“%1”。").arg(QDir::toNativeSeparators(path)));
        return false;
    }
    List1->clear();
    for (const QByteArray& row : *rows) {
        auto* item = new QListWidgetItem(TextValueFile::decodeGbk(row), List1);
        item->setData(RowBytes, row);
    }
    return true;
}

void Dialog::moveUp() {
    const int row = List1->currentRow();
    if (row > 0 && List1->currentItem()->isSelected())
        moveSelected(row - 1);
}

void Dialog::moveDown() {
    const int row = List1->currentRow();
    if (row >= 0 && row + 1 < List1->count() && List1->currentItem()->isSelected())
        moveSelected(row + 1);
}

void Dialog::moveSelected(int to) {
    // The selection follows the moved row, so repeated clicks keep moving the same game.
    QListWidgetItem* item = List1->takeItem(List1->currentRow());
    List1->insertItem(to, item);
    List1->setCurrentItem(item);
}

void Dialog::deleteSelected() {
    QListWidgetItem* item = List1->currentItem();
    if (!item || !item->isSelected())
        return;
    if (m_messages.show(QStringLiteral("确实要删除这个节目吗？"), QString(), MessageSink::Icon::Critical,
                        MessageSink::Buttons::YesNo) != MessageSink::Answer::Yes)
        return;
    delete item;
    List1->setCurrentItem(nullptr);
    List1->clearSelection();
}

void Dialog::save() {
    if (m_currentOrderFile != QStringLiteral("none")) {
        QByteArrayList rows;
        for (int i = 0; i < List1->count(); ++i)
            rows << List1->item(i)->data(RowBytes).toByteArray();
        if (!OrderFile::write(m_paths.orderFile(m_currentOrderFile),
                              m_paths.orderTempFile(m_currentOrderFile), rows)) {
            // The window stays open with the edits, so the player can try again.
            m_messages.hint(QStringLiteral("无法保存列表文件“%1”，修改没有保存。")
                                .arg(QDir::toNativeSeparators(m_paths.orderFile(m_currentOrderFile))));
            return;
        }
    }
    accept();
}

} // namespace velmora
