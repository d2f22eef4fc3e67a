#include "demo/installation_builder.h"

#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "demo/installation_layout.h"
#include "platform/regional.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"
#include "support/folder_snapshot.h"
#include "support/temp_folder.h"

namespace vx::demo {
namespace {

using testing::ReadWholeFile;

class WrittenInstallation : public ::testing::Test {
 protected:
  std::string Archive(int number_base) {
    return ReadWholeFile(ArchivesDirectory(folder.Path()) / DemoArchive(number_base).file_name);
  }
  vx::testing::TempFolder folder;
  InstallationBuilder builder;
};

TEST_F(WrittenInstallation, CatalogueEntriesResolveToTheArchiveFilesThroughThePrefix) {
  builder.Write(folder.Path());
  const std::string catalogue = ReadWholeFile(ArchivesDirectory(folder.Path()) / "SLBASE.DAT");
  const platform::WinePrefix prefix(folder.Path());
  for (const ArchiveFile& archive : DemoArchives()) {
    const size_t at = static_cast<size_t>(archive.number_base - 1) * 79;
    ASSERT_LE(at + 79, catalogue.size());
    const std::string entry = catalogue.substr(at, 79);
    std::string name = entry.substr(3, 29);
    name.erase(name.find_last_not_of(' ') + 1);
    EXPECT_EQ(name, archive.file_name);
    EXPECT_EQ(std::stoi(entry.substr(32, 5)), archive.record_length) << name;
    // No pattern needs a placeholder that the start-up does not set.
    EXPECT_EQ(name.find_first_of("#*@%$!"), std::string::npos) << name;
    const auto mapped = prefix.Map(std::string(kArchivesFolder) + "\\" + name);
    EXPECT_TRUE(std::filesystem::is_regular_file(mapped)) << name;
  }
  EXPECT_EQ(catalogue.size() % 79, 0u);
  EXPECT_TRUE(std::filesystem::is_regular_file(prefix.Map("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT")));
  EXPECT_EQ(std::filesystem::file_size(prefix.Map("C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT")), 2000u);
}

TEST_F(WrittenInstallation, RecordsSitAtTheirNumbersWithFieldsWhereTheDescriptorsSay) {
  builder.AddCompany(3, "ACME SRL");
  builder.AddEmployee("0030010007")
      .SetNumber(archive::fields::kEmployeeNetPay, -123456)
      .SetNumber(archive::fields::kEmployeeCab, 1234)
      .SetText(archive::fields::kEmployeeSurname, "ROSSI");
  builder.Write(folder.Path());

  const std::string companies = Archive(kCompaniesBase);
  ASSERT_EQ(companies.size(), 3u * 5000);
  EXPECT_EQ(companies.substr(0, 5000), std::string(5000, ' '));
  EXPECT_EQ(companies.substr(2 * 5000, 40), "  003ACME SRL" + std::string(27, ' '));

  const std::string employees = Archive(kEmployeesBase);
  ASSERT_EQ(employees.size(), 7u * 15792);
  const std::string record = employees.substr(6 * 15792, 15792);
  EXPECT_EQ(record.substr(2, 10), "0030010007");
  EXPECT_EQ(record.substr(1670, 10), "-000123456");
  EXPECT_EQ(record.substr(2394, 6), "001234");
  EXPECT_EQ(record.substr(9514, 6), "ROSSI ");
}

TEST_F(WrittenInstallation, ExtractionPacksTwentyCodesARecordAndKeepsRawSlots) {
  std::vector<std::string> codes;
  for (int i = 1; i <= 21; ++i) codes.push_back("001001" + std::string(i < 10 ? "000" : "00") + std::to_string(i));
  builder.SetExtraction(codes);
  builder.Write(folder.Path());
  const std::string packed = Archive(kExtractionBase);
  ASSERT_EQ(packed.size(), 400u);
  EXPECT_EQ(packed.substr(190, 10), "0010010020");
  EXPECT_EQ(packed.substr(200, 200), "0010010021" + std::string(190, ' '));

  builder.SetExtractionRecords({{"0010010001", "0010010002", "9999999999", "0010010004"}, {}});
  builder.Write(folder.Path());
  const std::string raw = Archive(kExtractionBase);
  ASSERT_EQ(raw.size(), 400u);
  EXPECT_EQ(raw.substr(0, 40), "0010010001001001000299999999990010010004");
  EXPECT_EQ(raw.substr(200), std::string(200, ' '));

  builder.SetNoExtraction();
  builder.Write(folder.Path());
  EXPECT_EQ(Archive(kExtractionBase).size(), 0u);
}

TEST_F(WrittenInstallation, SettingsFilesNameTheInstallation) {
  builder.SetPayrollDate("30062024");
  builder.SetInstallationHolder("STUDIO ROSSI", "12345678901");
  builder.SetTerminalCode("07");
  builder.Write(folder.Path());
  const auto drive_c = DriveC(folder.Path());
  EXPECT_EQ(Archive(kPayrollDateBase), "30062024" + std::string(120, ' '));
  EXPECT_EQ(Archive(kInstallationHolderBase).substr(0, 41), "STUDIO ROSSI" + std::string(18, ' ') + "12345678901");
  EXPECT_EQ(Archive(kPrinterSettingsBase), "STAMPANTE STANDARD PAGHE\r\nLASER-UFFICIO-PAGHE\r\n");
  EXPECT_EQ(ReadWholeFile(drive_c / "PVXPAGHE" / "SLPERARK.SLP"), "C:\\PVXPAGHE\\ARCHIVI\r\n");
  EXPECT_EQ(ReadWholeFile(drive_c / "VLXTASK" / "VLXTASK.INI"), "07" + std::string(98, ' ') + "\r\n");
  // Read back as the program reads the registry, through the ANSI calls.
  const platform::WinePrefix prefix(folder.Path());
  const platform::Registry registry(prefix);
  platform::RegKey key;
  ASSERT_EQ(registry.RegOpenKeyA("SOFTWARE\\TARVENIC\\VELMORA", &key), platform::ERROR_SUCCESS);
  uint32_t type = 0, size = 64;
  std::string value(size, '\0');
  ASSERT_EQ(registry.RegQueryValueExA(key, "PERCORSOARCHIVI", &type, &value, &size), platform::ERROR_SUCCESS);
  EXPECT_EQ(type, platform::REG_SZ);
  EXPECT_EQ(value, std::string("C:\\PVXPAGHE\\ARCHIVI") + '\0');
  EXPECT_EQ(platform::DecimalSeparator(prefix), ',');

  builder.SetWriteRegistryKey(false);
  builder.Write(folder.Path());
  EXPECT_EQ(ReadWholeFile(folder.Path() / "user.reg").find("VELMORA"), std::string::npos);
}

}  // namespace
}  // namespace vx::demo
