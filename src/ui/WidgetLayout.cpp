#include "ui/WidgetLayout.h"

#include "ui/LayoutEngine.h"
#include "ui/Twips.h"

#include <QTimer>
#include <QWidget>

namespace velmora {

namespace {

// In floating point, so that no far-off position overflows.
double twips(int pixels) {
    return pixels * double(TwipsPerPixel);
}

int nearestPixel(double twips) {
    return qRound(twips / TwipsPerPixel);
}

// A child widget, or a timer, which has no geometry: every read fails and every move is refused.
class ChildControl final : public LayoutControl {
public:
    explicit ChildControl(QObject* object)
        : m_object(object)
        , m_widget(qobject_cast<QWidget*>(object)) {}

    QString name() const override { return m_object->objectName(); }
    // Qt has no control arrays.
    std::optional<qint32> index() const override { return std::nullopt; }
    bool isLine() const override { return false; }

    std::optional<double> read(Property property) const override {
        if (!m_widget)
            return std::nullopt;
        const QRect g = m_widget->geometry();
        switch (property) {
        case Property::Left:
            return twips(g.x());
        case Property::Top:
            return twips(g.y());
        case Property::Width:
            return twips(g.width());
        case Property::Height:
            return twips(g.height());
        default:
            return std::nullopt; // a widget has no end points
        }
    }

    bool write(Property, qint32) override { return false; }

    bool move(qint32 left, qint32 top, std::optional<qint32> width, std::optional<qint32> height) override {
        // A negative size is out of range, as for any control.
        if (!m_widget || width.value_or(0) < 0 || height.value_or(0) < 0)
            return false;
        // Edges rather than sizes are rounded, so that controls that meet in twips meet in pixels.
        const int x = nearestPixel(left);
        const int y = nearestPixel(top);
        const int w = width ? nearestPixel(double(left) + *width) - x : m_widget->width();
        const int h = height ? nearestPixel(double(top) + *height) - y : m_widget->height();
        m_widget->setGeometry(x, y, w, h);
        return true;
    }

    // No widget has the property: a list widget takes any height already.
    bool setIntegralHeight(bool) override { return false; }

private:
    QObject* m_object;
    QWidget* m_widget;
};

class WidgetForm final : public LayoutForm {
public:
    explicit WidgetForm(QWidget& form)
        : m_form(form) {
        // children() follows creation order, changed only by raising or lowering a widget;
        // records are found by name, so the order does not change the outcome.
        for (QObject* child : form.children()) {
            const auto* widget = qobject_cast<QWidget*>(child);
            const bool control = widget ? !widget->isWindow() : qobject_cast<QTimer*>(child) != nullptr;
            if (control && !child->objectName().isEmpty())
                m_controls.emplace_back(child);
        }
    }

    QString name() const override { return m_form.objectName(); }
    double scaleWidth() const override { return twips(m_form.width()); }
    double scaleHeight() const override { return twips(m_form.height()); }

    std::vector<LayoutControl*> controls() override {
        std::vector<LayoutControl*> result;
        for (ChildControl& control : m_controls)
            result.push_back(&control);
        return result;
    }

private:
    QWidget& m_form;
    std::vector<ChildControl> m_controls;
};

} // namespace

void ResizeForm(LayoutEngine& engine, QWidget& form) {
    WidgetForm layoutForm(form);
    engine.ResizeForm(layoutForm);
}

} // namespace velmora
