#include "archive/descriptor.h"

#include "archive/number_value.h"
#include "archive/text.h"

namespace vx::archive {

DescriptorParts ParseDescriptor(std::string_view descriptor) {
  DescriptorParts parts;
  parts.prefix = Mid(descriptor, 1, 5);
  parts.offset = NumericValue(Mid(descriptor, 7, 5));
  parts.length = NumericValue(Mid(descriptor, 13, 2));
  parts.type = Mid(descriptor, 16, 1);
  parts.id = Mid(descriptor, 20, 4);
  return parts;
}

}  // namespace vx::archive
