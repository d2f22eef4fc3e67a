#include "app/command_line.h"

#include <cctype>

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
size_t Utf8Length(const std::string& text) {
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

}  // namespace

const char* UsageText() {
  return "usage: vxorel --batch --companies\n"
         "       vxorel --batch [--month N] [--year YYYY] [--listing simplified|detailed]\n"
         "              [--output printer|pdf] [--sort code|name] [--bank 0|1|2] [--totals]\n"
         "              [--separate] [--bold] [--description TEXT] [--print-to DIR]\n"
         "  --companies   print the companies of the current extraction, one per line\n"
         "  --month N     payment month 1-12 (default: the payroll's current month)\n"
         "  --year YYYY   payment year (default: the payroll's current year)\n"
         "  The payroll installation is found in the Wine prefix $WINEPREFIX (default ~/.wine).\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
  CommandLine cl;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= arguments.size()) throw UsageError(option + " needs a value");
      return arguments[++i];
    };
    if (option == "--help" || option == "-h") {
      cl.help = true;
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
      if (!AllDigits(v) || v.size() != 4) throw UsageError("--year must be four digits, not '" + v + "'");
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
      // The window's description box keeps the first 30 characters typed.
      while (Utf8Length(v) > 30) {
        while ((static_cast<unsigned char>(v.back()) & 0xC0) == 0x80) v.pop_back();
        v.pop_back();
      }
      SetOnce(cl.description, v, option);
    } else if (option == "--print-to") {
      const std::string v = value();
      if (v.empty()) throw UsageError("--print-to needs a folder");
      SetOnce(cl.print_to, v, option);
    } else {
      throw UsageError("unknown option '" + option + "'");
    }
  }
  if (!cl.batch && !cl.help && arguments.size() > 0) {
    throw UsageError("options other than --help need --batch");
  }
  if (cl.companies && (cl.month || cl.year || cl.listing || cl.output || cl.sort || cl.bank || cl.totals ||
                       cl.separate || cl.bold || cl.description || cl.print_to)) {
    throw UsageError("--companies takes no listing options");
  }
  return cl;
}

}  // namespace vx::app
