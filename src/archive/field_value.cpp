#include "archive/field_value.h"

#include <algorithm>
#include <cstdint>

#include "archive/descriptor.h"
#include "archive/number_value.h"
#include "archive/text.h"
#include "platform/errors.h"

namespace vx::archive {

std::string FieldText(std::string_view descriptor, int shift, std::string_view record) {
  const DescriptorParts parts = ParseDescriptor(descriptor);
  const long long start = WholeNumber(parts.offset + shift, INT16_MIN, INT16_MAX);
  const long long length = WholeNumber(parts.length, INT16_MIN, INT16_MAX);
  if (start < 1 || length < 0) throw platform::MakeRuntimeError(5);

  std::string field = Mid(record, static_cast<size_t>(start), static_cast<size_t>(length));
  if (field.empty()) return field;

  const double decimals = parts.type == "N" ? 0 : NumericValue(parts.type);
  const bool numeric = parts.type == "N" || decimals != 0;
  if (!numeric) return field;

  std::string sign;
  const size_t minus = field.find('-');
  if (minus != std::string::npos) {
    field[minus] = '0';
    sign = "-";
  }
  if (decimals != 0) {
    // The point goes after the whole digits the descriptor's length leaves.
    const long long whole = length - WholeNumber(decimals, INT16_MIN, INT16_MAX);
    if (whole < 0) throw platform::MakeRuntimeError(5);
    const size_t cut = std::min(static_cast<size_t>(whole), field.size());
    field.insert(cut, ".");
  }
  return sign + field;
}

}  // namespace vx::archive
