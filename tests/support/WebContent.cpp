#include "support/WebContent.h"

#include "platform/web/WebEngineSetup.h"

#include <QDeadlineTimer>
#include <QImage>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

#include <memory>
#include <optional>

#include <unistd.h>

namespace velmora::test {

void prepareTestWebEngine() {
    prepareWebEngine();
    if (geteuid() == 0)
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

QWebEnginePage* pageOf(QWidget* widget) {
    return widget->findChild<QWebEngineView*>()->page();
}

QVariant evaluate(QWebEnginePage* page, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [result](const QVariant& v) { *result = v; });
    if (!QTest::qWaitFor([&] { return result->has_value(); }, 30000))
        return {};
    return result->value();
}

ColourSpot findColour(QWidget* widget, QColor colour, int tolerance) {
    const QImage image = widget->grab().toImage();
    ColourSpot spot;
    double sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (qAbs(p.red() - colour.red()) + qAbs(p.green() - colour.green()) +
                    qAbs(p.blue() - colour.blue()) <
                tolerance) {
                ++spot.count;
                sum += x;
            }
        }
    if (spot.count > 0)
        spot.x = sum / spot.count;
    return spot;
}

ColourSpot waitForColour(QWidget* widget, QColor colour, const std::function<bool(const ColourSpot&)>& done,
                         int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    ColourSpot spot = findColour(widget, colour);
    while (!done(spot) && !deadline.hasExpired()) {
        QTest::qWait(200);
        spot = findColour(widget, colour);
    }
    return spot;
}

} // namespace velmora::test
