#include "app/qt_program.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <ostream>
#include <string>

#include "platform/codepage.h"

namespace vx::app {

namespace fs = std::filesystem;

int HandOverToQtProgram(char** argv, const char* installed_from_here, std::ostream& messages) {
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (ec) {
    messages << "vxorel: cannot find where this program lies, to start vxorel-qt: " << ec.message() << "\n";
    return 1;
  }
  // Beside this program in a build folder; in its installed place otherwise.
  const fs::path beside = self.parent_path() / "vxorel-qt";
  const fs::path installed = (self.parent_path() / installed_from_here).lexically_normal();
  ::execv(beside.c_str(), argv);
  ::execv(installed.c_str(), argv);
  const int error = errno;
  messages << "vxorel: the window and the installed printers need "
           << platform::TerminalText(installed.string()) << ", which cannot be started: " << std::strerror(error)
           << "\n";
  return 1;
}

}  // namespace vx::app
