#include "app/window/cp1252_validator.h"

#include "platform/codepage.h"

namespace vx::app {

bool FitsCp1252(const QString& text) {
  for (const char32_t code_point : text.toUcs4()) {
    if (code_point != U'?' && vx::platform::CodePointToCp1252(code_point) == '?') return false;
  }
  return true;
}

QValidator::State Cp1252Validator::validate(QString& input, int&) const {
  // A line break or an escape pasted in would reach file names too.
  for (const char32_t code_point : input.toUcs4()) {
    if (vx::platform::IsControl(static_cast<unsigned char>(vx::platform::CodePointToCp1252(code_point))))
      return Invalid;
  }
  return FitsCp1252(input) ? Acceptable : Invalid;
}

}  // namespace vx::app
