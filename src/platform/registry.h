#pragma once
// HKEY_CURRENT_USER as the program reads it through the ANSI registry
// functions, taken from the Wine prefix's user.reg.

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wine_prefix.h"

namespace vx::platform {

inline constexpr uint32_t REG_NONE = 0;
inline constexpr uint32_t REG_SZ = 1;
inline constexpr uint32_t REG_EXPAND_SZ = 2;
inline constexpr uint32_t REG_BINARY = 3;
inline constexpr uint32_t REG_DWORD = 4;
inline constexpr uint32_t REG_MULTI_SZ = 7;

inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_MORE_DATA = 234;

// One value as stored: its type and its raw bytes (text types in UTF-16LE
// with their terminating NUL, as the registry keeps them).
struct RegValue {
  uint32_t type = REG_NONE;
  std::string data;
};

// One key of the hive: its values by lower-cased name ("" is the default
// value, written @ in the file).
struct RegKeyData {
  std::map<std::string, RegValue> values;
};

// The keys of a hive by lower-cased path ("software\\vendor\\app").
using RegHive = std::map<std::string, RegKeyData>;

// Parses a hive in Wine's text format. Lines it does not understand are
// skipped, as Wine itself skips them.
RegHive ParseRegistryFile(std::string_view text);

// An open key: empty when closed.
struct RegKey {
  std::string path;  // lower-cased, no leading or trailing backslash
  bool open = false;
};

class Registry {
 public:
  // Reads the prefix's user.reg once; a missing or unreadable file is an
  // empty hive, so every key is then missing.
  explicit Registry(const WinePrefix& prefix);
  explicit Registry(RegHive hive) : hive_(std::move(hive)) {}

  // Opens `subkey` (case-insensitive, backslash-separated) under
  // HKEY_CURRENT_USER. ERROR_FILE_NOT_FOUND when there is no such key.
  long RegOpenKeyA(std::string_view subkey, RegKey* out) const;

  // Type and data of a value, as the ANSI function gives them: text types
  // (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) converted to cp1252 with their
  // terminating NUL counted in the size, other types as stored (REG_DWORD:
  // 4 little-endian bytes). `data` null: only type and size are returned.
  // With a buffer, `*size` is its capacity on the way in; a value larger than
  // that gives ERROR_MORE_DATA and the size needed. `data` is resized to the
  // bytes returned.
  long RegQueryValueExA(const RegKey& key, std::string_view value_name, uint32_t* type,
                        std::string* data, uint32_t* size) const;

  long RegCloseKey(RegKey& key) const;

 private:
  RegHive hive_;
};

}  // namespace vx::platform
