// Writes the manual page: the template configured with the version, its
// options line replaced by the OPTIONS section made from the same table
// that --help prints, so the two cannot disagree.
//   vxorel-manual-page TEMPLATE OUTPUT

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>

#include "app/command_line.h"

namespace {

constexpr std::string_view kOptionsLine = ".\\\" {options}";

// Text as roff prints it literally: backslashes escaped, hyphens as the
// minus signs typed on a command line when `minus` is set, and a line
// never starting with a control character.
std::string Roff(std::string_view text, bool minus) {
  std::string out;
  if (!text.empty() && (text[0] == '.' || text[0] == '\'')) out += "\\&";
  for (char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-' && minus) {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string OptionsSection() {
  std::string roff;
  std::string_view group;
  for (const vx::app::OptionHelp& option : vx::app::Options()) {
    if (option.group != group) {
      group = option.group;
      roff += ".SS \"" + std::string(group) + "\"\n";
    }
    roff += ".TP\n";
    if (!option.alias.empty()) roff += "\\fB" + Roff(option.alias, true) + "\\fR, ";
    roff += "\\fB" + Roff(option.name, true) + "\\fR";
    if (!option.value.empty()) roff += " \\fI" + Roff(option.value, true) + "\\fR";
    roff += "\n" + Roff(option.text, false) + "\n";
  }
  return roff;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: vxorel-manual-page TEMPLATE OUTPUT\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "vxorel-manual-page: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::ostringstream page;
  bool filled = false;
  for (std::string line; std::getline(in, line);) {
    if (line == kOptionsLine) {
      page << OptionsSection();
      filled = true;
    } else {
      page << line << '\n';
    }
  }
  if (!filled) {
    std::cerr << "vxorel-manual-page: " << argv[1] << " has no line " << kOptionsLine << "\n";
    return 1;
  }
  // Written aside and renamed, so a failed build leaves no half page.
  const std::string partial = std::string(argv[2]) + ".partial";
  std::ofstream out(partial, std::ios::binary | std::ios::trunc);
  out << page.str();
  out.close();
  std::error_code renamed;
  if (out) std::filesystem::rename(partial, argv[2], renamed);
  if (!out || renamed) {
    std::filesystem::remove(partial, renamed);
    std::cerr << "vxorel-manual-page: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
