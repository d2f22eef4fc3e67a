#pragma once
// The units and paper sizes the writer knows.

#include <cstdint>
#include <optional>

namespace vx::pdf {

struct PaperSize {
  float width;   // points
  float height;  // points
};

// Points per unit of a scale mode (0 point, 1 inch, 2 millimetre,
// 3 centimetre); nothing for other modes.
std::optional<float> PointsPerUnit(int32_t scale_mode);

// Size of a paper code, -8 (A0 portrait) to 17 (Executive landscape);
// nothing for other codes. A4 is 596 x 842.
std::optional<PaperSize> StandardPaperSize(int32_t code);

}  // namespace vx::pdf
