#include "Tone.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velmora::swf {

QList<qint16> tone(double frequency, double seconds, int sampleRate) {
    const int count = int(seconds * sampleRate);
    const int fade = std::max(1, sampleRate / 100); // 10 ms
    QList<qint16> samples;
    samples.reserve(count);
    for (int i = 0; i < count; ++i) {
        const double envelope = std::min({1.0, double(i) / fade, double(count - 1 - i) / fade});
        const double wave = std::sin(2 * std::numbers::pi * frequency * i / sampleRate);
        samples.append(qint16(std::lround(12000 * envelope * wave)));
    }
    return samples;
}

} // namespace velmora::swf
