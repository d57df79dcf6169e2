#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora::swf {

// Little AVM1 movies with known shapes and colours (a square on the arrow keys, a bouncing
// ball, a spinning shape), each a complete movie file, for the tests and benchmarks.
QStringList demoMovieKinds();
// An empty array for a kind that is not in demoMovieKinds().
QByteArray demoMovie(const QString& kind);

} // namespace velmora::swf
