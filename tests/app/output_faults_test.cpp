// Faults a run meets on its way out, driven on the real executable: the
// payroll archives locked by another program. Whatever happens, no file
// stands under its final name that is not complete, and the archives
// folder is left as it was, apart from the transfer files.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "listing_world.h"
#include "program_run.h"

namespace vx::app::test {
namespace {

namespace fs = std::filesystem;

class OutputFaults : public ::testing::Test, public ListingWorld {
 protected:
  OutputFaults() {
    Company(1, "ALFA SRL");
    Company(2, "BETA SPA");
    Employee("0010010001", "ROSSI", "MARIO", kBankX, 123450);
    Employee("0020010002", "NERI", "ANNA", kBankY, 200000);
    builder.Write(folder.Path());
    before = vx::testing::SnapshotFolder(ArchivesFolder());
  }
  void TearDown() override {
    auto now = vx::testing::SnapshotFolder(ArchivesFolder());
    std::erase_if(now, [](const auto& e) { return e.first.rfind("BONI", 0) == 0; });
    EXPECT_EQ(now, before) << "a run changed the archives";
  }

  Outcome Run(const std::string& arguments) { return Vxorel(folder.Path(), "--batch --output pdf " + arguments); }
  fs::path Pdf(const std::string& company, const std::string& name) const {
    return folder.Path() / "drive_c" / "PVXPAGHE" / "FILE-PDF" / company / "2025" / "11" / "BANC" /
           ("BANC_0_S_" + company + "_" + name + ".pdf");
  }
  static int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
  }

  vx::testing::FolderSnapshot before;
};

TEST_F(OutputFaults, LockedArchivesAreWaitedForVisiblyOrGivenUpAfterTheTimeout) {
  platform::Files other(platform::WinePrefix(folder.Path()));
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", platform::Access::ExclusiveLock);

  // Held for good: the run gives up on the first company and says why.
  const Outcome forever = Run("--lock-timeout 1");
  EXPECT_EQ(forever.status, 4) << forever.err;
  EXPECT_EQ(Count(forever.err, "Gli archivi paghe sono bloccati da un altro programma "
                               "(C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT): la stampa attende"),
            0)
      << "said before two seconds of waiting: " << forever.err;
  EXPECT_NE(forever.err.find("rimasti bloccati da un altro programma per 1 secondi "
                             "(C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT)"),
            std::string::npos)
      << forever.err;
  EXPECT_NE(forever.err.find("nessun file della ditta 001"), std::string::npos) << forever.err;
  EXPECT_FALSE(fs::exists(Pdf("001", "ALFA SRL")));
  EXPECT_FALSE(fs::exists(ArchivesFolder() / "BONI001B0.TXT"));

  // Held for three seconds: the run says once that it waits, then lists.
  std::thread holder([&] {
    std::this_thread::sleep_for(std::chrono::seconds(3));
    other.Close(1);
  });
  const Outcome waited = Run("");
  holder.join();
  EXPECT_EQ(waited.status, 0) << waited.err;
  EXPECT_EQ(Count(waited.err, "bloccati da un altro programma (C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT)"), 1)
      << waited.err;
  EXPECT_TRUE(fs::exists(Pdf("001", "ALFA SRL")));
  EXPECT_TRUE(fs::exists(Pdf("002", "BETA SPA")));
  EXPECT_EQ(Boni("BONI001B0.TXT").substr(0, 9), "cod.ditta");
}

}  // namespace
}  // namespace vx::app::test
