#include "TestSupport.h"

#include "MovieWriter.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWidget>

namespace velmora::test {

using Op = swf::Avm1Code::Op;

QString dataFile(const QString& name) {
    return QStringLiteral(VELMORA_TEST_DATA "/") + name;
}

bool copyFolder(const QString& from, const QString& to) {
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry : source.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString target = to + u'/' + entry.fileName();
        if (entry.isDir() ? !copyFolder(entry.filePath(), target) : !QFile::copy(entry.filePath(), target))
            return false;
    }
    return true;
}

bool rightClickPage(QWidget* host) {
    QWebEnginePage* page = pageOf(host);
    // Counted before anything on the page may stop the event; set up again on a page that was
    // loaded afresh meanwhile.
    const QString count = QStringLiteral(
        "if (window.rightClicks === undefined) { window.rightClicks = 0; "
        "window.addEventListener('contextmenu', () => ++window.rightClicks, true); } window.rightClicks");
    QWidget* surface = host->findChild<QWebEngineView*>()->focusProxy();
    // The first clicks may come before the page takes input.
    return QTest::qWaitFor(
        [&] {
            const int before = evaluate(page, count).toInt();
            QTest::mouseClick(surface, Qt::RightButton, {}, surface->rect().center());
            return QTest::qWaitFor([&] { return evaluate(page, count).toInt() > before; }, 1000);
        },
        30000);
}

bool engineMenuOpened() {
    // The engine asks for its menu after the page has let the event pass.
    QTest::qWait(1500);
    QWidget* menu = QApplication::activePopupWidget();
    if (menu)
        menu->close();
    return menu != nullptr;
}

QByteArray stillMovie(int width, int height, double frameRate) {
    swf::MovieWriter m(width, height, frameRate);
    m.setBackground({0, 80, 160});
    m.place(m.defineCircle(width / 4.0, {250, 200, 0}), 1, {width / 2.0, height / 2.0},
            QStringLiteral("sun"));
    m.showFrame();
    m.showFrame();
    return m.finish();
}

QByteArray keyProbeMovie(const QString& url) {
    swf::MovieWriter m(200, 150, 30);
    swf::Avm1Code c;
    const int up = c.newLabel();
    c.push({65}).callMethod(QStringLiteral("Key"), QStringLiteral("isDown"), 1).op(Op::Not).branchIfTrue(up);
    c.getUrl(url, QStringLiteral("_blank"));
    c.bind(up);
    m.doAction(c);
    m.showFrame();
    m.showFrame();
    return m.finish();
}

} // namespace velmora::test
