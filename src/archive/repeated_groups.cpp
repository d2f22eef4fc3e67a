#include "archive/repeated_groups.h"

#include <cstdint>

#include "archive/number_value.h"
#include "archive/text.h"
#include "platform/errors.h"

namespace vx::archive {

namespace {

// The stride of the group holding a field at `offset` of a record, or 0 when
// the field does not repeat. Bounds are inclusive.
int Stride(std::string_view prefix, double offset) {
  auto in = [offset](double low, double high) { return offset >= low && offset <= high; };
  if (prefix == "DICX$") return offset > 100 ? 10 : 0;
  if (prefix == "CONX$") return in(101, 390) ? 290 : 0;
  if (prefix == "M77X$") return in(256, 510) || in(3316, 3570) ? 255 : 0;
  if (prefix == "F24X$") {
    if (in(42, 66)) return 36;
    if (in(762, 813)) return 63;
    for (int i = 0; i <= 20; ++i) {
      if (in(1077 + 152 * i, 1100 + 152 * i)) return 35;
    }
    if (in(4359, 4398)) return 51;
    if (in(4824, 4867)) return 55;
    if (offset == 5000) return 4;
    for (int i = 0; i <= 20; ++i) {
      if (offset == 5094 + 16 * i) return 4;
    }
    if (offset == 5483) return 2;
  }
  return 0;
}

}  // namespace

GroupShift RepoSpostamento(std::string_view descriptor, int16_t occurrence) {
  GroupShift result;
  if (occurrence == 0) return result;

  const double offset = NumericValue(Mid(descriptor, 7, 5));
  const std::string prefix = Mid(descriptor, 1, 5);
  int stride = Stride(prefix, offset);

  if (prefix == "DI2X$") {
    // The second employee record repeats its fields from id number 100 on.
    const size_t letter = descriptor.size() > 3 ? descriptor.find('I', 3) : std::string_view::npos;
    if (letter == std::string_view::npos) {
      result.unknown_id_letter = true;
      return result;
    }
    const double id_number = NumericValue(Mid(descriptor, letter + 2, 3));
    stride = id_number >= 100 ? 714 : 0;
  }

  const long product = (static_cast<long>(occurrence) - 1) * stride;
  if (product < INT16_MIN || product > INT16_MAX) throw platform::MakeRuntimeError(6);
  result.shift = static_cast<int16_t>(product);
  return result;
}

}  // namespace vx::archive
