#include "wine_user_reg.h"

namespace vx::demo {

namespace {

// Wine escapes backslashes and quotes in key names and string values.
std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::string WineUserReg(const std::vector<RegistryKey>& keys) {
  // A fixed modification time keeps generated prefixes identical for a seed.
  std::string text =
      "WINE REGISTRY Version 2\n"
      ";; All keys relative to \\\\User\\\\S-1-5-21-0-0-0-1000\n"
      "\n"
      "#arch=win32\n";
  for (const RegistryKey& key : keys) {
    text += "\n[" + Escape(key.path) + "] 1733356800\n";
    text += "#time=1db46e4c0a8f000\n";
    for (const auto& [name, value] : key.values) {
      text += "\"" + Escape(name) + "\"=\"" + Escape(value) + "\"\n";
    }
  }
  return text;
}

}  // namespace vx::demo
