#pragma once
// The accounts the companies pay salaries from, kept in a small text file
// of this program beside the archives folder (never among the archives):
//
//   ; comment
//   [DITTA 001 CONTO 0]
//   IBAN = IT60X0542811101000000123456
//   BIC = BPMOIT22XXX
//   CUC = 1234567A
//   CODICEFISCALE = 01234560017
//
// One section per company and bank slot; keys and section names are read
// without regard to letter case and blanks around "=" do not count.
//
// The file decides which account is debited, so it is read strictly: a
// section or key given twice, a key outside a valid section (before the
// first one, or after a header that is malformed or commented out) and a
// header that is not [DITTA nnn CONTO n] are faults, and a company that a
// fault concerns is not to be paid from the file at all.

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vx::transfer {

// The file's name, in the folder that holds the archives folder.
inline constexpr std::string_view kDebtorSettingsName = "VXOREL-ORDINANTI.INI";

// A settings file is a few lines per company: anything larger is not one.
inline constexpr std::size_t kDebtorSettingsMaxBytes = 1 << 20;

class DebtorSettings {
 public:
  using Section = std::map<std::string, std::string>;  // upper-case key -> value

  // What is wrong on one line.
  struct Fault {
    int line = 0;
    std::string company;  // "004", or empty when the line cannot be tied to a company
    std::string message;  // cp1252, without the line number
  };
  // How many faults are kept; the others are only counted.
  static constexpr std::size_t kKeptFaults = 20;

  // Reads the text of the file: cp1252 or UTF-8 with a byte-order mark,
  // lines ended by CR LF, LF or CR alone.
  static DebtorSettings Parse(std::string_view text);

  // The section of a company ("001") and slot; nullptr when there is none.
  const Section* Find(std::string_view company, int slot) const;

  // The first kKeptFaults faults, in line order, and how many there are.
  const std::vector<Fault>& Faults() const { return faults_; }
  std::size_t FaultCount() const { return fault_count_; }
  // The first line at fault that concerns the company, or 0 when none does.
  int FaultyLine(std::string_view company) const;

  // "DITTA 001 CONTO 0", the section name of a company and slot.
  static std::string SectionName(std::string_view company, int slot);

 private:
  void AddFault(int line, const std::string& company, std::string message);

  std::map<std::string, Section> sections_;
  std::vector<Fault> faults_;
  std::size_t fault_count_ = 0;
  std::map<std::string, int, std::less<>> faulty_companies_;  // company -> first line at fault
};

// The bytes of the settings file, read only when it is a regular file (a
// link to one is followed) of at most kDebtorSettingsMaxBytes. A FIFO is
// never waited on, nor a device read from.
struct DebtorSettingsFile {
  enum class State { Read, Missing, Unusable } state = State::Missing;
  std::string text;     // Read: the whole file
  std::string problem;  // Unusable: why, in cp1252 ("\xE8 una cartella, non un file")
};
DebtorSettingsFile ReadDebtorSettingsFile(const std::filesystem::path& path);

}  // namespace vx::transfer
