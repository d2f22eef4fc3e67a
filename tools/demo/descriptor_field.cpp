#include "descriptor_field.h"

#include <cctype>
#include <stdexcept>

namespace vx::demo {

namespace {

int Digits(std::string_view descriptor, size_t from, size_t count) {
  int value = 0;
  for (size_t i = from; i < from + count; ++i) {
    const char c = descriptor[i];
    if (!std::isdigit(static_cast<unsigned char>(c))) {
      throw std::invalid_argument("bad field descriptor: " + std::string(descriptor));
    }
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace

FieldPlace ParseDescriptor(std::string_view descriptor) {
  if (descriptor.size() != 23 || descriptor[4] != '$' || descriptor[5] != ',' ||
      descriptor[11] != ',' || descriptor[14] != ',' || descriptor[16] != ',') {
    throw std::invalid_argument("bad field descriptor: " + std::string(descriptor));
  }
  FieldPlace place;
  place.prefix = std::string(descriptor.substr(0, 5));
  place.offset = Digits(descriptor, 6, 5);
  place.length = Digits(descriptor, 12, 2);
  place.type = descriptor[15];
  if (place.offset < 1 || place.length < 1) {
    throw std::invalid_argument("bad field descriptor: " + std::string(descriptor));
  }
  return place;
}

}  // namespace vx::demo
