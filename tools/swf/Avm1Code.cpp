#include "Avm1Code.h"

#include "SwfBits.h"

#include <QtEndian>
#include <cstring>
#include <stdexcept>

namespace velmora::swf {

namespace {

constexpr quint8 kActionGetUrl = 0x83;
constexpr quint8 kActionPush = 0x96;
constexpr quint8 kActionJump = 0x99;
constexpr quint8 kActionIf = 0x9D;
constexpr quint8 kActionDefineFunction = 0x9B;

enum PushType : quint8 { String = 0, Boolean = 5, Double = 6, Integer = 7 };

void putValue(QByteArray& out, const Avm1Code::Value& value) {
    if (const auto* text = std::get_if<QString>(&value)) {
        putU8(out, String);
        putString(out, *text);
    } else if (const auto* number = std::get_if<int>(&value)) {
        putU8(out, Integer);
        putU32(out, quint32(*number));
    } else if (const auto* real = std::get_if<double>(&value)) {
        // Push stores a double as its two 32-bit halves, high half first.
        quint64 bits;
        std::memcpy(&bits, real, sizeof bits);
        putU8(out, Double);
        putU32(out, quint32(bits >> 32));
        putU32(out, quint32(bits & 0xffffffffu));
    } else {
        putU8(out, Boolean);
        putU8(out, std::get<bool>(value) ? 1 : 0);
    }
}

} // namespace

Avm1Code& Avm1Code::action(quint8 code, const QByteArray& payload) {
    putU8(m_code, code);
    if (code >= 0x80) {
        if (payload.size() > 0xffff)
            throw std::length_error("action payload too long");
        putU16(m_code, quint16(payload.size()));
        m_code.append(payload);
    }
    return *this;
}

Avm1Code& Avm1Code::push(std::initializer_list<Value> values) {
    QByteArray payload;
    for (const Value& v : values)
        putValue(payload, v);
    return action(kActionPush, payload);
}

Avm1Code& Avm1Code::op(Op code) {
    return action(quint8(code), {});
}

Avm1Code& Avm1Code::getVariable(const QString& name) {
    return push({name}).op(Op::GetVariable);
}

Avm1Code& Avm1Code::getMember(const QString& name) {
    return push({name}).op(Op::GetMember);
}

Avm1Code& Avm1Code::callMethod(const QString& object, const QString& method, int argumentCount) {
    return push({argumentCount}).getVariable(object).push({method}).op(Op::CallMethod);
}

int Avm1Code::newLabel() {
    m_labels.append(-1);
    return int(m_labels.size()) - 1;
}

Avm1Code& Avm1Code::bind(int label) {
    m_labels[label] = m_code.size();
    return *this;
}

Avm1Code& Avm1Code::branch(quint8 code, int label) {
    action(code, QByteArray(2, '\0'));
    m_fixups.append({m_code.size() - 2, label});
    return *this;
}

Avm1Code& Avm1Code::jump(int label) {
    return branch(kActionJump, label);
}

Avm1Code& Avm1Code::branchIfTrue(int label) {
    return branch(kActionIf, label);
}

Avm1Code& Avm1Code::getUrl(const QString& url, const QString& target) {
    QByteArray payload;
    putString(payload, url);
    putString(payload, target);
    return action(kActionGetUrl, payload);
}

Avm1Code& Avm1Code::pushFunction(const Avm1Code& body) {
    const QByteArray code = body.bytes();
    if (code.size() > 0xffff)
        throw std::length_error("function body too long");
    QByteArray payload;
    putString(payload, QString()); // anonymous
    putU16(payload, 0);            // no parameters
    putU16(payload, quint16(code.size()));
    action(kActionDefineFunction, payload);
    m_code.append(code);
    return *this;
}

QByteArray Avm1Code::bytes() const {
    QByteArray code = m_code;
    for (const Fixup& f : m_fixups) {
        const qsizetype target = m_labels.at(f.label);
        if (target < 0)
            throw std::logic_error("branch to a label that was never bound");
        // Offsets count from the end of the branch action, which ends with its offset field.
        const qint64 offset = target - (f.offsetField + 2);
        if (offset < -32768 || offset > 32767)
            throw std::length_error("branch too far");
        qToLittleEndian<qint16>(qint16(offset), code.data() + f.offsetField);
    }
    return code;
}

} // namespace velmora::swf
