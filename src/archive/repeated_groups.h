#pragma once
// Fields that repeat in groups inside one record: the n-th occurrence of such
// a field lies (n - 1) strides after the position its descriptor names.

#include <cstdint>
#include <string_view>

namespace vx::archive {

struct GroupShift {
  int16_t shift = 0;
  // A "DI2X$" descriptor with no "I" from position 4 on: its group cannot be
  // told, the shift is 0 and the caller says so to the operator.
  bool unknown_id_letter = false;
};

// The shift in characters of occurrence `occurrence` (0: no shift) of the
// field a descriptor names. A shift that does not fit in 16 bits is run-time
// error 6.
GroupShift RepoSpostamento(std::string_view descriptor, int16_t occurrence);

}  // namespace vx::archive
