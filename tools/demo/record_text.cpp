#include "record_text.h"

#include <stdexcept>

#include "descriptor_field.h"

namespace vx::demo {

RecordText& RecordText::SetText(std::string_view descriptor, std::string_view text) {
  const FieldPlace place = ParseDescriptor(descriptor);
  std::string field(text.substr(0, static_cast<size_t>(place.length)));
  field.resize(static_cast<size_t>(place.length), ' ');
  return SetAt(static_cast<size_t>(place.offset), field);
}

RecordText& RecordText::SetNumber(std::string_view descriptor, int64_t value) {
  const FieldPlace place = ParseDescriptor(descriptor);
  if (place.type == 'A' || place.type == 'D' || place.type == '0') {
    throw std::invalid_argument("not a numeric field: " + std::string(descriptor));
  }
  const bool negative = value < 0;
  std::string digits = std::to_string(negative ? -value : value);
  const size_t width = static_cast<size_t>(place.length) - (negative ? 1 : 0);
  if (digits.size() > width) {
    throw std::out_of_range("value " + std::to_string(value) + " does not fit " + std::string(descriptor));
  }
  digits.insert(0, width - digits.size(), '0');
  if (negative) digits.insert(0, 1, '-');
  return SetAt(static_cast<size_t>(place.offset), digits);
}

RecordText& RecordText::SetAt(size_t position, std::string_view bytes) {
  if (position < 1 || position - 1 + bytes.size() > bytes_.size()) {
    throw std::out_of_range("field beyond the end of a " + std::to_string(bytes_.size()) +
                            "-byte record at position " + std::to_string(position));
  }
  bytes_.replace(position - 1, bytes.size(), bytes);
  return *this;
}

}  // namespace vx::demo
