#pragma once
// Where a field lives in a payroll record, taken from its 23-character
// descriptor ("DIPX$,00003,10,A,0,P001"): prefix, 1-based offset, length, type.

#include <string>
#include <string_view>

namespace vx::demo {

struct FieldPlace {
  std::string prefix;  // "DIPX$"
  int offset = 0;      // 1-based position in the record
  int length = 0;
  char type = 'A';     // 'A' text, 'N' whole number, 'D' date, '2'..'6' implied decimals
};

// Parses a descriptor; throws std::invalid_argument when it is not one.
FieldPlace ParseDescriptor(std::string_view descriptor);

}  // namespace vx::demo
