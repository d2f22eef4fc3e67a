#include "platform/registry.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <sstream>

#include "platform/codepage.h"

namespace vx::platform {

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
  if (cp >= 0x10000) {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  } else {
    out += static_cast<char16_t>(cp);
  }
}

// Reads a quoted or bracketed name or text from `pos` up to the unescaped
// `end` character, undoing Wine's escapes: \\ \" \[ \] and other escaped
// characters stand for themselves, \a \b \e \f \n \r \t \v are the C
// controls, \ooo is octal (1-3 digits) and \xhhhh a UTF-16 code unit (1-4
// hex digits). Other bytes are UTF-8. Returns false when `end` never comes.
bool ParseString(std::string_view line, size_t& pos, char end, std::u16string& out) {
  out.clear();
  while (pos < line.size()) {
    char c = line[pos];
    if (c == end) {
      ++pos;
      return true;
    }
    if (c != '\\') {
      size_t start = pos;
      while (pos < line.size() && line[pos] != end && line[pos] != '\\') ++pos;
      for (char32_t cp : DecodeUtf8(line.substr(start, pos - start))) AppendUtf16(out, cp);
      continue;
    }
    if (++pos >= line.size()) return false;
    c = line[pos];
    switch (c) {
      case 'a': out += u'\a'; ++pos; break;
      case 'b': out += u'\b'; ++pos; break;
      case 'e': out += char16_t{0x1B}; ++pos; break;
      case 'f': out += u'\f'; ++pos; break;
      case 'n': out += u'\n'; ++pos; break;
      case 'r': out += u'\r'; ++pos; break;
      case 't': out += u'\t'; ++pos; break;
      case 'v': out += u'\v'; ++pos; break;
      case 'x': {
        ++pos;
        unsigned value = 0;
        int digits = 0;
        while (digits < 4 && pos < line.size() && HexDigit(line[pos]) >= 0) {
          value = value * 16 + static_cast<unsigned>(HexDigit(line[pos++]));
          ++digits;
        }
        if (digits == 0) {
          out += u'x';
        } else {
          out += static_cast<char16_t>(value);
        }
        break;
      }
      default:
        if (c >= '0' && c <= '7') {
          unsigned value = 0;
          for (int digits = 0; digits < 3 && pos < line.size() && line[pos] >= '0' && line[pos] <= '7'; ++digits) {
            value = value * 8 + static_cast<unsigned>(line[pos++] - '0');
          }
          out += static_cast<char16_t>(value);
        } else {
          // \\, \", \[, \] and any other escaped character stand for themselves.
          size_t start = pos;
          ++pos;
          while (pos < line.size() && (static_cast<unsigned char>(line[pos]) & 0xC0) == 0x80) ++pos;
          for (char32_t cp : DecodeUtf8(line.substr(start, pos - start))) AppendUtf16(out, cp);
        }
    }
  }
  return false;
}

std::string Utf16Bytes(const std::u16string& text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (char16_t u : text) {
    out += static_cast<char>(u & 0xFF);
    out += static_cast<char>(u >> 8);
  }
  return out;
}

std::u16string FromUtf16Bytes(std::string_view bytes) {
  std::u16string out;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 (static_cast<unsigned char>(bytes[i + 1]) << 8));
  }
  return out;
}

// Hive paths and value names are kept in the program's code page, lower-cased,
// so that lookups ignore case as Windows does.
std::string NameKey(const std::u16string& name) { return Cp1252Lower(Utf16ToCp1252(name)); }

