#pragma once

#include <QList>

namespace velmora::swf {

// A sine tone as 16-bit samples, faded in and out so that it starts and ends without a click.
QList<qint16> tone(double frequency, double seconds, int sampleRate);

} // namespace velmora::swf
