#include "ui/LayoutEngine.h"

#include <QRect>
#include <QtTest>
#include <functional>
#include <limits>
#include <map>
#include <memory>

using namespace velmora;
using Property = LayoutControl::Property;

namespace {

using Values = std::map<Property, double>;

Values rect(double left, double top, double width, double height) {
    return {
        {Property::Left, left}, {Property::Top, top}, {Property::Width, width}, {Property::Height, height}};
}

// Has just the properties in values and refuses Move calls longer than movableArguments.
class FakeControl final : public LayoutControl {
public:
    QString controlName;
    std::optional<qint32> arrayIndex;
    bool line = false;
    Values values;
    int movableArguments = 4;
    bool acceptsIntegralHeight = true;
    int moveCalls = 0;
    int integralHeightRequests = 0;
    std::function<void()> onIntegralHeight;

    QString name() const override { return controlName; }
    std::optional<qint32> index() const override { return arrayIndex; }
    bool isLine() const override { return line; }

    std::optional<double> read(Property property) const override {
        const auto found = values.find(property);
        return found == values.end() ? std::nullopt : std::optional(found->second);
    }

    bool write(Property property, qint32 value) override {
        if (line)
            values[property] = value;
        return line;
    }

    bool move(qint32 left, qint32 top, std::optional<qint32> width, std::optional<qint32> height) override {
        ++moveCalls;
        if (2 + width.has_value() + height.has_value() > movableArguments)
            return false;
        values = rect(left, top, width.value_or(values[Property::Width]),
                      height.value_or(values[Property::Height]));
        return true;
    }

    bool setIntegralHeight(bool) override {
        ++integralHeightRequests;
        if (onIntegralHeight)
            onIntegralHeight();
        return acceptsIntegralHeight;
    }

    QRect geometry() const {
        return QRect(int(values.at(Property::Left)), int(values.at(Property::Top)),
                     int(values.at(Property::Width)), int(values.at(Property::Height)));
    }
};

class FakeForm final : public LayoutForm {
public:
    QString formName = QStringLiteral("Form");
    double width = 10000;
    double height = 8000;
    std::vector<std::unique_ptr<FakeControl>> items;

    QString name() const override { return formName; }
    double scaleWidth() const override { return width; }
    double scaleHeight() const override { return height; }

    std::vector<LayoutControl*> controls() override {
        std::vector<LayoutControl*> result;
        for (const auto& item : items)
            result.push_back(item.get());
        return result;
    }

    FakeControl& add(const QString& name, Values values, std::optional<qint32> index = {}) {
        items.push_back(std::make_unique<FakeControl>());
        items.back()->controlName = name;
        items.back()->values = std::move(values);
        items.back()->arrayIndex = index;
        return *items.back();
    }

    void resize(double newWidth, double newHeight) {
        width = newWidth;
        height = newHeight;
    }
};

LayoutRecord record(const QString& name, qint32 index, QRect r) {
    return {name, index, QStringLiteral("Form"), r.top(), r.left(), r.height(), r.width(), 0, 0};
}

const QRect Design(1000, 500, 333, 777);
constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr qint32 Park = LayoutEngine::ParkOffset;

} // namespace

class LayoutEngineTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void recordsTheFormThenEachControlOnce_data();
    void recordsTheFormThenEachControlOnce();
    void scalesFromTheRecords_data();
    void scalesFromTheRecords();
    void movesOnlyTheEndPointsOfLines();
    void keysRecordsByFormNameAndIndex();
    void neverRefreshesOrAddsRecords();
};

void LayoutEngineTest::recordsTheFormThenEachControlOnce_data() {
    QTest::addColumn<double>("left");
    QTest::addColumn<qint32>("recordedLeft");
    QTest::newRow("2.5 to even") << 2.5 << 2;
    QTest::newRow("3.5 to even") << 3.5 << 4;
    QTest::newRow("-0.5 is not parked") << -0.5 << 0;
    QTest::newRow("parked") << -74000.5 << 1000;
    QTest::newRow("least 32-bit value") << -2147483648.4 << std::numeric_limits<qint32>::min() + Park;
    QTest::newRow("beyond 32 bits") << 2147483647.5 << 0;
    QTest::newRow("not a number") << NaN << 0;
}

