#pragma once

#include <QFont>

namespace velmora::Fonts {

// SimSun 10.5 pt. Where it is missing, a Simplified-Chinese serif face is named next: Qt's own
// fallback would pick a Japanese variant under a C locale.
QFont tabFont();

} // namespace velmora::Fonts
