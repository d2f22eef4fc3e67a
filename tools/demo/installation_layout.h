#pragma once
// Where the demo payroll installation keeps things: the Windows folders the
// registry and path files name, and the archive catalogue (number base ->
// file name and record length) written to SLBASE.DAT.

#include <filesystem>
#include <string>
#include <vector>

namespace vx::demo {

inline constexpr const char* kArchivesFolder = "C:\\PVXPAGHE\\ARCHIVI";
inline constexpr const char* kProgramsFolder = "C:\\PVXPAGHE\\PROGRAMMI";
inline constexpr const char* kRegistryKey = "Software\\TARVENIC\\VELMORA";

// Number bases the program reads.
inline constexpr int kCompaniesBase = 1;
inline constexpr int kEmployeesBase = 2;
inline constexpr int kExtractionBase = 5;
inline constexpr int kPayrollDateBase = 6;
inline constexpr int kEmployeeIndexBase = 7;
inline constexpr int kFiscalBase = 19;
inline constexpr int kPrinterSettingsBase = 280;
inline constexpr int kInstallationHolderBase = 395;

struct ArchiveFile {
  int number_base;
  std::string file_name;  // pattern as catalogued; none needs a placeholder
  int record_length;
  std::string description;
};

// Every archive of the demo installation, in number-base order.
const std::vector<ArchiveFile>& DemoArchives();
// The catalogue entry of a number base; throws std::out_of_range when absent.
const ArchiveFile& DemoArchive(int number_base);

// Record length of an index over 10-character employee codes.
inline constexpr int kEmployeeKeyLength = 10;

// Host folders of a prefix, as Wine maps C: to drive_c.
std::filesystem::path DriveC(const std::filesystem::path& prefix);
std::filesystem::path ArchivesDirectory(const std::filesystem::path& prefix);

}  // namespace vx::demo
