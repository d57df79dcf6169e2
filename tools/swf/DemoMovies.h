#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace velmora::swf {

// Little games for the demo installation, each a complete movie file.
QStringList demoMovieKinds();
// An empty array for a kind that is not in demoMovieKinds().
QByteArray demoMovie(const QString& kind);

} // namespace velmora::swf
