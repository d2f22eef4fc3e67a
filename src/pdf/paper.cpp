#include "pdf/paper.h"

namespace vx::pdf {

std::optional<float> PointsPerUnit(int32_t scale_mode) {
  switch (scale_mode) {
    case 0: return 1.0f;
    case 1: return 72.0f;
    case 2: return 2.8346455f;  // 72 / 25.4
    case 3: return 28.346457f;  // 72 / 2.54
    default: return std::nullopt;
  }
}

std::optional<PaperSize> StandardPaperSize(int32_t code) {
  // A0 to A7, each portrait then landscape, from code -8; then Letter,
  // Tabloid, Legal, Statement and Executive pairs.
  static constexpr PaperSize kSizes[] = {
      {2384, 3371}, {3371, 2384}, {1685, 2384}, {2384, 1685}, {1192, 1685}, {1685, 1192},
      {842, 1192},  {1192, 842},  {596, 842},   {842, 596},   {421, 596},   {596, 421},
      {298, 421},   {421, 298},   {210, 298},   {298, 210},   {612, 792},   {792, 612},
      {792, 1224},  {1224, 792},  {612, 1008},  {1008, 612},  {396, 612},   {612, 396},
      {522, 756},   {756, 522},
  };
  if (code < -8 || code > 17) return std::nullopt;
  return kSizes[code + 8];
}

}  // namespace vx::pdf
