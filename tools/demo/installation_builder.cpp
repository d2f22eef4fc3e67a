#include "installation_builder.h"

#include <cctype>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "archive/descriptors.h"
#include "installation_layout.h"
#include "transfer/debtor_settings.h"
#include "wine_user_reg.h"

namespace vx::demo {

namespace fs = std::filesystem;

namespace {

constexpr size_t kSlotsPerExtractionRecord = 20;
constexpr size_t kSlotLength = 10;

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
  }
  return !text.empty();
}

int EmployeeNumber(std::string_view code) {
  if (code.size() != 10 || !AllDigits(code.substr(6))) {
    throw std::invalid_argument("employee code must be 10 characters ending in a 4-digit number: '" +
                                std::string(code) + "'");
  }
  const int number = std::stoi(std::string(code.substr(6)));
  if (number < 1) throw std::invalid_argument("employee number 0000 is not a record: " + std::string(code));
  return number;
}

// Records in record-number order; numbers without a record are blank.
std::string Archive(const std::map<int, RecordText>& records, int record_length) {
  if (records.empty()) return {};
  const int last = records.rbegin()->first;
  std::string bytes(static_cast<size_t>(last) * static_cast<size_t>(record_length), ' ');
  for (const auto& [number, record] : records) {
    bytes.replace(static_cast<size_t>(number - 1) * record_length, record_length, record.Bytes());
  }
  return bytes;
}

// Writes a whole file next to its final name first, so an interrupted run
// never leaves a truncated archive under the real name.
void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  const fs::path partial = path.string() + ".partial";
  {
    std::ofstream out(partial, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      fs::remove(partial, ignored);
      throw std::runtime_error("cannot write " + path.string());
    }
  }
  fs::rename(partial, path);
}

std::string Padded(std::string_view text, size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

// The catalogue: one 79-byte entry per number base up to the highest one,
// "NNN" + 29-character file name + 5-digit record length + description.
std::string Catalogue() {
  const int last = DemoArchives().back().number_base;
  std::string bytes;
  for (int base = 1; base <= last; ++base) {
    std::string number = std::to_string(base);
    number.insert(0, 3 - number.size(), '0');
    std::string entry = number;
    const ArchiveFile* archive = nullptr;
    for (const ArchiveFile& a : DemoArchives()) {
      if (a.number_base == base) archive = &a;
    }
    if (archive != nullptr) {
      std::string length = std::to_string(archive->record_length);
      length.insert(0, 5 - length.size(), '0');
      entry += Padded(archive->file_name, 29) + length + Padded(archive->description, 40);
    } else {
      entry += std::string(29 + 5 + 40, ' ');
    }
    entry += "\r\n";
    bytes += entry;
  }
  return bytes;
}

}  // namespace

InstallationBuilder::InstallationBuilder() : fiscal_(DemoArchive(kFiscalBase).record_length) {}

RecordText& InstallationBuilder::AddCompany(int code, std::string_view name) {
  if (code < 1 || code > 999) throw std::invalid_argument("company code must be 1..999");
  auto [it, added] = companies_.emplace(code, RecordText(DemoArchive(kCompaniesBase).record_length));
  if (!added) throw std::invalid_argument("company " + std::to_string(code) + " added twice");
  it->second.SetNumber(vx::archive::fields::kCompanyCode, code).SetText(vx::archive::fields::kCompanyName, name);
  return it->second;
}

RecordText& InstallationBuilder::Company(int code) {
  auto it = companies_.find(code);
  if (it == companies_.end()) throw std::invalid_argument("no company " + std::to_string(code));
  return it->second;
}

RecordText& InstallationBuilder::AddEmployee(std::string_view code) {
  const int number = EmployeeNumber(code);
  auto [it, added] = employees_.emplace(number, RecordText(DemoArchive(kEmployeesBase).record_length));
  if (!added) {
    throw std::invalid_argument("employee number " + std::string(code.substr(6)) + " is already used");
  }
  employee_order_.emplace_back(code);
  it->second.SetText(vx::archive::fields::kEmployeeCode, code);
  return it->second;
}

RecordText& InstallationBuilder::Employee(std::string_view code) {
  auto it = employees_.find(EmployeeNumber(code));
  if (it == employees_.end()) throw std::invalid_argument("no employee " + std::string(code));
  return it->second;
}

void InstallationBuilder::SetPayrollDate(std::string_view ddmmyyyy) {
  if (ddmmyyyy.size() != 8) throw std::invalid_argument("payroll date must be DDMMYYYY");
  payroll_date_ = ddmmyyyy;
}

void InstallationBuilder::SetExtraction(const std::vector<std::string>& codes) {
  std::vector<std::vector<std::string>> records;
  for (size_t i = 0; i < codes.size(); ++i) {
    if (i % kSlotsPerExtractionRecord == 0) records.emplace_back();
    records.back().push_back(codes[i]);
  }
  SetExtractionRecords(records);
}

void InstallationBuilder::SetExtractionRecords(const std::vector<std::vector<std::string>>& records) {
  for (const auto& record : records) {
    if (record.size() > kSlotsPerExtractionRecord) {
      throw std::invalid_argument("an extraction record holds at most 20 codes");
    }
  }
  extraction_ = records;
}

