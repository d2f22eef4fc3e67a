#include "archive/record_repository.h"

#include <algorithm>

#include "platform/errors.h"

namespace vx::archive {

const std::array<std::string_view, RecordBuffers::kCount>& RecordBuffers::Prefixes() {
  static const std::array<std::string_view, kCount> prefixes = {
      "DIPX$", "F24X$", "DI2X$", "DITX$", "CUDX$", "SCRX$", "FISX$", "SETX$",
      "STOX$", "FOTX$", "SCRU$", "COCX$", "DICX$", "M77X$", "FOPX$", "CONX$",
      "PARX$", "PROX$", "ARTX$", "PERX$", "STUX$", "SCRY$", "GLCX$", "GLAX$"};
  return prefixes;
}

std::string* RecordBuffers::Find(std::string_view prefix) {
  const auto& prefixes = Prefixes();
  const auto it = std::find(prefixes.begin(), prefixes.end(), prefix);
  if (it == prefixes.end()) return nullptr;
  return &buffers_[static_cast<size_t>(it - prefixes.begin())];
}

const std::string* RecordBuffers::Find(std::string_view prefix) const {
  return const_cast<RecordBuffers*>(this)->Find(prefix);
}

std::string& RecordBuffers::operator[](std::string_view prefix) {
  std::string* buffer = Find(prefix);
  if (buffer == nullptr) throw platform::MakeRuntimeError(9);
  return *buffer;
}

}  // namespace vx::archive
