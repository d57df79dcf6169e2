#include "platform/QtMessageSink.h"

#include "common/BuildSettings.h"

#include <QMessageBox>

namespace velmora {

QtMessageSink::QtMessageSink(QWidget* parent)
    : m_parent(parent) {
}

MessageSink::Answer QtMessageSink::show(const QString& text, const QString& caption, Icon icon,
                                        Buttons buttons) {
    QMessageBox box(m_parent);
    box.setWindowTitle(caption.isEmpty() ? QString::fromUtf8(ProductName) : caption);
    box.setText(text);
    switch (icon) {
    case Icon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    case Icon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case Icon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    if (buttons == Buttons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes ? Answer::Yes : Answer::No;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return Answer::Ok;
}

} // namespace velmora
