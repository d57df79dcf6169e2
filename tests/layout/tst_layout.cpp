// The engine's tests run without widgets, so that the core build without them keeps them.
#ifdef VELMORA_WIDGET_TESTS
#include <QApplication>
#else
#include <QCoreApplication>
#endif

int runLayoutEngineTest(int argc, char** argv);
int runWidgetLayoutTest(int argc, char** argv);

int main(int argc, char** argv) {
#ifdef VELMORA_WIDGET_TESTS
    QApplication app(argc, argv);
    return runLayoutEngineTest(argc, argv) | runWidgetLayoutTest(argc, argv);
#else
    QCoreApplication app(argc, argv);
    return runLayoutEngineTest(argc, argv);
#endif
}
