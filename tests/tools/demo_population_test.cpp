#include "demo/demo_population.h"

#include <gtest/gtest.h>

#include <set>

#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "bank/cin.h"
#include "bank/iban.h"
#include "demo/employee_bank.h"
#include "demo/descriptor_field.h"
#include "demo/installation_layout.h"
#include "support/folder_snapshot.h"
#include "platform/files.h"
#include "platform/registry.h"
#include "support/temp_folder.h"

namespace vx::demo {
namespace {

using testing::ReadWholeFile;

std::string Field(const std::string& record, std::string_view descriptor) {
  const FieldPlace place = ParseDescriptor(descriptor);
  return record.substr(static_cast<size_t>(place.offset - 1), static_cast<size_t>(place.length));
}

std::string Trimmed(std::string text) {
  text.erase(text.find_last_not_of(' ') + 1);
  text.erase(0, text.find_first_not_of(' '));
  return text;
}

class DemoInstallation : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder_ = new vx::testing::TempFolder;
    InstallationBuilder builder;
    PopulateDemo(builder, {12, 1500, 7, 20});  // 20 shared branches
    builder.Write(folder_->Path());
  }
  static void TearDownTestSuite() { delete folder_; }
  static std::string Archive(int base) {
    return ReadWholeFile(ArchivesDirectory(folder_->Path()) / DemoArchive(base).file_name);
  }
  static std::vector<std::string> EmployeeRecords() {
    const std::string all = Archive(kEmployeesBase);
    const size_t length = static_cast<size_t>(DemoArchive(kEmployeesBase).record_length);
    std::vector<std::string> records;
    for (size_t at = 0; at < all.size(); at += length) {
      std::string record = all.substr(at, length);
      if (record.find_first_not_of(' ') != std::string::npos) records.push_back(record);
    }
    return records;
  }
  static vx::testing::TempFolder* folder_;
};
vx::testing::TempFolder* DemoInstallation::folder_ = nullptr;

TEST_F(DemoInstallation, EveryEmployeeIsFoundThroughTheIndexAtItsOwnRecordNumber) {
  const platform::WinePrefix prefix(folder_->Path());
  platform::Files files(prefix);
  const platform::Registry registry(prefix);
  platform::ScriptedMessageBoxes boxes;
  archive::PayrollArchives archives(prefix, files, registry, boxes);
  archives.SetInstanceCheck([] { return false; });
  archives.state.PERCORSOARCHIVI = kArchivesFolder;
  archives.FAIOPEN(kEmployeeIndexBase);
  const std::string index = Archive(kEmployeeIndexBase);
  const std::string all = Archive(kEmployeesBase);
  const size_t length = static_cast<size_t>(DemoArchive(kEmployeesBase).record_length);
  int found = 0;
  for (size_t number = 1; number * length <= all.size(); ++number) {
    const std::string code = Field(all.substr((number - 1) * length, length), archive::fields::kEmployeeCode);
    if (Trimmed(code).empty()) continue;
    ASSERT_EQ(archives.ISAM(kEmployeeIndexBase, code, 2, 0), static_cast<double>(number)) << code;
    ASSERT_EQ(std::stoul(code.substr(6)), number) << "employee number is the record number";
    ++found;
  }
  EXPECT_EQ(found, 1500);
  EXPECT_EQ(archives.ISAM(kEmployeeIndexBase, "0000000000", 2, 0), -1);
  EXPECT_EQ(archives.ISAM(kEmployeeIndexBase, "9999999999", 2, 0), -1);
  EXPECT_TRUE(boxes.shown.empty());
  // Many leaves, so the routing of the upper levels matters.
  EXPECT_GT(index.size() / DemoArchive(kEmployeeIndexBase).record_length, 17u);
}

