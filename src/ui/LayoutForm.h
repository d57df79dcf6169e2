#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace velmora {

// One control as the layout engine sees it. Coordinates are in the scale units of its form.
// Every read may fail (empty) and every write may be refused (false): a control has only the
// properties of its kind, and the engine skips whatever a control lacks.
class LayoutControl {
public:
    enum class Property { Left, Top, Width, Height, X1, Y1, X2, Y2 };

    virtual ~LayoutControl() = default;

    virtual QString name() const = 0;
    // Position within its control array; empty for a control that is not an array member.
    virtual std::optional<qint32> index() const = 0;
    // A line has only end points, X1, Y1, X2 and Y2; every other control has a rectangle.
    virtual bool isLine() const = 0;
    virtual std::optional<double> read(Property property) const = 0;
    // The engine writes only a line's end points this way.
    virtual bool write(Property property, qint32 value) = 0;
    // Without a width or a height the control keeps its current one.
    virtual bool move(qint32 left, qint32 top, std::optional<qint32> width, std::optional<qint32> height) = 0;
    virtual bool setIntegralHeight(bool on) = 0;
};

// A form: its client area and its controls.
class LayoutForm {
public:
    virtual ~LayoutForm() = default;

    virtual QString name() const = 0;
    virtual double scaleWidth() const = 0;
    virtual double scaleHeight() const = 0;
    // Every control of the form, in the form's collection order; owned by the form.
    virtual std::vector<LayoutControl*> controls() = 0;
};

} // namespace velmora
