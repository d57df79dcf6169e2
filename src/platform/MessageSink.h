#pragma once

#include <QString>

namespace velmora {

// Every message box of the program goes through this, so that tests can record the messages
// and answer at once instead of blocking on a modal dialog.
class MessageSink {
public:
    enum class Icon { None, Information, Critical };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~MessageSink() = default;
    // An empty caption means the application title.
    virtual Answer show(const QString& text, const QString& caption, Icon icon, Buttons buttons) = 0;

    // Waiting notices and download failures: information icon, OK, caption "提示".
    void notice(const QString& text) { show(text, QStringLiteral("提示"), Icon::Information, Buttons::Ok); }
    // Hints and warnings: no icon, OK, the application title.
    void hint(const QString& text) { show(text, QString(), Icon::None, Buttons::Ok); }
};

} // namespace velmora
