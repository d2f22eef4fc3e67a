#include "transfer/debtor_settings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstring>

namespace vx::transfer {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// Upper case, with runs of blanks as one blank.
std::string Normalised(std::string_view text) {
  std::string out;
  for (char c : Trimmed(text)) {
    if (IsBlank(c)) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  return out;
}

// A piece of the file fit for a message: at most 40 characters, control
// characters as '?'.
std::string Shown(std::string_view text) {
  std::string out(text.substr(0, 40));
  for (char& c : out) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return text.size() > 40 ? out + "..." : out;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// "DITTA nnn CONTO n", as Normalised gives it.
bool IsSectionName(std::string_view name) {
  return name.size() == 17 && name.substr(0, 6) == "DITTA " && AllDigits(name.substr(6, 3)) &&
         name.substr(9, 7) == " CONTO " && AllDigits(name.substr(16, 1));
}

// The company a header names, even a malformed one ("[DITTA 7 CONTO 0",
// "DITTA 007]"): the number after DITTA, as three digits; empty when there
// is none, or it is longer or runs into a letter ("DITTA 0O7").
std::string CompanyOf(std::string_view header) {
  std::string text = Normalised(header);
  if (!text.empty() && text.front() == '[') text = Normalised(text.substr(1));
  if (text.compare(0, 5, "DITTA") != 0) return {};
  std::size_t at = 5;
  while (at < text.size() && text[at] == ' ') ++at;
  std::size_t end = at;
  while (end < text.size() && end - at <= 3 && text[end] >= '0' && text[end] <= '9') ++end;
  const bool runs_on = end < text.size() && std::isalnum(static_cast<unsigned char>(text[end]));
  if (end == at || end - at > 3 || runs_on) return {};
  return std::string(3 - (end - at), '0') + text.substr(at, end - at);
}

// The next line of the text, without its end; CR LF, LF and CR alone all end one.
std::string_view NextLine(std::string_view& text) {
  const std::size_t end = text.find_first_of("\r\n");
  const std::string_view line = text.substr(0, end);
  if (end == std::string_view::npos) {
    text = {};
  } else {
    text.remove_prefix(end + (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1));
  }
  return line;
}

}  // namespace

std::string DebtorSettings::SectionName(std::string_view company, int slot) {
  return "DITTA " + std::string(company) + " CONTO " + std::to_string(slot);
}

void DebtorSettings::AddFault(int line, const std::string& company, std::string message) {
  if (faults_.size() < kKeptFaults) faults_.push_back({line, company, std::move(message)});
  ++fault_count_;
  if (!company.empty()) faulty_companies_.emplace(company, line);
}

DebtorSettings DebtorSettings::Parse(std::string_view text) {
  DebtorSettings settings;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);

  // The section the keys go to; nullptr outside one. Outside, `orphan_company`
  // and `why_outside` say what the keys that follow lost.
  Section* current = nullptr;
  std::string current_name, current_company;
  bool repeated = false;  // in the second copy of a section, already at fault
  std::map<std::string, int> section_lines, key_lines;
  std::string orphan_company, why_outside = "prima della prima sezione";

  int number = 0;
  while (!text.empty()) {
    const std::string_view line = Trimmed(NextLine(text));
    ++number;
    if (line.empty()) continue;
    if (line.front() == ';' || line.front() == '#') {
      // A header commented out ends the section before it: what follows is
      // not that section's.
      const std::string_view rest = Trimmed(line.substr(1));
      if (!rest.empty() && rest.front() == '[') {
        current = nullptr;
        repeated = false;
        orphan_company = CompanyOf(rest);
        why_outside = "la sezione " + Shown(rest) + " alla riga " + std::to_string(number) + " \xE8 commentata";
      }
      continue;
    }
    if (line.front() == '[') {
      const std::string name = line.back() == ']' ? Normalised(line.substr(1, line.size() - 2)) : std::string{};
      current = nullptr;
      repeated = false;
      if (!IsSectionName(name)) {
        orphan_company = CompanyOf(line);
        why_outside = "l'intestazione alla riga " + std::to_string(number) + " non \xE8 valida";
        settings.AddFault(number, orphan_company,
                          "intestazione '" + Shown(line) + "' non valida (attesa [DITTA nnn CONTO n])");
        continue;
      }
      current_name = name;
      current_company = name.substr(6, 3);
      const auto [earlier, added] = section_lines.emplace(name, number);
      if (!added) {
        repeated = true;
        settings.AddFault(number, current_company,
                          "sezione [" + name + "] ripetuta (gi\xE0 alla riga " + std::to_string(earlier->second) + ")");
        continue;
      }
      current = &settings.sections_[name];
      key_lines.clear();
      continue;
    }
    if (repeated) continue;
    const std::size_t equals = line.find('=');
    const std::string key = equals == std::string_view::npos ? std::string{} : Normalised(line.substr(0, equals));
    const std::string& company = current != nullptr ? current_company : orphan_company;
    if (key.empty()) {
      settings.AddFault(number, company,
                        "testo '" + Shown(line) + "' non riconosciuto (attese sezioni [DITTA nnn CONTO n] e righe "
                        "CHIAVE = valore)");
    } else if (current == nullptr) {
      settings.AddFault(number, company,
                        "chiave " + Shown(key) + " fuori da ogni sezione valida (" + why_outside + ")");
    } else if (const auto [earlier, added] = key_lines.emplace(key, number); !added) {
      settings.AddFault(number, company,
                        "chiave " + Shown(key) + " ripetuta nella sezione [" + current_name + "] (gi\xE0 alla riga " +
                            std::to_string(earlier->second) + ")");
    } else {
      (*current)[key] = std::string(Trimmed(line.substr(equals + 1)));
    }
  }
  return settings;
}

const DebtorSettings::Section* DebtorSettings::Find(std::string_view company, int slot) const {
  const auto it = sections_.find(SectionName(company, slot));
  return it == sections_.end() ? nullptr : &it->second;
}

int DebtorSettings::FaultyLine(std::string_view company) const {
  const auto it = faulty_companies_.find(company);
  return it == faulty_companies_.end() ? 0 : it->second;
}

DebtorSettingsFile ReadDebtorSettingsFile(const std::filesystem::path& path) {
  DebtorSettingsFile file;
  auto unusable = [&file](std::string why) {
    file.state = DebtorSettingsFile::State::Unusable;
    file.problem = std::move(why);
    return file;
  };
  // What a file that is not a regular one is, or nothing.
  auto kind = [](const struct stat& st) -> const char* {
    if (S_ISDIR(st.st_mode)) return "\xE8 una cartella, non un file";
    if (S_ISFIFO(st.st_mode)) return "\xE8 una FIFO, non un file";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "\xE8 un dispositivo, non un file";
    if (!S_ISREG(st.st_mode)) return "non \xE8 un file normale";
    return nullptr;
  };
  auto too_big = [](long long size) {
    return "troppo grande (" + std::to_string(size) + " byte, al massimo " +
           std::to_string(kDebtorSettingsMaxBytes) + ")";
  };

  // The type is checked before opening, so that a FIFO is never opened to
  // wait for a writer, and again on the descriptor, in case the name was
  // replaced in between; the open itself does not wait.
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) return file;
    return unusable(std::string("non leggibile: ") + std::strerror(errno));
  }
  if (const char* what = kind(st)) return unusable(what);
  if (static_cast<unsigned long long>(st.st_size) > kDebtorSettingsMaxBytes) return unusable(too_big(st.st_size));

  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return file;
    return unusable(std::string("non leggibile: ") + std::strerror(errno));
  }
  struct Closer {
    int fd;
    ~Closer() { ::close(fd); }
  } closer{fd};
  if (::fstat(fd, &st) != 0) return unusable(std::string("non leggibile: ") + std::strerror(errno));
  if (const char* what = kind(st)) return unusable(what);
  if (static_cast<unsigned long long>(st.st_size) > kDebtorSettingsMaxBytes) return unusable(too_big(st.st_size));

  // One byte more than allowed tells a file that grew past the limit.
  std::string text(kDebtorSettingsMaxBytes + 1, '\0');
  std::size_t got = 0;
  while (got < text.size()) {
    const ssize_t n = ::read(fd, text.data() + got, text.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return unusable(std::string("non leggibile: ") + std::strerror(errno));
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (got > kDebtorSettingsMaxBytes) {
    return unusable("cresciuto oltre " + std::to_string(kDebtorSettingsMaxBytes) + " byte durante la lettura");
  }
  text.resize(got);
  file.state = DebtorSettingsFile::State::Read;
  file.text = std::move(text);
  return file;
}

}  // namespace vx::transfer
