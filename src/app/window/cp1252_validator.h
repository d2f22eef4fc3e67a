#pragma once
// Text typed into the window ends up in cp1252 records, file names and PDF
// headers. A character cp1252 cannot write would silently become "?", so the
// boxes that feed the run refuse it as it is typed, and so they refuse
// control characters, which no file name may hold.

#include <QValidator>

namespace vx::app {

// True when every character of `text` has a cp1252 byte.
bool FitsCp1252(const QString& text);

class Cp1252Validator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& position) const override;
};

}  // namespace vx::app
