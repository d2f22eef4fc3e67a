#pragma once
// The program's command line. Without --batch the program opens its window;
// with --batch it runs unattended: --companies prints the company list of
// the current extraction, --bank-report reads the bank's answers, --history
// prints the register of transfer files, the other options describe a
// listing run.

#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "transfer/credit_transfer.h"
#include "transfer/target_calendar.h"

namespace vx::app {

enum class ListingKind { Simplified, Detailed };
enum class OutputKind { Printer, Pdf };
enum class SortOrder { Code, Name };
enum class PdfProtection { Rc4, Aes256 };

struct CommandLine {
  bool help = false;
  bool version = false;
  bool batch = false;
  bool companies = false;
  std::optional<int> month;  // 1..12
  std::optional<int> year;   // four digits
  std::optional<ListingKind> listing;
  std::optional<OutputKind> output;
  std::optional<SortOrder> sort;
  std::optional<PdfProtection> protection;
  std::optional<int> bank;  // bank slot 0..2
  bool totals = false;
  bool separate = false;
  bool bold = false;
  std::optional<std::string> description;  // as typed (UTF-8), at most 30 characters
  bool description_cut = false;            // the text typed was longer and lost its end
  std::optional<std::string> print_to;     // folder for printer documents as PDF files
  std::optional<int> lock_timeout;         // seconds to wait for locked archives; none: as long as it takes
  std::optional<vx::transfer::TransferKind> transfer;     // a bank transfer file per company
  std::optional<vx::transfer::Date> execution_date;       // with --transfer only
  bool transfer_again = false;  // write a month already paid with other salaries (with --transfer only)
  bool only_rejected = false;   // only the salaries the bank rejected (with --transfer only)
  bool check = false;   // check the bank coordinates of the employees a run would list, write nothing
  bool strict = false;  // refuse to start a listing whose coordinates have errors
  bool no_check = false;  // list without checking the coordinates
  std::vector<std::string> bank_reports;  // the bank's status report files to read, as given
  bool history = false;  // print the register of transfer files
};

// A command line that cannot be run; what() says why.
struct UsageError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// One option as --help and the manual page show it. The table of these is
// the list of options the parser accepts: an option missing from it is
// unknown, so none can go undocumented.
struct OptionHelp {
  std::string_view group;  // heading of the options it belongs with
  std::string_view name;   // "--month"
  std::string_view alias;  // short form ("-h"), or empty
  std::string_view value;  // what follows it ("N", "code|name"), empty for a switch
  std::string_view text;   // what it does: one sentence, lower case, no final full stop
};

// Every option, in the order --help and the manual page list them.
std::span<const OptionHelp> Options();

// Parses the arguments after the program name; throws UsageError for an
// unknown option, a missing or malformed value, or an option given twice.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// The exit status of a run that gave up waiting for the archives (0 done,
// 1 stopped on a problem it reported, 2 usage error, 3 already running).
inline constexpr int kExitArchivesLocked = 4;
// The run went to its end but found damaged archives: the companies they
// touch have no listing, or an incomplete one.
inline constexpr int kExitArchivesDamaged = 5;
// The run went to its end but some output it was asked for could not be
// written (a transfer file); damaged archives (5) take precedence.
inline constexpr int kExitOutputsNotWritten = 6;
// The run went to its end but left a company without its transfer file,
// because the month was already paid with other salaries (see
// --transfer-again); damaged archives and outputs not written take
// precedence.
inline constexpr int kExitAlreadyPaid = 7;

// The text printed with --help.
std::string UsageText();

// The line printed after a usage error, pointing at --help.
const char* UsageHint();

// The text printed with --version.
std::string VersionText();

}  // namespace vx::app
