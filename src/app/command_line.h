#pragma once
// The program's command line. Without --batch the program opens its window;
// with --batch it runs unattended: --companies prints the company list of
// the current extraction, the other options describe a listing run.

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace vx::app {

enum class ListingKind { Simplified, Detailed };
enum class OutputKind { Printer, Pdf };
enum class SortOrder { Code, Name };

struct CommandLine {
  bool help = false;
  bool batch = false;
  bool companies = false;
  std::optional<int> month;  // 1..12
  std::optional<int> year;   // four digits
  std::optional<ListingKind> listing;
  std::optional<OutputKind> output;
  std::optional<SortOrder> sort;
  std::optional<int> bank;  // bank slot 0..2
  bool totals = false;
  bool separate = false;
  bool bold = false;
  std::optional<std::string> description;  // as typed (UTF-8), at most 30 characters
  std::optional<std::string> print_to;     // folder for printer documents as PDF files
};

// A command line that cannot be run; what() says why.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name; throws UsageError for an
// unknown option, a missing or malformed value, or an option given twice.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The usage text printed with --help and after a usage error.
const char* UsageText();

}  // namespace vx::app
