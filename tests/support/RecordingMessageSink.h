#pragma once

#include "platform/MessageSink.h"

#include <QStringList>

#include <functional>
#include <vector>

namespace velmora::test {

// Records every message box instead of showing it, and answers at once.
class RecordingMessageSink : public MessageSink {
public:
    struct Shown {
        QString text;
        QString caption;
        Icon icon;
        Buttons buttons;
    };

    Answer show(const QString& text, const QString& caption, Icon icon, Buttons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        if (onShow)
            onShow();
        return buttons == Buttons::YesNo ? nextAnswer : Answer::Ok;
    }

    QStringList texts() const {
        QStringList list;
        for (const Shown& s : shown)
            list << s.text;
        return list;
    }

    std::vector<Shown> shown;
    // Runs while a box would be open, as the window's state is then.
    std::function<void()> onShow;
    Answer nextAnswer = Answer::No;
};

} // namespace velmora::test
