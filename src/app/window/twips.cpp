#include "app/window/twips.h"

#include <cmath>

namespace vx::app {

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

QRect TwipsRect(int left, int top, int width, int height, double dpi) {
  // Edges are rounded, not sizes, so that controls placed side by side in
  // twips stay side by side in pixels.
  const int x1 = TwipsToPixels(left, dpi), y1 = TwipsToPixels(top, dpi);
  const int x2 = TwipsToPixels(left + width, dpi), y2 = TwipsToPixels(top + height, dpi);
  return QRect(x1, y1, x2 - x1, y2 - y1);
}

}  // namespace vx::app
