#pragma once
// The two ways deep code stops: a run-time error with its Visual-Basic-style
// number, which the archive layer's error routine reports, and the end of the
// program, which main catches to close every file and exit non-zero.

#include <exception>
#include <string>
#include <string_view>

namespace vx::platform {

// A run-time error as the payroll programs number them (53 file not found,
// 70 permission denied, 76 path not found, ...).
struct RuntimeError : std::exception {
  int number = 0;
  std::string description;
  // The file the failure concerns, as the program names it; empty when the
  // failure is not about one file.
  std::string path;
  // What the program was doing, in the operator's words ("lettura del
  // record 3 dell'archivio 5"); empty when not known.
  std::string action;

  RuntimeError() = default;
  RuntimeError(int number_, std::string description_)
      : number(number_), description(std::move(description_)) {}
  const char* what() const noexcept override { return description.c_str(); }

  // Names the file and the work where the code that failed did not: the
  // closest code that knows them says them.
  RuntimeError& About(std::string_view file, std::string_view doing) {
    if (path.empty()) path = std::string(file);
    if (action.empty()) action = std::string(doing);
    return *this;
  }
};

// The standard description of a run-time error number ("Application-defined
// or object-defined error" for numbers without one of their own).
std::string ErrorDescription(int number);

// A RuntimeError carrying the standard description of its number.
RuntimeError MakeRuntimeError(int number);
// The same, about the file `path`.
RuntimeError MakeRuntimeError(int number, std::string path);

// "The program ends": thrown from wherever the program must stop, caught in
// main, which closes every open file and exits with `status`.
struct ProgramEnd : std::exception {
  int status = 1;
  std::string reason;

  ProgramEnd() = default;
  explicit ProgramEnd(std::string reason_, int status_ = 1)
      : status(status_), reason(std::move(reason_)) {}
  const char* what() const noexcept override { return reason.c_str(); }
};

}  // namespace vx::platform