std::string NormalizeKeyPath(std::string_view path) {
  std::string out;
  for (char c : path) {
    if (c == '\\' && (out.empty() || out.back() == '\\')) continue;
    out += c;
  }
  while (!out.empty() && out.back() == '\\') out.pop_back();
  return Cp1252Lower(out);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Parses the data after '=' of a value line. False for forms this reader
// does not know (they are skipped).
bool ParseData(std::string_view data, RegValue& value) {
  size_t pos = 0;
  std::u16string text;
  if (StartsWith(data, "\"")) {
    pos = 1;
    if (!ParseString(data, pos, '"', text)) return false;
    value.type = REG_SZ;
    value.data = Utf16Bytes(text + u'\0');
    return true;
  }
  if (StartsWith(data, "str(")) {
    pos = 4;
    uint32_t type = 0;
    while (pos < data.size() && HexDigit(data[pos]) >= 0) type = type * 16 + static_cast<uint32_t>(HexDigit(data[pos++]));
    if (!StartsWith(data.substr(pos), "):\"")) return false;
    pos += 3;
    if (!ParseString(data, pos, '"', text)) return false;
    value.type = type;
    value.data = Utf16Bytes(text + u'\0');
    return true;
  }
  if (StartsWith(data, "dword:")) {
    uint32_t dw = 0;
    int digits = 0;
    for (pos = 6; pos < data.size() && HexDigit(data[pos]) >= 0 && digits < 8; ++pos, ++digits) {
      dw = dw * 16 + static_cast<uint32_t>(HexDigit(data[pos]));
    }
    if (digits == 0) return false;
    value.type = REG_DWORD;
    value.data.clear();
    for (int i = 0; i < 4; ++i) value.data += static_cast<char>((dw >> (8 * i)) & 0xFF);
    return true;
  }
  if (StartsWith(data, "hex:")) {
    value.type = REG_BINARY;
    pos = 4;
  } else if (StartsWith(data, "hex(")) {
    pos = 4;
    uint32_t type = 0;
    while (pos < data.size() && HexDigit(data[pos]) >= 0) type = type * 16 + static_cast<uint32_t>(HexDigit(data[pos++]));
    if (!StartsWith(data.substr(pos), "):")) return false;
    pos += 2;
    value.type = type;
  } else {
    return false;
  }
  value.data.clear();
  while (pos < data.size()) {
    char c = data[pos];
    if (c == ',' || c == ' ' || c == '\t') {
      ++pos;
      continue;
    }
    if (pos + 1 < data.size() && HexDigit(c) >= 0 && HexDigit(data[pos + 1]) >= 0) {
      value.data += static_cast<char>(HexDigit(c) * 16 + HexDigit(data[pos + 1]));
      pos += 2;
      continue;
    }
    if (HexDigit(c) >= 0) {  // a lone digit, as a hand-written file may have
      value.data += static_cast<char>(HexDigit(c));
      ++pos;
      continue;
    }
    return false;
  }
  return true;
}

std::string_view TrimLeft(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  return s;
}

std::string_view TrimRight(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

RegHive ParseRegistryFile(std::string_view text) {
  std::vector<std::string_view> lines;
  for (size_t start = 0; start < text.size();) {
    size_t nl = text.find('\n', start);
    if (nl == std::string_view::npos) nl = text.size();
    lines.push_back(TrimRight(text.substr(start, nl - start)));
    start = nl + 1;
  }

  RegHive hive;
  RegKeyData* current = nullptr;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string_view line = TrimLeft(lines[i]);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      size_t pos = 1;
      std::u16string name;
      current = nullptr;
      if (ParseString(line, pos, ']', name)) current = &hive[NormalizeKeyPath(Utf16ToCp1252(name))];
      continue;
    }
    if (current == nullptr) continue;  // header lines, or values of a key we could not read

    std::string value_name;
    size_t pos = 0;
    if (line.front() == '@') {
      pos = 1;
    } else if (line.front() == '"') {
      pos = 1;
      std::u16string name;
      if (!ParseString(line, pos, '"', name)) continue;
      value_name = NameKey(name);
    } else {
      continue;
    }
    std::string_view rest = TrimLeft(line.substr(pos));
    if (rest.empty() || rest.front() != '=') continue;
    std::string data(TrimLeft(rest.substr(1)));
    // Hex data runs over several lines, each but the last ending in '\'.
    if (StartsWith(data, "hex")) {
      while (!data.empty() && data.back() == '\\' && i + 1 < lines.size()) {
        data.pop_back();
        data += TrimLeft(lines[++i]);
      }
    }
    RegValue value;
    if (ParseData(data, value)) current->values[value_name] = std::move(value);
  }
  return hive;
}

Registry::Registry(const WinePrefix& prefix) {
  std::ifstream in(prefix.UserRegistryFile(), std::ios::binary);
  if (!in) return;
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  hive_ = ParseRegistryFile(text);
}

long Registry::RegOpenKeyA(std::string_view subkey, RegKey* out) const {
  if (out == nullptr) return 87;  // ERROR_INVALID_PARAMETER
  std::string path = NormalizeKeyPath(subkey);
  bool exists = path.empty() || hive_.count(path) != 0;
  if (!exists) {
    // Wine writes only the keys that hold something; their parents exist too.
    auto it = hive_.lower_bound(path + "\\");
    exists = it != hive_.end() && StartsWith(it->first, path + "\\");
  }
  if (!exists) return ERROR_FILE_NOT_FOUND;
  out->path = path;
  out->open = true;
  return ERROR_SUCCESS;
}

long Registry::RegQueryValueExA(const RegKey& key, std::string_view value_name, uint32_t* type,
                                std::string* data, uint32_t* size) const {
  if (!key.open) return ERROR_INVALID_HANDLE;
  auto k = hive_.find(key.path);
  if (k == hive_.end()) return ERROR_FILE_NOT_FOUND;
  auto v = k->second.values.find(Cp1252Lower(value_name));
  if (v == k->second.values.end()) return ERROR_FILE_NOT_FOUND;
  const RegValue& value = v->second;

  std::string bytes = value.data;
  if (value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ) {
    bytes = Utf16ToCp1252(FromUtf16Bytes(value.data));
  }
  if (type != nullptr) *type = value.type;
  if (data == nullptr) {
    if (size != nullptr) *size = static_cast<uint32_t>(bytes.size());
    return ERROR_SUCCESS;
  }
  if (size == nullptr) return 998;  // ERROR_NOACCESS, as Windows answers a buffer without a size
  if (*size < bytes.size()) {
    *size = static_cast<uint32_t>(bytes.size());
    return ERROR_MORE_DATA;
  }
  *data = std::move(bytes);
  *size = static_cast<uint32_t>(data->size());
  return ERROR_SUCCESS;
}

long Registry::RegCloseKey(RegKey& key) const {
  if (!key.open) return ERROR_INVALID_HANDLE;
  key = RegKey{};
  return ERROR_SUCCESS;
}

}  // namespace vx::platform
