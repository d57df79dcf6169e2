#pragma once

#include <QRect>

namespace velmora {

// The window's geometry is designed in twips: 1/1440 inch, 15 twips per device-independent
// pixel at 96 dots per inch.
inline constexpr int TwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return twips / TwipsPerPixel;
}

constexpr int pixelsToTwips(int pixels) {
    return pixels * TwipsPerPixel;
}

constexpr QRect rectFromTwips(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width), twipsToPixels(height));
}

} // namespace velmora
