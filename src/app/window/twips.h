#pragma once
// The window is laid out in twips, as it was designed: 1440 to the inch, so
// 15 to the pixel on a 96 dpi screen. A screen of another density scales the
// whole layout with it.

#include <QRect>

namespace vx::app {

inline constexpr double kTwipsPerInch = 1440.0;

// Pixels for a length in twips on a screen of `dpi` dots per inch.
int TwipsToPixels(int twips, double dpi);

// A rectangle given in twips (left, top, width, height).
QRect TwipsRect(int left, int top, int width, int height, double dpi);

}  // namespace vx::app
