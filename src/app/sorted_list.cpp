#include "app/sorted_list.h"

#include <algorithm>

#include "app/text_rules.h"

namespace vx::app {

bool CaseInsensitiveLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return LowerCp1252(static_cast<unsigned char>(x)) < LowerCp1252(static_cast<unsigned char>(y));
      });
}

void SortedList::AddItem(std::string line) {
  // After every line that does not come after it: equal lines keep their
  // order of arrival. Candidates mostly arrive in code order, so the search
  // from the end is short for the code sort.
  auto at = std::upper_bound(lines_.begin(), lines_.end(), line,
                             [](const std::string& x, const std::string& y) { return CaseInsensitiveLess(x, y); });
  lines_.insert(at, std::move(line));
}

namespace {
std::string Pad30(std::string_view field) { return PadRight(Trim(field), 30); }
// Codes are 10 characters; a shorter one is padded to keep its place.
std::string Code10(std::string_view code) {
  std::string c = Trim(code);
  if (c.size() < 10) c.resize(10, ' ');
  return c;
}
}  // namespace

std::string SortLinePerCodice(std::string_view code, std::string_view surname, std::string_view name) {
  const std::string c = Code10(code);
  return c + " " + Pad30(surname) + " " + Pad30(name) + std::string(28, ' ') + c;
}

std::string SortLinePerCognomeNome(std::string_view code, std::string_view surname, std::string_view name) {
  const std::string c = Code10(code);
  return Pad30(surname) + " " + Pad30(name) + " " + c + std::string(28, ' ') + c;
}

std::string CodeOfSortLine(std::string_view line) { return Trim(Mid(line, 101, 10)); }

}  // namespace vx::app
