// The company list and the extraction it is read from. (Which companies the
// list shows, deleted ones left out, is checked on the program's --companies
// output in batch_companies_test.)

#include "app/company_list.h"

#include <gtest/gtest.h>

#include "listing_world.h"

namespace vx::app {
namespace {

using vx::testing::AddListedCompany;

// An installation written from the builder, read up to the extraction check
// with the company list and sort still to run.
class CompanyListTest : public ::testing::Test, public test::ListingWorld {
 protected:
  CompanyListTest() {
    AddListedCompany(builder, 1, "ALFA COSTRUZIONI SRL", "1111111111");
    AddListedCompany(builder, 2, "BETA TRASPORTI SPA", "2222222222");
    AddListedCompany(builder, 3, "  GAMMA   ", " 3333 ");
  }

  std::vector<std::string> Loaded() const {
    std::vector<std::string> codes;
    for (size_t i = 1; i < form.ElencoEstrazione.size() && !form.ElencoEstrazione[i].empty(); ++i) {
      codes.push_back(form.ElencoEstrazione[i]);
    }
    return codes;
  }
};

TEST_F(CompanyListTest, TerminatorOrBlankSlotEndsItsRecordButNotTheExtraction) {
  builder.SetExtractionRecords({{"0010010001", "0010010002", "9999999999", "0010010004"},
                                {"0020010005", "", "0020010007"},
                                {"0030010008"}});
  ASSERT_TRUE(Load());
  EXPECT_EQ(Loaded(), (std::vector<std::string>{"0010010001", "0010010002", "0020010005", "0030010008"}));
  EXPECT_EQ(form.EstrazioneMancante, 0);
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CompanyListTest, CompanyWhoseCodesAreNotAdjacentIsListedOncePerRun) {
  builder.SetExtraction({"0020010001", "0010010002", "0020010003", "0030010004"});
  ASSERT_TRUE(Load());
  ImpostazioniIniziali(*list);
  EXPECT_EQ(form.List1, (std::vector<std::string>{"002 BETA TRASPORTI SPA 2222222222",
                                                  "001 ALFA COSTRUZIONI SRL 1111111111",
                                                  "002 BETA TRASPORTI SPA 2222222222", "003 GAMMA 3333"}));
  // The list shows the extraction as stored; the runs get it sorted.
  EXPECT_EQ(Loaded(), (std::vector<std::string>{"0010010002", "0020010001", "0020010003", "0030010004"}));
}

TEST_F(CompanyListTest, CodeWithoutCompanyRecordEndsTheList) {
  builder.SetExtraction({"0010010001", "0090010002", "0020010003"});
  ASSERT_TRUE(Load());
  list->LISTA_AZIENDE();
  EXPECT_EQ(form.List1, (std::vector<std::string>{"001 ALFA COSTRUZIONI SRL 1111111111"}));
}

TEST_F(CompanyListTest, SortKeepsSubCompaniesTogetherWithinTheirCompany) {
  builder.SetExtraction({"0020010001", "0010020002", "0010010009", "0010010003", "0010020004", "00100A0005"});
  ASSERT_TRUE(Load());
  list->CARICAESTRAZIONE();
  EXPECT_EQ(Loaded(), (std::vector<std::string>{"0010010003", "0010010009", "0010020002", "0010020004",
                                                "00100A0005", "0020010001"}));
}

// The message itself is checked on the window and in batch mode.
TEST_F(CompanyListTest, MissingExtractionSetsTheFlagOnlyAtStartUp) {
  builder.SetNoExtraction();
  EXPECT_FALSE(Load());
  EXPECT_EQ(form.EstrazioneMancante, 1);
  // Loading again for the runs shows the message but keeps no flag.
  form.EstrazioneMancante = 0;
  list->CARICAESTRAZIONE();
  EXPECT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(form.EstrazioneMancante, 0);
  EXPECT_TRUE(Loaded().empty());
}

TEST_F(CompanyListTest, ExtractionOfOnlyBlankRecordsIsNotMissing) {
  builder.SetExtractionRecords({{}});
  ASSERT_TRUE(Load());
  list->LISTA_AZIENDE();
  EXPECT_TRUE(form.List1.empty());
  EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(CompanyListTest, MoreCodesThanSlotsEndsTheProgramWithSubscriptOutOfRange) {
  std::vector<std::string> codes;
  for (int i = 0; i <= 10000; ++i) codes.push_back("001001" + std::to_string(1000 + i % 9000));
  builder.SetExtraction(codes);
  EXPECT_THROW(Load(), platform::ProgramEnd);
  ASSERT_FALSE(boxes.shown.empty());
  EXPECT_EQ(boxes.shown[0].text.rfind("Errore 9 Subscript out of range\r\n", 0), 0u) << boxes.shown[0].text;
  EXPECT_NE(boxes.shown[0].text.find("LEGGIREC (5-501)\r\n"), std::string::npos) << boxes.shown[0].text;
}

TEST_F(CompanyListTest, StartUpReadsThePayrollDateAndLeavesTheArchivesAsTheyWere) {
  builder.SetPayrollDate("31072024");
  builder.SetWriteRegistryKey(false);  // found through the path files
  builder.SetExtraction({"0010010001"});
  Write();
  const auto before = vx::testing::SnapshotFolder(folder.Path());
  ASSERT_TRUE(Load());
  ImpostazioniIniziali(*list);
  EXPECT_EQ(form.DataPaghe, "31072024" + std::string(120, ' '));
  EXPECT_EQ(archives->state.PERCORSOARCHIVI, "C:\\PVXPAGHE\\ARCHIVI");
  EXPECT_EQ(archives->state.CodiceTerminale, "01");
  for (double base : {1, 2, 5, 6, 7, 29, 30, 37, 97, 98, 401, 403}) {
    EXPECT_NE(archives->state.CanaleFile[static_cast<size_t>(base)], 0) << "archive " << base << " open";
  }
  archives->CHIUDI(0);
  EXPECT_EQ(vx::testing::SnapshotFolder(folder.Path()), before);
}

}  // namespace
}  // namespace vx::app
