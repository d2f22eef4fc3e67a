// Runs the real executable on installations written by the demo library, as
// an operator would: WINEPREFIX names the installation.

#include <gtest/gtest.h>

#include "archive/descriptors.h"
#include "support/demo_installation.h"
#include "support/folder_snapshot.h"
#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using vx::testing::AddListedCompany;
using vx::app::test::Outcome;

class BatchCompanies : public ::testing::Test {
 protected:
  fs::path Prefix() const { return folder.Path() / "prefix"; }
  Outcome Run(const std::string& arguments) { return vx::app::test::Vxorel(Prefix(), arguments); }
  vx::testing::TempFolder folder;
  vx::demo::InstallationBuilder builder;
};

TEST_F(BatchCompanies, PrintsTheCompanyListInUtf8AndChangesNothing) {
  AddListedCompany(builder, 1, "CAFF\xC8 ROMA S.N.C.", "0000000001");
  AddListedCompany(builder, 2, "FORNO PAGAN\xD2", "");
  AddListedCompany(builder, 3, "ARCHIVIATA", "0000000003").SetAt(1, "99");
  AddListedCompany(builder, 12, "OFFICINA D'ANGELO S.R.L.", "MI 1234567");
  builder.SetExtraction({"0120010007", "0010010001", "0010020002", "0030010003", "0020010004", "0120010008"});
  builder.Write(Prefix());
  const auto before = vx::testing::SnapshotFolder(Prefix());

  const Outcome run = Run("--batch --companies");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "012 OFFICINA D'ANGELO S.R.L. MI 1234567\n"
            "001 CAFF\xC3\x88 ROMA S.N.C. 0000000001\n"
            "002 FORNO PAGAN\xC3\x92 \n"
            "012 OFFICINA D'ANGELO S.R.L. MI 1234567\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(vx::testing::SnapshotFolder(Prefix()), before);
}

TEST_F(BatchCompanies, WithoutExtractionSaysSoAndFails) {
  AddListedCompany(builder, 1, "ALFA SRL", "1");
  builder.SetNoExtraction();
  builder.Write(Prefix());
  const auto before = vx::testing::SnapshotFolder(Prefix());

  const Outcome run = Run("--batch --companies");
  EXPECT_NE(run.status, 0);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find("Attenzione: Non esiste estrazione anno corrente"), std::string::npos) << run.err;
  EXPECT_EQ(vx::testing::SnapshotFolder(Prefix()), before);
}

// Without --batch the program wants a display; with none it says so and
// stops before touching the installation. The display variables are cleared
// so that the case holds on a desktop too instead of opening the window.
// (Usage errors of batch mode are tried in batch_run_test.)
TEST_F(BatchCompanies, WithoutADisplayTheWindowIsAUsageErrorAndNothingIsTouched) {
  builder.Write(Prefix());
  const auto before = vx::testing::SnapshotFolder(Prefix());
  const auto run = vx::app::test::Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM WINEPREFIX=" +
                                        vx::testing::Quote(Prefix()) + " " VXOREL_EXECUTABLE);
  EXPECT_EQ(run.status, 2) << run.out;
  EXPECT_EQ(vx::testing::SnapshotFolder(Prefix()), before);
}

}  // namespace
