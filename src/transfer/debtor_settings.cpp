#include "transfer/debtor_settings.h"

#include <cctype>

namespace vx::transfer {

namespace {

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
  return text;
}

// Upper case, with runs of blanks as one blank.
std::string Normalised(std::string_view text) {
  std::string out;
  for (char c : Trimmed(text)) {
    if (std::isspace(static_cast<unsigned char>(c))) {
      if (!out.empty() && out.back() != ' ') out.push_back(' ');
    } else {
      out.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
    }
  }
  return out;
}

}  // namespace

std::string DebtorSettings::SectionName(std::string_view company, int slot) {
  return "DITTA " + std::string(company) + " CONTO " + std::to_string(slot);
}

DebtorSettings DebtorSettings::Parse(std::string_view text) {
  DebtorSettings settings;
  Section* current = nullptr;
  int number = 0;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = Trimmed(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    ++number;
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[' && line.back() == ']') {
      current = &settings.sections_[Normalised(line.substr(1, line.size() - 2))];
      continue;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos || current == nullptr || Trimmed(line.substr(0, equals)).empty()) {
      settings.unread_lines_.push_back(number);
      continue;
    }
    (*current)[Normalised(line.substr(0, equals))] = std::string(Trimmed(line.substr(equals + 1)));
  }
  return settings;
}

const DebtorSettings::Section* DebtorSettings::Find(std::string_view company, int slot) const {
  const auto it = sections_.find(SectionName(company, slot));
  return it == sections_.end() ? nullptr : &it->second;
}

}  // namespace vx::transfer
