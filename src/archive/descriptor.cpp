#include "archive/descriptor.h"

#include "archive/number_value.h"

namespace vx::archive {

namespace {

// `count` characters from the 1-based `start`, fewer or none when the text
// ends first.
std::string_view Part(std::string_view text, size_t start, size_t count) {
  return start > text.size() ? std::string_view() : text.substr(start - 1, count);
}

}  // namespace

DescriptorParts ParseDescriptor(std::string_view descriptor) {
  DescriptorParts parts;
  parts.prefix = Part(descriptor, 1, 5);
  parts.offset = NumericValue(Part(descriptor, 7, 5));
  parts.length = NumericValue(Part(descriptor, 13, 2));
  parts.type = Part(descriptor, 16, 1);
  parts.id = Part(descriptor, 20, 4);
  return parts;
}

}  // namespace vx::archive
