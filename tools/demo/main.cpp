// vxorel-demo DIR [--companies N] [--employees M] [--seed S] [--branches B] [--faulty F] [--no-extraction]
// Writes a complete demo payroll installation into the Wine prefix DIR.

#include <charconv>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "demo_population.h"
#include "installation_builder.h"

namespace {

constexpr const char* kUsage =
    "usage: vxorel-demo DIR [--companies N] [--employees M] [--seed S] [--branches B] [--faulty F]\n"
    "                   [--no-extraction]\n"
    "  writes a demo payroll installation into the Wine prefix DIR\n"
    "  N: 1..999 companies (default 8); M: 0..9999 employees (default 250);\n"
    "  S: seed of the data, the same seed giving the same installation (default 1)\n"
    "  B: 1..9999 bank branches shared by all employees (default: one per employee)\n"
    "  F: employees of the default run whose bank coordinates are made wrong, for\n"
    "     the coordinate checks to find (default 0); their codes are printed\n";

bool ParseNumber(std::string_view text, uint64_t& out) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

int main(int argc, char** argv) {
  vx::demo::DemoOptions options;
  std::string folder;
  bool no_extraction = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    uint64_t value = 0;
    if (arg == "--companies" || arg == "--employees" || arg == "--seed" || arg == "--branches" || arg == "--faulty") {
      if (i + 1 >= argc || !ParseNumber(argv[i + 1], value)) {
        std::cerr << "vxorel-demo: " << arg << " needs a whole number\n" << kUsage;
        return 2;
      }
      ++i;
      if (arg == "--seed") {
        options.seed = value;
      } else if (value > 9999) {
        std::cerr << "vxorel-demo: " << arg << " " << value << " is too large\n" << kUsage;
        return 2;
      } else if (arg == "--branches") {
        options.branches = static_cast<int>(value);
      } else if (arg == "--faulty") {
        options.faulty = static_cast<int>(value);
      } else if (arg == "--companies") {
        options.companies = static_cast<int>(value);
      } else {
        options.employees = static_cast<int>(value);
      }
    } else if (arg == "--no-extraction") {
      no_extraction = true;
    } else if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    } else if (!arg.empty() && arg[0] != '-' && folder.empty()) {
      folder = arg;
    } else {
      std::cerr << "vxorel-demo: unexpected argument '" << arg << "'\n" << kUsage;
      return 2;
    }
  }
  if (folder.empty()) {
    std::cerr << kUsage;
    return 2;
  }
  std::vector<std::string> faulty;
  try {
    vx::demo::InstallationBuilder builder;
    faulty = vx::demo::PopulateDemo(builder, options);
    if (no_extraction) builder.SetNoExtraction();
    builder.Write(folder);
  } catch (const std::exception& e) {
    std::cerr << "vxorel-demo: " << e.what() << "\n";
    return 1;
  }
  std::cout << "Demo installation written to " << folder << " (" << options.companies << " companies, "
            << options.employees << " employees, seed " << options.seed << ")\n";
  if (!faulty.empty()) {
    std::cout << "Employees with wrong bank coordinates:";
    for (const std::string& code : faulty) std::cout << " " << code;
    std::cout << "\n";
  }
  return 0;
}
