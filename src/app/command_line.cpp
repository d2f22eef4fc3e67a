#include "app/command_line.h"

#include <cctype>

#include "platform/codepage.h"

#ifndef VX_VERSION
#error "VX_VERSION names the version, from the project version"
#endif

namespace vx::app {

namespace {

bool AllDigits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

// Characters of a UTF-8 text (continuation bytes are not counted).
size_t Utf8Length(std::string_view text) {
  size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

template <typename T>
void SetOnce(std::optional<T>& slot, T value, const std::string& option) {
  if (slot) throw UsageError(option + " given twice");
  slot = std::move(value);
}

void SetFlag(bool& flag, const std::string& option) {
  if (flag) throw UsageError(option + " given twice");
  flag = true;
}

constexpr std::string_view kBatchMode = "Batch mode";
constexpr std::string_view kListingRun = "Listing run";
constexpr std::string_view kCoordinates = "Bank coordinates";
constexpr std::string_view kBankAnswers = "The bank's answers";
constexpr std::string_view kInformation = "Information";

// The options the parser accepts, with what --help and the manual page say
// of them. A new option gets its line here and its branch in
// ParseCommandLine.
constexpr OptionHelp kOptions[] = {
    {kBatchMode, "--batch", "", "", "run unattended instead of opening the window"},
    {kBatchMode, "--companies", "", "",
     "print the companies of the current extraction, one per line as the window lists them, and exit"},
    {kListingRun, "--month", "", "N", "payment month, 1 to 12 (default: the payroll's current month)"},
    {kListingRun, "--year", "", "YYYY", "payment year, four digits (default: the payroll's current year)"},
    {kListingRun, "--listing", "", "simplified|detailed",
     "one line per employee on landscape pages (the default), or one card per employee on portrait pages"},
    {kListingRun, "--output", "", "printer|pdf",
     "print the listing (the default), or write one PDF file per company in the FILE-PDF folder beside the "
     "archives"},
    {kListingRun, "--protection", "", "rc4|aes256",
     "protect the PDF files of companies that have passwords with 40-bit RC4, which every reader opens (the "
     "default), or with AES-256, which current readers open and which holds against a determined reader"},
    {kListingRun, "--sort", "", "code|name", "list the employees by code (the default), or by surname and name"},
    {kListingRun, "--bank", "", "0|1|2", "list the employees paid on this bank slot of theirs (default: 0, the main one)"},
    {kListingRun, "--totals", "", "", "print the total of each bank (detailed listing)"},
    {kListingRun, "--separate", "", "", "start each bank on a page of its own, with its total (detailed listing)"},
    {kListingRun, "--bold", "", "", "print the values in bold"},
    {kListingRun, "--description", "", "TEXT",
     "print TEXT in the page header and the PDF file names: one line, at most 30 characters (a longer text is "
     "cut, and the run says so)"},
    {kListingRun, "--print-to", "", "DIR",
     "write each printer document as DIR/NNN_CCC.pdf (run number, company) instead of printing it"},
    {kListingRun, "--lock-timeout", "", "SECONDS",
     "give up when another program keeps the payroll archives (with --bank-report or --history, the register "
     "of transfer files) locked this long (default: wait as long as it takes)"},
    {kListingRun, "--transfer", "", "cbi|sepa",
     "also write each company's salary transfer file for its bank, CBI or SEPA, in the FILE-BONIFICI folder "
     "beside the archives; only for the payroll month the archives hold, any other --month or --year is "
     "refused"},
    {kListingRun, "--execution-date", "", "YYYY-MM-DD",
     "the day the bank is to pay the transfers (default: the next TARGET2 business day)"},
    {kListingRun, "--transfer-again", "", "",
     "write the transfer file of a company whose month the register of transfer files already holds as paid "
     "with other salaries, with identifiers of its own (without it, no file is written for that company, so "
     "that nobody is paid twice)"},
    {kListingRun, "--only-rejected", "", "",
     "write, per company, a transfer file of only the salaries of the month the bank rejected and that no file "
     "has paid since, with the coordinates and net pay the archives hold now (the month's file stays as it "
     "was)"},
    {kCoordinates, "--check", "", "",
     "check the bank coordinates (IBAN, CIN, BIC, account) of the employees the listing would show for the "
     "--month, --year and --bank given, report what cannot be right, and write nothing at all"},
    {kCoordinates, "--strict", "", "",
     "do not start the listing when --check would find an error (an IBAN shared by two employees and a zero "
     "net pay are notices, not errors)"},
    {kCoordinates, "--no-check", "", "", "list without checking the bank coordinates"},
    {kBankAnswers, "--bank-report", "", "FILE...",
     "read the bank's status reports (pain.002.001.03 or .10, or the CBI return flow) into the register of "
     "transfer files, and report per company and file the salaries accepted, rejected and pending, and every "
     "rejected employee with the bank's reason; a report read again counts nothing twice"},
    {kBankAnswers, "--history", "", "",
     "print the register of transfer files: per company, bank slot and payment month, each file written with "
     "its salaries, total, execution date and the bank's answers (--month and --year narrow it)"},
    {kInformation, "--help", "-h", "", "display this help and exit"},
    {kInformation, "--version", "", "", "output version information and exit"},
};

const OptionHelp* FindOption(const std::string& argument) {
  for (const OptionHelp& option : kOptions) {
    if (argument == option.name || (!option.alias.empty() && argument == option.alias)) return &option;
  }
  return nullptr;
}

// Appends `text` wrapped to 79 columns, every line indented by `indent`
// columns; the first line continues what `out` already holds from column
// `column`.
void AppendWrapped(std::string& out, std::string_view text, size_t column, size_t indent) {
  constexpr size_t kWidth = 79;
  size_t at = 0;
  bool first_word = true;
  while (at < text.size()) {
    size_t end = text.find(' ', at);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view word = text.substr(at, end - at);
    if (!first_word && column + 1 + Utf8Length(word) > kWidth) {
      out += "\n" + std::string(indent, ' ');
      column = indent;
      first_word = true;
    }
    if (!first_word) {
      out += ' ';
      ++column;
    }
    out += word;
    column += Utf8Length(word);
    first_word = false;
    at = end + 1;
  }
  out += '\n';
}

}  // namespace

std::span<const OptionHelp> Options() { return kOptions; }

std::string UsageText() {
  std::string text =
      "Usage: vxorel [--batch [OPTION]...]\n"
      "List, company by company, the employees of a payroll installation who are\n"
      "paid by bank transfer, on a printer or as PDF files, and write each\n"
      "company's transfer text file (BONI<company>B<slot>.TXT).\n"
      "\n"
      "Without --batch the program opens its window. With --batch it runs\n"
      "unattended: --companies prints the company list; otherwise it makes the\n"
      "listing that \"Conferma\" makes in the window, with the options standing\n"
      "for the window's controls (one left out keeps the window's choice).\n";
  constexpr size_t kTextColumn = 31;
  std::string_view group;
  for (const OptionHelp& option : kOptions) {
    if (option.group != group) {
      group = option.group;
      text += "\n" + std::string(group) + ":\n";
    }
    std::string line = option.alias.empty() ? "      " : "  " + std::string(option.alias) + ", ";
    line += option.name;
    if (!option.value.empty()) line += " " + std::string(option.value);
    if (line.size() + 2 > kTextColumn) {
      text += line + "\n" + std::string(kTextColumn, ' ');
    } else {
      text += line + std::string(kTextColumn - line.size(), ' ');
    }
    AppendWrapped(text, option.text, kTextColumn, kTextColumn);
  }
  text +=
      "\n"
      "The payroll installation is found through the Wine prefix named by\n"
      "WINEPREFIX (default ~/.wine). Messages go to standard error.\n"
      "\n"
      "Every listing checks the bank coordinates of the employees it lists and\n"
      "ends with a report of those that cannot be right; the files it writes\n"
      "are the same with or without the check.\n"
      "\n"
      "Exit status: 0 when the run completed, 1 when it stopped or could not\n"
      "start, 2 when the command line cannot be run, 3 when the program is\n"
      "already running for this user on this installation, 4 when the payroll\n"
      "archives stayed locked by another program longer than --lock-timeout,\n"
      "5 when it completed but found damaged archives (the companies they\n"
      "touch were not listed), 6 when it completed but some output it was asked\n"
      "for could not be written (a transfer file), 7 when a transfer file was\n"
      "not written because the month was already paid with different salaries\n"
      "(5 goes first, then 6).\n"
      "With --bank-report: 0 when every file was read, 1 when a file was\n"
      "refused (the register stays as it was for it) or there is no register;\n"
      "with --history: 0 when the register was printed, 1 without a register.\n"
      "With either, 4 when the register stayed locked longer than\n"
      "--lock-timeout.\n"
      "With --check: 0 when every coordinate is right, 1 when one is wrong or\n"
      "the check could not be made; with --strict, 1 when the listing was\n"
      "refused.\n"
      "\n"
      "Full documentation: man vxorel\n";
  return text;
}

const char* UsageHint() { return "Try 'vxorel --help' for more information.\n"; }

std::string VersionText() { return "vxorel " VX_VERSION "\n"; }

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine cl;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
      return arguments[++i];
    };
    const OptionHelp* known = FindOption(option);
    if (known == nullptr) throw UsageError("unknown option '" + option + "'");
    if (known->name == "--help") {
      cl.help = true;
    } else if (option == "--version") {
      cl.version = true;
    } else if (option == "--batch") {
      SetFlag(cl.batch, option);
    } else if (option == "--companies") {
      SetFlag(cl.companies, option);
    } else if (option == "--month") {
      const std::string v = value();
      if (!AllDigits(v) || v.size() > 2 || std::stoi(v) < 1 || std::stoi(v) > 12) {
        throw UsageError("--month must be a month number from 1 to 12, not '" + v + "'");
      }
      SetOnce(cl.month, std::stoi(v), option);
    } else if (option == "--year") {
      const std::string v = value();
      // There is no year 0: a payroll month always has a year from 1 on.
      if (!AllDigits(v) || v.size() != 4 || v == "0000") {
        throw UsageError("--year must be four digits from 0001, not '" + v + "'");
      }
      SetOnce(cl.year, std::stoi(v), option);
    } else if (option == "--listing") {
      const std::string v = value();
      if (v == "simplified") {
        SetOnce(cl.listing, ListingKind::Simplified, option);
      } else if (v == "detailed") {
        SetOnce(cl.listing, ListingKind::Detailed, option);
      } else {
        throw UsageError("--listing must be simplified or detailed, not '" + v + "'");
      }
    } else if (option == "--output") {
      const std::string v = value();
      if (v == "printer") {
        SetOnce(cl.output, OutputKind::Printer, option);
      } else if (v == "pdf") {
        SetOnce(cl.output, OutputKind::Pdf, option);
      } else {
        throw UsageError("--output must be printer or pdf, not '" + v + "'");
      }
    } else if (option == "--protection") {
      const std::string v = value();
      if (v == "rc4") {
        SetOnce(cl.protection, PdfProtection::Rc4, option);
      } else if (v == "aes256") {
        SetOnce(cl.protection, PdfProtection::Aes256, option);
      } else {
        throw UsageError("--protection must be rc4 or aes256, not '" + v + "'");
      }
    } else if (option == "--sort") {
      const std::string v = value();
      if (v == "code") {
        SetOnce(cl.sort, SortOrder::Code, option);
      } else if (v == "name") {
        SetOnce(cl.sort, SortOrder::Name, option);
      } else {
        throw UsageError("--sort must be code or name, not '" + v + "'");
      }
    } else if (option == "--bank") {
      const std::string v = value();
      if (v != "0" && v != "1" && v != "2") throw UsageError("--bank must be 0, 1 or 2, not '" + v + "'");
      SetOnce(cl.bank, v[0] - '0', option);
    } else if (option == "--totals") {
      SetFlag(cl.totals, option);
    } else if (option == "--separate") {
      SetFlag(cl.separate, option);
    } else if (option == "--bold") {
      SetFlag(cl.bold, option);
    } else if (option == "--description") {
      std::string v = value();
      // It goes into every PDF file name and page header: a line break or
      // a terminal escape (any text the terminal would show escaped) has no
      // place there.
      if (vx::platform::TerminalText(v) != v) {
        throw UsageError("--description must be text on one line, without control characters");
      }
      // The window's description box keeps the first 30 characters typed.
      cl.description_cut = Utf8Length(v) > 30;
      while (Utf8Length(v) > 30) {
        while ((static_cast<unsigned char>(v.back()) & 0xC0) == 0x80) v.pop_back();
        v.pop_back();
      }
      SetOnce(cl.description, v, option);
    } else if (option == "--check") {
      SetFlag(cl.check, option);
    } else if (option == "--strict") {
      SetFlag(cl.strict, option);
    } else if (option == "--no-check") {
      SetFlag(cl.no_check, option);
    } else if (option == "--print-to") {
      const std::string v = value();
      if (v.empty()) throw UsageError("--print-to needs a folder");
      SetOnce(cl.print_to, v, option);
    } else if (option == "--lock-timeout") {
      const std::string v = value();
      if (!AllDigits(v) || v.size() > 6) {
        throw UsageError("--lock-timeout must be a whole number of seconds, not '" + v + "'");
      }
      SetOnce(cl.lock_timeout, std::stoi(v), option);
    } else if (option == "--transfer") {
      const std::string v = value();
      if (v == "cbi") {
        SetOnce(cl.transfer, vx::transfer::TransferKind::Cbi, option);
      } else if (v == "sepa") {
        SetOnce(cl.transfer, vx::transfer::TransferKind::Sepa, option);
      } else {
        throw UsageError("--transfer must be cbi or sepa, not '" + v + "'");
      }
    } else if (option == "--bank-report") {
      if (!cl.bank_reports.empty()) throw UsageError(option + " given twice");
      // Every argument up to the next option is a file.
      while (i + 1 < arguments.size() && arguments[i + 1].rfind('-', 0) != 0) cl.bank_reports.push_back(arguments[++i]);
      if (cl.bank_reports.empty()) throw UsageError("--bank-report needs the status report files to read");
    } else if (option == "--history") {
      SetFlag(cl.history, option);
    } else if (option == "--execution-date") {
      const std::string v = value();
      const auto date = vx::transfer::ParseIsoDate(v);
      if (!date) throw UsageError("--execution-date must be a date YYYY-MM-DD, not '" + v + "'");
      SetOnce(cl.execution_date, *date, option);
    } else if (option == "--transfer-again") {
      SetFlag(cl.transfer_again, option);
    } else if (option == "--only-rejected") {
      SetFlag(cl.only_rejected, option);
    } else {
      throw std::logic_error("option " + option + " is listed but not read");
    }
  }
  if (!cl.batch && !cl.help && !cl.version && arguments.size() > 0) {
    throw UsageError("options other than --help and --version need --batch");
  }
  if (cl.companies && (cl.month || cl.year || cl.listing || cl.output || cl.sort || cl.bank || cl.totals ||
                       cl.separate || cl.bold || cl.description || cl.print_to || cl.lock_timeout || cl.transfer ||
                       cl.check || cl.strict || cl.no_check || cl.protection)) {
    throw UsageError("--companies takes no listing options");
  }
  if (cl.execution_date && !cl.transfer) throw UsageError("--execution-date needs --transfer");
  if (cl.transfer_again && !cl.transfer) throw UsageError("--transfer-again needs --transfer");
  if (cl.only_rejected && !cl.transfer) throw UsageError("--only-rejected needs --transfer");
  // The salaries paid again are only those no file has paid since: there
  // is no month paid twice to confirm.
  if (cl.only_rejected && cl.transfer_again) throw UsageError("--only-rejected and --transfer-again exclude each other");
  if (cl.check && (cl.listing || cl.output || cl.sort || cl.totals || cl.separate || cl.bold || cl.description ||
                   cl.print_to || cl.transfer || cl.strict || cl.no_check)) {
    throw UsageError("--check takes only --month, --year and --bank");
  }
  if (cl.strict && cl.no_check) throw UsageError("--strict needs the check that --no-check leaves out");
  // The bank's answers and the register are read without a listing.
  const bool answers = !cl.bank_reports.empty();
  if (answers && cl.history) throw UsageError("--bank-report and --history are run one at a time");
  if ((answers || cl.history) &&
      (cl.companies || cl.listing || cl.output || cl.sort || cl.bank || cl.totals || cl.separate || cl.bold ||
       cl.description || cl.print_to || cl.transfer || cl.check || cl.strict || cl.no_check || cl.protection ||
       (answers && (cl.month || cl.year)))) {
    throw UsageError(answers ? "--bank-report takes only --lock-timeout"
                             : "--history takes only --month, --year and --lock-timeout");
  }
  return cl;
}

}  // namespace vx::app