void InstallationBuilder::SetNoExtraction() { extraction_ = std::vector<std::vector<std::string>>{}; }

void InstallationBuilder::SetInstallationHolder(std::string_view name, std::string_view vat_number) {
  holder_name_ = name;
  holder_vat_ = vat_number;
}

void InstallationBuilder::SetFiscalOwnerPassword(std::string_view password) {
  fiscal_.SetText(vx::archive::fields::kFiscalPdfOwnerPassword, password);
}

std::string InstallationBuilder::CompaniesArchive() const {
  return Archive(companies_, DemoArchive(kCompaniesBase).record_length);
}

std::string InstallationBuilder::EmployeesArchive() const {
  return Archive(employees_, DemoArchive(kEmployeesBase).record_length);
}

std::string InstallationBuilder::ExtractionArchive() const {
  const size_t record_length = static_cast<size_t>(DemoArchive(kExtractionBase).record_length);
  std::vector<std::vector<std::string>> records;
  if (extraction_) {
    records = *extraction_;
  } else {
    for (size_t i = 0; i < employee_order_.size(); ++i) {
      if (i % kSlotsPerExtractionRecord == 0) records.emplace_back();
      records.back().push_back(employee_order_[i]);
    }
  }
  std::string bytes;
  for (const auto& slots : records) {
    std::string record;
    for (const std::string& slot : slots) record += Padded(slot, kSlotLength);
    bytes += Padded(record, record_length);
  }
  return bytes;
}

std::string InstallationBuilder::IndexArchive() const {
  std::vector<IndexEntry> entries;
  for (const auto& [number, record] : employees_) {
    const std::string code = record.Bytes().substr(2, 10);
    if (index_omitted_.count(code) == 0) entries.push_back({code, number});
  }
  return BuildIsamIndex(std::move(entries), kEmployeeKeyLength, index_fill_);
}

void InstallationBuilder::Write(const fs::path& prefix) const {
  const fs::path archives = ArchivesDirectory(prefix);
  const fs::path drive_c = DriveC(prefix);
  fs::create_directories(archives);
  fs::create_directories(drive_c / "PVXPAGHE" / "PROGRAMMI");
  fs::create_directories(prefix / "dosdevices");
  const fs::path c_link = prefix / "dosdevices" / "c:";
  if (!fs::is_symlink(c_link) && !fs::exists(c_link)) fs::create_directory_symlink("../drive_c", c_link);

  std::vector<RegistryKey> keys;
  if (decimal_separator_) {
    keys.push_back({"Control Panel\\International",
                    {{"Locale", "00000410"},
                     {"sCountry", "Italy"},
                     {"sDecimal", std::string(1, *decimal_separator_)},
                     {"sThousand", *decimal_separator_ == ',' ? "." : ","}}});
  }
  if (write_registry_key_) {
    keys.push_back({kRegistryKey, {{"PERCORSOARCHIVI", kArchivesFolder}, {"PERCORSOPROGRAMMI", kProgramsFolder}}});
  }
  WriteFile(prefix / "user.reg", WineUserReg(keys));

  if (debtor_settings_)
    WriteFile(drive_c / "PVXPAGHE" / std::string(vx::transfer::kDebtorSettingsName), *debtor_settings_);
  WriteFile(drive_c / "PVXPAGHE" / "SLPERARK.SLP", std::string(kArchivesFolder) + "\r\n");
  WriteFile(drive_c / "PVXPAGHE" / "SLPERPRO.SLP", std::string(kProgramsFolder) + "\r\n");
  // The task line as the launcher leaves it for a free terminal: the code
  // padded to 100 characters, which is also what the program writes back.
  WriteFile(drive_c / "VLXTASK" / "VLXTASK.INI", Padded(terminal_code_, 100) + "\r\n");

  WriteFile(archives / "SLBASE.DAT", Catalogue());
  WriteFile(archives / "SLSEMA.DAT", std::string(2000, ' '));

  for (const ArchiveFile& archive : DemoArchives()) {
    std::string bytes;
    switch (archive.number_base) {
      case kCompaniesBase: bytes = CompaniesArchive(); break;
      case kEmployeesBase: bytes = EmployeesArchive(); break;
      case kExtractionBase: bytes = ExtractionArchive(); break;
      case kEmployeeIndexBase: bytes = IndexArchive(); break;
      case kPayrollDateBase:
        bytes = RecordText(archive.record_length).SetAt(1, payroll_date_).Bytes();
        break;
      case kFiscalBase: bytes = fiscal_.Bytes(); break;
      case kInstallationHolderBase:
        bytes = RecordText(archive.record_length)
                    .SetAt(1, Padded(holder_name_, 30))
                    .SetAt(31, Padded(holder_vat_, 11))
                    .Bytes();
        break;
      case kPrinterSettingsBase:
        bytes = "STAMPANTE STANDARD PAGHE\r\n";
        if (printer_) bytes += *printer_ + "\r\n";
        break;
      default: break;  // archives opened by the program but not read by it
    }
    WriteFile(archives / archive.file_name, bytes);
  }
}

}  // namespace vx::demo