TEST_F(DemoInstallation, BankCoordinatesPassTheirChecksAndSharedBranchesKeepOneCinEach) {
  std::set<std::string> branches;
  for (const std::string& record : EmployeeRecords()) {
    const std::string abi = Field(record, archive::fields::kEmployeeAbi);
    const std::string cab = Field(record, archive::fields::kEmployeeCab).substr(1);
    const std::string account = ZeroPadRight(Trimmed(Field(record, archive::fields::kEmployeeAccount)), 12);
    const std::string cin = Field(record, archive::fields::kEmployeeCin);
    ASSERT_EQ(Field(record, archive::fields::kEmployeeIbanLayout), "0");
    ASSERT_EQ(cin[0], vx::bank::ItalianCin(abi, cab, account)) << Field(record, archive::fields::kEmployeeCode);
    const std::string iban = Field(record, archive::fields::kEmployeeIbanCountry) +
                             Field(record, archive::fields::kEmployeeIbanCheckDigits) + cin + abi + cab + account;
    ASSERT_EQ(iban.size(), 27u);
    ASSERT_TRUE(vx::bank::IbanIsValid(iban)) << iban;
    branches.insert(cin + abi + cab);
  }
  EXPECT_EQ(branches.size(), 20u);
}

TEST_F(DemoInstallation, DataMixesTheCasesTheListingDistinguishes) {
  std::set<std::string> methods, slots, months, bics;
  for (const std::string& record : EmployeeRecords()) {
    methods.insert(Field(record, archive::fields::kEmployeePaymentMethod));
    slots.insert(Field(record, archive::fields::kEmployeeBankSlot));
    months.insert(Field(record, archive::fields::kEmployeePaymentDate).substr(2, 2));
    bics.insert(Trimmed(Field(record, archive::fields::kEmployeeBic)));
  }
  EXPECT_EQ(methods, (std::set<std::string>{"1", "2", "3"}));
  EXPECT_EQ(slots, (std::set<std::string>{"0", "1", "2"}));
  EXPECT_EQ(months, (std::set<std::string>{"10", "11"}));
  EXPECT_TRUE(bics.count("") && bics.count("00000000000") && bics.count("BCITITMM"));

  const std::string companies = Archive(kCompaniesBase);
  const size_t length = static_cast<size_t>(DemoArchive(kCompaniesBase).record_length);
  int deleted = 0, protected_files = 0;
  for (size_t at = 0; at < companies.size(); at += length) {
    const std::string record = companies.substr(at, length);
    if (record.compare(0, 2, "99") == 0) ++deleted;
    if (!Trimmed(Field(record, archive::fields::kCompanyPdfPassword)).empty()) ++protected_files;
  }
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(protected_files, 1);
  EXPECT_EQ(Trimmed(Field(Archive(kFiscalBase), archive::fields::kFiscalPdfOwnerPassword)), "AMMINPAGHE");
}

TEST(DemoPopulation, SameSeedSameBytesOtherSeedOtherData) {
  vx::testing::TempFolder a, b, c;
  for (auto [folder, seed] : {std::pair{&a, 5u}, std::pair{&b, 5u}, std::pair{&c, 6u}}) {
    InstallationBuilder builder;
    PopulateDemo(builder, {4, 60, seed});
    builder.Write(folder->Path());
  }
  const auto first = vx::testing::SnapshotFolder(a.Path());
  EXPECT_EQ(first, vx::testing::SnapshotFolder(b.Path()));
  EXPECT_NE(first, vx::testing::SnapshotFolder(c.Path()));
}

TEST(DemoPopulation, RefusesSizesBeyondTheArchives) {
  InstallationBuilder builder;
  EXPECT_THROW(PopulateDemo(builder, {0, 10, 1}), std::invalid_argument);
  EXPECT_THROW(PopulateDemo(builder, {1000, 10, 1}), std::invalid_argument);
  EXPECT_THROW(PopulateDemo(builder, {5, 10000, 1}), std::invalid_argument);
}

}  // namespace
}  // namespace vx::demo
