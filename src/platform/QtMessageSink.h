#pragma once

#include "platform/MessageSink.h"

class QWidget;

namespace velmora {

// The real message boxes: modal, with the icon, buttons and caption asked for.
class QtMessageSink : public MessageSink {
public:
    explicit QtMessageSink(QWidget* parent = nullptr);
    void setParent(QWidget* parent) { m_parent = parent; }
    Answer show(const QString& text, const QString& caption, Icon icon, Buttons buttons) override;

private:
    QWidget* m_parent;
};

} // namespace velmora
