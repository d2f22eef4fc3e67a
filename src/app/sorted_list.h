#pragma once
// The hidden working list in which a pass sorts the candidates of one
// company, and the sort lines it is filled with.

#include <string>
#include <string_view>
#include <vector>

namespace vx::app {

// A list that keeps its lines in ascending order without regard to letter
// case (cp1252 letters, accented ones included). Lines equal but for case
// keep the order in which they were added.
class SortedList {
 public:
  void Clear() { lines_.clear(); }
  void AddItem(std::string line);
  int ListCount() const { return static_cast<int>(lines_.size()); }
  const std::string& List(int index) const { return lines_.at(static_cast<std::size_t>(index)); }

 private:
  std::vector<std::string> lines_;
};

// Case-insensitive ordering of two cp1252 texts: true when a comes first.
bool CaseInsensitiveLess(std::string_view a, std::string_view b);

// The sort line of an employee from his code, surname and first name as the
// record gives them. Both layouts put the code in positions 101-110; a code
// shorter than 10 characters is padded with blanks so that it stays there
// (the code read back is trimmed).
std::string SortLinePerCodice(std::string_view code, std::string_view surname, std::string_view name);
std::string SortLinePerCognomeNome(std::string_view code, std::string_view surname, std::string_view name);

// The employee code a sort line carries: positions 101-110, trimmed.
std::string CodeOfSortLine(std::string_view line);

}  // namespace vx::app