void LayoutEngineTest::recordsTheFormThenEachControlOnce() {
    QFETCH(double, left);
    QFETCH(qint32, recordedLeft);
    LayoutEngine engine;
    FakeForm form;
    form.resize(10000.5, 7999.5);
    FakeControl& timer = form.add(QStringLiteral("Timer"), {});
    timer.movableArguments = 0;
    timer.acceptsIntegralHeight = false;
    FakeControl& control = form.add(QStringLiteral("Control"), rect(left, 500, 333, 777), 2);
    QList<QPair<qsizetype, qsizetype>> countsWhenRecorded;
    for (FakeControl* c : {&timer, &control})
        c->onIntegralHeight = [&] {
            countsWhenRecorded.append({engine.FormRecords().size(), engine.ControlRecords().size()});
        };

    engine.ResizeForm(form);
    engine.ResizeForm(form);

    const QList<QPair<qsizetype, qsizetype>> formFirst{{1, 0}, {1, 1}};
    QCOMPARE(countsWhenRecorded, formFirst);
    QCOMPARE(engine.FormRecords(),
             QList({LayoutRecord{QStringLiteral("Form"), 0, {}, 0, 0, 0, 0, 8000, 10000}}));
    // A timer has no geometry; refusing IntegralHeight leaves the record complete.
    const QList controls{record(QStringLiteral("Timer"), 0, QRect()),
                         record(QStringLiteral("Control"), 2, QRect(recordedLeft, 500, 333, 777))};
    QCOMPARE(engine.ControlRecords(), controls);
}

void LayoutEngineTest::scalesFromTheRecords_data() {
    QTest::addColumn<double>("recordedLeft");
    QTest::addColumn<double>("currentLeft");
    QTest::addColumn<int>("movableArguments");
    QTest::addColumn<double>("recordedWidth");
    QTest::addColumn<QSizeF>("clientSize");
    QTest::addColumn<QRect>("expected");
    // The control's current left stays as recorded unless given; recorded client height 8000.
    const auto row = [](const char* name, double recordedLeft, QSizeF size, QRect expected,
                        double recordedWidth = 10000, double currentLeft = NaN, int movable = 4) {
        QTest::newRow(name) << recordedLeft << (qIsNaN(currentLeft) ? recordedLeft : currentLeft) << movable
                            << recordedWidth << size << expected;
    };
    row("as recorded", 1000, {10000, 8000}, Design);
    row("100.9 % wide", 1000, {10090, 8000}, Design);
    row("151.25 % wide", 1000, {15125, 8000}, {1510, 500, 502, 777});
    row("99.9 % high", 1000, {10000, 7992}, {1000, 495, 333, 769});
    row("150 %", 1000, {15000, 12000}, {1500, 750, 499, 1165});
    row("no client area", 1000, {0, 0}, {0, 0, 0, 0});
    row("still parked", 1000 - Park, {15000, 8000}, {1500 - Park, 500, 499, 777});
    row("shown since", 1000 - Park, {15000, 8000}, {1500, 500, 499, 777}, 10000, 200);
    row("parked since", 1000, {15000, 8000}, {1500 - Park, 500, 499, 777}, 10000, -1);
    row("parked, no client area", 1000 - Park, {0, 8000}, {-Park, 500, 0, 777});
    row("fixed height", 1000, {20000, 16000}, {2000, 1000, 666, 777}, 10000, NaN, 3);
    row("fixed size", 1000, {20000, 16000}, {2000, 1000, 333, 777}, 10000, NaN, 2);
    row("immovable", 1000, {20000, 16000}, Design, 10000, NaN, 0);
    // A width percentage that cannot be computed counts as 0; the height still scales.
    row("recorded width 0", 1000, {10000, 8000}, {0, 500, 0, 777}, 0);
    row("width not a number", 1000, {NaN, 8000}, {0, 500, 0, 777});
    row("width beyond 64 bits", 1000, {1e300, 8000}, {0, 500, 0, 777});
    row("percentage beyond 32 bits", 1000, {1e8, 8000}, {0, 500, 0, 777}, 1);
    // No product overflows; a position that does not fit 32 bits leaves the control in place.
    row("left beyond 32 bits", 1e9, {30000, 8000}, {1000000000, 500, 333, 777});
}

