#include "pdf/text_literal.h"

namespace vx::pdf {

void AppendEscaped(std::string& out, std::string_view text) {
  size_t plain = 0;  // start of the bytes not yet copied
  for (size_t i = 0; i < text.size(); ++i) {
    const char* escape;
    switch (text[i]) {
      case '\\': escape = "\\\\"; break;
      case '(': escape = "\\("; break;
      case ')': escape = "\\)"; break;
      case '\r': escape = "\\r"; break;
      case '\n': escape = "\\n"; break;
      default: continue;
    }
    out.append(text.data() + plain, i - plain);
    out.append(escape, 2);
    plain = i + 1;
  }
  out.append(text.data() + plain, text.size() - plain);
}

std::string EscapeText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  AppendEscaped(out, text);
  return out;
}

}  // namespace vx::pdf
