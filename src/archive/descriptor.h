#pragma once
// The parts of a field descriptor such as "DIPX$,00003,10,A,0,P001": record
// prefix, 1-based offset, length, type, flag and field id, at fixed
// positions. A descriptor is read afresh at every use; a short or damaged one
// simply gives empty parts (offset and length 0). The text parts are views
// into the descriptor, which must outlive them.

#include <string>
#include <string_view>

namespace vx::archive {

struct DescriptorParts {
  std::string_view prefix;  // positions 1-5, "DIPX$"
  double offset = 0;        // positions 7-11
  double length = 0;        // positions 13-14
  std::string_view type;    // position 16: "A", "N", "D" or a digit
  std::string_view id;      // positions 20-23, "P001"
};

DescriptorParts ParseDescriptor(std::string_view descriptor);

}  // namespace vx::archive
