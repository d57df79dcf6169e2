// Writes the program's icon as a PNG file, for desktop launchers: velmora-icon <file> <size>.
#include "ui/Artwork.h"

#include <QGuiApplication>

#include <cstdio>

int main(int argc, char** argv) {
    // Runs during the build, where there may be no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    bool sizeOk = false;
    const int size = args.value(2).toInt(&sizeOk);
    if (args.size() != 3 || !sizeOk || size <= 0) {
        std::fputs("usage: velmora-icon <file.png> <size>\n", stderr);
        return 2;
    }
    if (!velmora::Artwork::iconPicture(size).save(args.at(1), "PNG")) {
        std::fprintf(stderr, "velmora-icon: cannot write %s\n", qPrintable(args.at(1)));
        return 1;
    }
    return 0;
}
