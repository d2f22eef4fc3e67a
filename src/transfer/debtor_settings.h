#pragma once
// The accounts the companies pay salaries from, kept in a small text file
// of this program beside the archives folder (never among the archives):
//
//   ; comment
//   [DITTA 001 CONTO 0]
//   IBAN = IT60X0542811101000000123456
//   BIC = BPMOIT22XXX
//   CUC = 1234567A
//   CODICEFISCALE = 01234567890
//
// One section per company and bank slot; keys and section names are read
// without regard to letter case and blanks around "=" do not count.

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vx::transfer {

// The file's name, in the folder that holds the archives folder.
inline constexpr std::string_view kDebtorSettingsName = "VXOREL-ORDINANTI.INI";

class DebtorSettings {
 public:
  using Section = std::map<std::string, std::string>;  // upper-case key -> value

  // Reads the text of the file (cp1252, any line end).
  static DebtorSettings Parse(std::string_view text);

  // The section of a company ("001") and slot; nullptr when there is none.
  const Section* Find(std::string_view company, int slot) const;
  // Lines that are neither a comment, a section nor "KEY = value": their numbers.
  const std::vector<int>& UnreadLines() const { return unread_lines_; }

  // "DITTA 001 CONTO 0", the section name of a company and slot.
  static std::string SectionName(std::string_view company, int slot);

 private:
  std::map<std::string, Section> sections_;
  std::vector<int> unread_lines_;
};

}  // namespace vx::transfer