void LayoutEngineTest::scalesFromTheRecords() {
    QFETCH(double, recordedLeft);
    QFETCH(double, currentLeft);
    QFETCH(int, movableArguments);
    QFETCH(double, recordedWidth);
    QFETCH(QSizeF, clientSize);
    QFETCH(QRect, expected);
    LayoutEngine engine;
    FakeForm form;
    form.resize(recordedWidth, 8000);
    FakeControl& control = form.add(QStringLiteral("Control"), rect(recordedLeft, 500, 333, 777));
    control.movableArguments = movableArguments;
    engine.ResizeForm(form);
    control.values[Property::Left] = currentLeft;
    form.resize(clientSize.width(), clientSize.height());
    engine.ResizeForm(form);
    QCOMPARE(control.geometry(), expected);
}

void LayoutEngineTest::movesOnlyTheEndPointsOfLines() {
    LayoutEngine engine;
    FakeForm form;
    FakeControl& line = form.add(
        QStringLiteral("Line"),
        {{Property::X1, 1000}, {Property::Y1, -10}, {Property::X2, 2000 - Park}, {Property::Y2, 500}});
    line.line = true;
    engine.ResizeForm(form);
    QCOMPARE(engine.ControlRecords().at(0), record(QStringLiteral("Line"), 0, QRect(1000, -10, 2000, 500)));

    form.resize(15000, 12000);
    engine.ResizeForm(form);
    // Only the parked end stays parked; vertical values are never offset.
    const Values ends{
        {Property::X1, 1500}, {Property::Y1, -15}, {Property::X2, 3000 - Park}, {Property::Y2, 750}};
    QCOMPARE(line.values, ends);
    QCOMPARE(line.moveCalls, 0);
}

void LayoutEngineTest::keysRecordsByFormNameAndIndex() {
    LayoutEngine engine;
    FakeForm form;
    FakeControl& first = form.add(QStringLiteral("Command"), rect(100, 100, 100, 100), 0);
    FakeControl& second = form.add(QStringLiteral("Command"), rect(300, 300, 200, 200), 1);
    FakeForm other;
    other.formName = QStringLiteral("Other");
    FakeControl& namesake = other.add(QStringLiteral("Command"), rect(50, 50, 50, 50), 0);
    engine.ResizeForm(form);
    engine.ResizeForm(other);

    form.resize(20000, 16000);
    other.resize(5000, 4000);
    engine.ResizeForm(form);
    engine.ResizeForm(other);
    QCOMPARE(first.geometry(), QRect(200, 200, 200, 200));
    QCOMPARE(second.geometry(), QRect(600, 600, 400, 400));
    QCOMPARE(namesake.geometry(), QRect(25, 25, 25, 25));
}

void LayoutEngineTest::neverRefreshesOrAddsRecords() {
    LayoutEngine engine;
    FakeForm form;
    FakeControl& control = form.add(QStringLiteral("Control"), rect(1000, 500, 333, 777));
    engine.ResizeForm(form);
    FakeControl& late = form.add(QStringLiteral("Late"), rect(1, 2, 3, 4));
    for (const QSizeF size : {QSizeF(0, 0), QSizeF(15000, 12000), QSizeF(7000, 5000)}) {
        form.resize(size.width(), size.height());
        engine.ResizeForm(form);
    }
    control.values[Property::Left] = 4321; // what other code sets lasts until the next resize
    form.resize(10000, 8000);
    engine.ResizeForm(form);
    QCOMPARE(control.geometry(), Design);
    QCOMPARE(control.integralHeightRequests, 1);
    // A control that came after its form was recorded has no share to keep.
    QCOMPARE(late.geometry(), QRect(1, 2, 3, 4));
    QCOMPARE(late.moveCalls + late.integralHeightRequests, 0);
    QCOMPARE(engine.FormRecords().size() + engine.ControlRecords().size(), 2);
}

int runLayoutEngineTest(int argc, char** argv) {
    LayoutEngineTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LayoutEngineTest.moc"
