#include "archive/trace.h"

namespace vx::archive {

void TRACCIA(TraceRing& ring, int16_t& newest, std::string_view name) {
  // Anything outside 0..10 can only come from a damaged state: start afresh.
  if (newest < 0 || newest > 10) newest = 0;
  if (ring[newest] == name) return;
  newest = static_cast<int16_t>(newest >= 10 ? 1 : newest + 1);
  ring[newest].assign(name);
}

std::string TraceListing(const TraceRing& ring, int16_t newest) {
  if (newest < 0 || newest > 10) newest = 0;
  std::string text;
  int slot = newest;
  for (int i = 0; i < 10; ++i) {
    slot = slot >= 10 ? 1 : slot + 1;
    text += ring[slot];
    text += "\r\n";
  }
  return text;
}

}  // namespace vx::archive
