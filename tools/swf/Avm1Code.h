#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <initializer_list>
#include <variant>

namespace velmora::swf {

// Assembles ActionScript 1/2 byte code (the actions of DoAction tags and function bodies).
class Avm1Code {
public:
    using Value = std::variant<QString, int, double, bool>;

    enum class Op : quint8 {
        Stop = 0x07,
        Subtract = 0x0B,
        Multiply = 0x0C,
        Or = 0x11,
        Not = 0x12,
        Pop = 0x17,
        GetVariable = 0x1C,
        SetVariable = 0x1D,
        NewObject = 0x40,
        Add2 = 0x47,
        Less2 = 0x48,
        GetMember = 0x4E,
        SetMember = 0x4F,
        CallMethod = 0x52,
    };

    Avm1Code& push(std::initializer_list<Value> values);
    Avm1Code& op(Op code);

    // The value of a variable of the current scope onto the stack.
    Avm1Code& getVariable(const QString& name);
    // Replaces the object on top of the stack by its member.
    Avm1Code& getMember(const QString& name);
    // Calls object.method with the argumentCount values pushed before (the last one first);
    // the result is left on the stack.
    Avm1Code& callMethod(const QString& object, const QString& method, int argumentCount);

    // Branch targets: a label is created, jumped to, and bound to a position once.
    int newLabel();
    Avm1Code& bind(int label);
    Avm1Code& jump(int label);
    // Pops the top of the stack and branches when it is true.
    Avm1Code& branchIfTrue(int label);

    Avm1Code& getUrl(const QString& url, const QString& target);
    // Pushes an anonymous function without parameters whose body is `body`.
    Avm1Code& pushFunction(const Avm1Code& body);

    // The assembled actions, without the end-of-actions marker.
    QByteArray bytes() const;

private:
    Avm1Code& action(quint8 code, const QByteArray& payload);
    Avm1Code& branch(quint8 code, int label);

    struct Fixup {
        qsizetype offsetField;
        int label;
    };
    QByteArray m_code;
    QList<qsizetype> m_labels;
    QList<Fixup> m_fixups;
};

} // namespace velmora::swf
