#include "platform/regional.h"

#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string>

#include "platform/codepage.h"
#include "platform/registry.h"

namespace vx::platform {

namespace {

// The decimal point of the locale the environment names, as the C library
// knows it; "." when that locale is not installed.
char EnvironmentDecimalPoint() {
  const char* name = nullptr;
  for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const char* value = std::getenv(var);
    if (value != nullptr && *value != '\0') {
      name = value;
      break;
    }
  }
  if (name == nullptr) return '.';
  locale_t loc = ::newlocale(LC_NUMERIC_MASK, name, static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) return '.';
  std::string point = ::nl_langinfo_l(RADIXCHAR, loc);
  ::freelocale(loc);
  std::string cp = Utf8ToCp1252(point);
  return cp.empty() ? '.' : cp.front();
}

}  // namespace

char DecimalSeparator(const WinePrefix& prefix) {
  Registry registry(prefix);
  RegKey key;
  if (registry.RegOpenKeyA("Control Panel\\International", &key) == ERROR_SUCCESS) {
    uint32_t type = 0;
    uint32_t size = 0;
    std::string value;
    if (registry.RegQueryValueExA(key, "sDecimal", &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ &&
        registry.RegQueryValueExA(key, "sDecimal", &type, &value, &size) == ERROR_SUCCESS) {
      registry.RegCloseKey(key);
      // An empty setting says nothing; the environment decides then.
      if (!value.empty() && value.front() != '\0') return value.front();
    } else {
      registry.RegCloseKey(key);
    }
  }
  return EnvironmentDecimalPoint();
}

}  // namespace vx::platform
