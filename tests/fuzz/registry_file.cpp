// Fuzz target over the reader of the Wine prefix's user.reg, the one piece of
// the program's configuration that comes as free text from outside. Whatever
// the bytes, parsing must end, and every key and value it yields must answer
// the ANSI queries consistently: the size learnt first is the size of the data
// read with a buffer of that size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry.h"

namespace p = vx::platform;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(bytes), size);
  p::RegHive hive = p::ParseRegistryFile(text);
  const p::Registry registry(hive);
  for (const auto& [path, key_data] : hive) {
    p::RegKey key;
    if (registry.RegOpenKeyA(path, &key) != p::ERROR_SUCCESS) std::abort();
    for (const auto& [name, value] : key_data.values) {
      uint32_t type = 0, needed = 0;
      if (registry.RegQueryValueExA(key, name, &type, nullptr, &needed) != p::ERROR_SUCCESS) std::abort();
      std::string data;
      uint32_t capacity = needed;
      if (registry.RegQueryValueExA(key, name, &type, &data, &capacity) != p::ERROR_SUCCESS) std::abort();
      if (data.size() != needed || capacity != needed) std::abort();
    }
    registry.RegCloseKey(key);
  }
  return 0;
}
