#pragma once

#include <QColor>
#include <QLabel>

namespace velmora {

// One of the text tabs along the top of the window. It lights up under the pointer, shows a
// border while a mouse button is held on it, and reports the release that ends the press.
class TabLabel : public QLabel {
    Q_OBJECT
public:
    static inline const QColor TabTextColor{255, 128, 0};
    static inline const QColor TabHoverColor{255, 255, 0};

    TabLabel(const QString& caption, QWidget* parent);

    QColor textColor() const;
    void setTextColor(const QColor& color);
    bool hasBorder() const;
    void setBorder(bool on);

Q_SIGNALS:
    // Any mouse button; the border is already removed when this is emitted.
    void released();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

} // namespace velmora
