#include "ui/WidgetLayout.h"
#include "ui/LayoutEngine.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

using namespace velmora;

class WidgetLayoutTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void scalesNamedChildrenWithTheirForm();
};

void WidgetLayoutTest::scalesNamedChildrenWithTheirForm() {
    QWidget form;
    form.setObjectName(QStringLiteral("Form"));
    form.resize(200, 100);
    auto* child = new QLabel(&form);
    child->setObjectName(QStringLiteral("Child"));
    child->setGeometry(20, 10, 50, 30);
    auto* unnamed = new QWidget(&form);
    unnamed->setGeometry(1, 2, 3, 4);
    auto* timer = new QTimer(&form);
    timer->setObjectName(QStringLiteral("Timer"));

    LayoutEngine engine;
    ResizeForm(engine, form);
    QCOMPARE(engine.FormRecords().size(), 1);
    QCOMPARE(engine.FormRecords().at(0).ScaleWidth, 3000);
    QCOMPARE(engine.FormRecords().at(0).ScaleHeight, 1500);
    QCOMPARE(engine.ControlRecords().size(), 2);
    const LayoutRecord& recorded = engine.ControlRecords().at(0);
    QCOMPARE(recorded.Name, QStringLiteral("Child"));
    QCOMPARE(QRect(recorded.Left, recorded.Top, recorded.Width, recorded.Height), QRect(300, 150, 750, 450));
    QCOMPARE(engine.ControlRecords().at(1).Name, QStringLiteral("Timer"));

    form.resize(300, 150);
    ResizeForm(engine, form);
    QCOMPARE(child->geometry(), QRect(30, 15, 75, 45));
    QCOMPARE(unnamed->geometry(), QRect(1, 2, 3, 4));

    // 151 % wide: the left edge 453 twips rounds to 30 pixels, the right edge 1585 to 106.
    form.resize(302, 100);
    ResizeForm(engine, form);
    QCOMPARE(child->geometry(), QRect(30, 10, 76, 30));
}

int runWidgetLayoutTest(int argc, char** argv) {
    WidgetLayoutTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "WidgetLayoutTest.moc"
