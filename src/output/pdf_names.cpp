#include "output/pdf_names.h"

#include <string_view>

#include "archive/text.h"
#include "platform/codepage.h"

namespace vx::output {

std::string PdfRoot(const std::string& percorso_archivi, const std::string& previous) {
  std::string path = vx::archive::Trim(percorso_archivi);
  if (path.size() > 3) {
    auto slash = path.rfind('\\');
    if (slash == std::string::npos) return previous;
    return path.substr(0, slash);
  }
  return path.substr(0, 2);
}

std::string PdfFileName(const std::string& base, const std::string& codice,
                        const std::string& ragione_sociale) {
  std::string name = vx::archive::Trim(vx::archive::Trim(ragione_sociale).substr(0, 30));
  std::string file = base + codice + "_" + name + ".pdf";
  constexpr std::string_view kEmptyName = "_.pdf";
  if (file.size() >= kEmptyName.size() &&
      std::string_view(file).substr(file.size() - kEmptyName.size()) == kEmptyName)
    file = file.substr(0, file.size() - kEmptyName.size()) + ".pdf";
  CleanFileName(file);
  return file;
}

void CleanFileName(std::string& nome) {
  if (!nome.empty() && nome.back() == '.') nome.pop_back();
  for (char& c : nome) {
    switch (c) {
      case '*': case '|': case '\\': case ':': case '<': case '>': case '?': case '/': case '"':
        c = '_';
        break;
      default:
        // A control character from the archives or the description would
        // cut the name short (NUL) or hide in it: none reaches the disk.
        if (vx::platform::IsControl(static_cast<unsigned char>(c))) c = '_';
        break;
    }
  }
}

}  // namespace vx::output
