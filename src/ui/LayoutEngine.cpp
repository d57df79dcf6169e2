#include "ui/LayoutEngine.h"

#include <cmath>
#include <limits>

namespace velmora {

namespace {

using Property = LayoutControl::Property;

// Nearest whole number, ties to even, whatever rounding mode the floating-point environment has.
double roundHalfEven(double value) {
    const double nearest = std::round(value);
    return std::abs(value - nearest) == 0.5 ? 2.0 * std::round(value / 2.0) : nearest;
}

// Empty when the value is not a number or its rounded value does not fit Int.
template <typename Int> std::optional<Int> roundTo(double value) {
    const double bound = std::ldexp(1.0, std::numeric_limits<Int>::digits);
    const double rounded = roundHalfEven(value);
    if (!(rounded >= -bound && rounded < bound))
        return {};
    return static_cast<Int>(rounded);
}

std::optional<qint32> narrow(qint64 value) {
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return {};
    return static_cast<qint32>(value);
}

std::optional<qint32> readRounded(const LayoutControl& control, Property property) {
    const std::optional<double> value = control.read(property);
    return value ? roundTo<qint32>(*value) : std::nullopt;
}

// recorded × percent div 100, formed in 64 bits so that no product overflows.
std::optional<qint32> scaled(qint32 recorded, qint32 percent, bool parked = false) {
    return narrow(qint64{recorded} * percent / 100 - (parked ? LayoutEngine::ParkOffset : 0));
}

// A horizontal value scaled from its record; parked again when the control's current value of
// that property is parked, so that a hidden control stays out of sight.
std::optional<qint32> scaledHorizontal(const LayoutControl& control, Property current, qint32 recorded,
                                       qint32 percent) {
    const std::optional<qint32> now = readRounded(control, current);
    return now ? scaled(recorded, percent, *now < 0) : std::nullopt;
}

// The current client size as a whole percentage of the recorded one, truncated.
std::optional<qint32> wholePercent(double current, qint32 recorded) {
    const std::optional<qint64> hundredfold = roundTo<qint64>(current * 100.0);
    // The least 64-bit value divided by -1 is the one quotient that overflows.
    if (!hundredfold || recorded == 0 ||
        (recorded == -1 && *hundredfold == std::numeric_limits<qint64>::min()))
        return {};
    return narrow(*hundredfold / recorded);
}

void resizeLine(LayoutControl& line, const LayoutRecord& r, qint32 h, qint32 w) {
    const auto setEnd = [&line](Property end, std::optional<qint32> value) {
        if (value)
            line.write(end, *value);
    };
    setEnd(Property::X1, scaledHorizontal(line, Property::X1, r.Left, w));
    setEnd(Property::Y1, scaled(r.Top, h));
    setEnd(Property::X2, scaledHorizontal(line, Property::X2, r.Width, w));
    setEnd(Property::Y2, scaled(r.Height, h));
}

} // namespace

void LayoutEngine::ResizeForm(LayoutForm& form) {
    for (LayoutControl* control : form.controls())
        ResizeControl(*control, form);
}

void LayoutEngine::ResizeControl(LayoutControl& control, LayoutForm& form) {
    // A percentage that cannot be computed counts as 0 for this control.
    const qint32 h = HeightPercent(form).value_or(0);
    const qint32 w = WidthPercent(form).value_or(0);
    const qsizetype i = FindControlRecord(control, form.name());
    if (i < 0)
        return; // the control came after its form was recorded: it has no share to keep
    const LayoutRecord r = m_controlRecords.at(i);
    if (control.isLine()) {
        resizeLine(control, r, h, w);
        return;
    }
    const std::optional<qint32> left = scaledHorizontal(control, Property::Left, r.Left, w);
    const std::optional<qint32> top = scaled(r.Top, h);
    const std::optional<qint32> width = scaled(r.Width, w);
    const std::optional<qint32> height = scaled(r.Height, h);
    // A call is made only with values that could be computed. Each may be refused: a control that
    // rejects a height still gets width and position from the second, one that also rejects a
    // width still gets its position from the third.
    if (!left || !top)
        return;
    if (width && height)
        control.move(*left, *top, width, height);
    if (width)
        control.move(*left, *top, width, std::nullopt);
    control.move(*left, *top, std::nullopt, std::nullopt);
}

std::optional<qint32> LayoutEngine::HeightPercent(LayoutForm& form) {
    const qsizetype k = formRecordFor(form);
    return wholePercent(form.scaleHeight(), m_formRecords.at(k).ScaleHeight);
}

std::optional<qint32> LayoutEngine::WidthPercent(LayoutForm& form) {
    const qsizetype k = formRecordFor(form);
    return wholePercent(form.scaleWidth(), m_formRecords.at(k).ScaleWidth);
}

qsizetype LayoutEngine::formRecordFor(LayoutForm& form) {
    const qsizetype k = FindFormRecord(form);
    return k >= 0 ? k : AddFormRecord(form);
}

qsizetype LayoutEngine::FindFormRecord(const LayoutForm& form) const {
    const QString name = form.name();
    for (qsizetype k = 0; k < m_formRecords.size(); ++k) {
        if (m_formRecords.at(k).Name == name)
            return k;
    }
    return -1;
}

qsizetype LayoutEngine::AddFormRecord(LayoutForm& form) {
    LayoutRecord record;
    record.Name = form.name();
    // A size that does not fit is recorded as 0, from which no percentage can be computed.
    record.ScaleHeight = roundTo<qint32>(form.scaleHeight()).value_or(0);
    record.ScaleWidth = roundTo<qint32>(form.scaleWidth()).value_or(0);
    const qsizetype k = m_formRecords.size();
    m_formRecords.append(record);
    for (LayoutControl* control : form.controls()) {
        if (FindControlRecord(*control, record.Name) < 0)
            AddControlRecord(*control, record.Name);
    }
    return k;
}

qsizetype LayoutEngine::FindControlRecord(const LayoutControl& control, const QString& formName) const {
    const QString name = control.name();
    // A control that is not an array member is found by its name alone.
    const std::optional<qint32> index = control.index();
    for (qsizetype j = 0; j < m_controlRecords.size(); ++j) {
        const LayoutRecord& r = m_controlRecords.at(j);
        if (r.FormName == formName && r.Name == name && (!index || *index == r.Index))
            return j;
    }
    return -1;
}

qsizetype LayoutEngine::AddControlRecord(LayoutControl& control, const QString& formName) {
    LayoutRecord record;
    record.Name = control.name();
    record.Index = control.index().value_or(0);
    record.FormName = formName;
    const bool line = control.isLine();
    // A value that cannot be read or does not fit stays 0.
    const auto value = [&control](Property property) {
        return readRounded(control, property).value_or(0);
    };
    record.Top = value(line ? Property::Y1 : Property::Top);
    record.Left = RemoveParkOffset(value(line ? Property::X1 : Property::Left));
    record.Height = value(line ? Property::Y2 : Property::Height);
    record.Width = line ? RemoveParkOffset(value(Property::X2)) : value(Property::Width);
    // Lets a list box take any height rather than whole rows; a control without the property
    // refuses, which changes nothing else.
    control.setIntegralHeight(false);
    m_controlRecords.append(record);
    return m_controlRecords.size() - 1;
}

qint32 LayoutEngine::RemoveParkOffset(qint32 value) {
    return value < 0 ? value + ParkOffset : value;
}

} // namespace velmora
