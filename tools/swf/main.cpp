// velmora-swfgen <kind> <out.swf>: writes one of the demo games.
#include "DemoMovies.h"

#include <QCoreApplication>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    const QByteArray movie = args.size() == 3 ? velmora::swf::demoMovie(args[1]) : QByteArray();
    if (movie.isEmpty()) {
        err << "usage: velmora-swfgen <kind> <out.swf>\nkinds: "
            << velmora::swf::demoMovieKinds().join(QStringLiteral(", ")) << '\n';
        return 2;
    }
    QSaveFile out(args[2]);
    if (!out.open(QIODevice::WriteOnly) || out.write(movie) != movie.size() || !out.commit()) {
        err << "cannot write " << args[2] << ": " << out.errorString() << '\n';
        return 1;
    }
    return 0;
}
