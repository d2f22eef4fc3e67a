#pragma once
// The procedure trace: the names of the last ten archive operations, shown
// with every run-time error so that the operator can tell where it happened.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vx::archive {

// Slots 1..10 hold the names; slot 0 exists and stays empty.
using TraceRing = std::array<std::string, 11>;

// Records a name in the ring at the slot after `newest`, wrapping from 10 to
// 1 and overwriting the oldest name. A name equal to the newest one is not
// recorded again, so a loop over one operation leaves one entry.
void TRACCIA(TraceRing& ring, int16_t& newest, std::string_view name);

// The ten slots from the oldest to the newest, each followed by CR LF.
std::string TraceListing(const TraceRing& ring, int16_t newest);

}  // namespace vx::archive
