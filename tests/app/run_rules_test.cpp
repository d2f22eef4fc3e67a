// The controls as batch mode sets them, the run settings composed from them,
// and the order of the working list. (The window has interlocks of its own,
// tried on the window with the period check.)

#include <gtest/gtest.h>

#include "app/run_controls.h"
#include "app/run_settings.h"
#include "app/sorted_list.h"

namespace vx::app {
namespace {

// Payroll date record: positions 3-4 month, 5-8 year.
const std::string kDataPaghe = "0107202400000";

TEST(RunControls, InterlocksOfTheBankBoxes) {
  RunControls c = RunControls::AfterStartUp(kDataPaghe);
  EXPECT_FALSE(c.ChkTotaliEnabled || c.chkSeparaEnabled);  // the simplified listing
  c.OptStampa_Click(0);
  EXPECT_TRUE(c.ChkTotaliEnabled && c.chkSeparaEnabled);
  c.chkSepara = true;
  c.chkSepara_Click();  // checks and locks the totals box
  EXPECT_TRUE(c.ChkTotali);
  EXPECT_FALSE(c.ChkTotaliEnabled);
  c.chkSepara = false;
  c.chkSepara_Click();  // unlocks it, still checked
  EXPECT_TRUE(c.ChkTotali && c.ChkTotaliEnabled);
  c.chkSepara = true;
  c.OptStampa_Click(1);  // the simplified listing clears both
  EXPECT_FALSE(c.chkSepara || c.ChkTotali || c.chkSeparaEnabled || c.ChkTotaliEnabled);
}

TEST(RunSettings, ComposedFromTheControls) {
  RunControls c = RunControls::AfterStartUp(kDataPaghe);
  c.ComboMese = "11 - NOVEMBRE";
  c.ComboAnno = " 2023 ";
  c.SetDescrizione("  stipendi citt\xE0 ottobre e novembre 2023 ");
  c.OptStampanteLaser = false;
  c.OptStampantePDF = true;
  ASSERT_FALSE(PeriodProblem(c));
  const RunSettings s = ComputeRunSettings(c, kDataPaghe);
  EXPECT_EQ(s.NumeroMese, 11);
  EXPECT_EQ(s.PeriodoStampa, "NOVEMBRE 2023");
  // Cut to 30 characters as typed, then trimmed and upper-cased.
  EXPECT_EQ(s.DescrizioneStampa, "STIPENDI CITT\xC0" " OTTOBRE E NOV");
  EXPECT_EQ(s.AnnoMesePDF, "202407");
  EXPECT_EQ(s.StampaLaser, 0);
  EXPECT_TRUE(s.StampaPDF);
  EXPECT_TRUE(s.PDFRichiesto);
}

TEST(RunSettings, SeparateMeansTotalsAndPagesWhateverTheTotalsBox) {
  RunControls c = RunControls::AfterStartUp(kDataPaghe);
  c.OptStampa_Click(0);
  c.chkSepara = true;
  c.ChkTotali = false;  // as a window could leave it
  RunSettings s = ComputeRunSettings(c, kDataPaghe);
  EXPECT_TRUE(s.TotaliPerBanca);
  EXPECT_TRUE(s.PaginaPerBanca);
  c.chkSepara = false;
  c.ChkTotali = true;
  s = ComputeRunSettings(c, kDataPaghe);
  EXPECT_TRUE(s.TotaliPerBanca);
  EXPECT_FALSE(s.PaginaPerBanca);
  EXPECT_EQ(s.StampaLaser, 1);
}

TEST(SortLine, ShortCodeStaysInItsColumns) {
  const std::string a = SortLinePerCognomeNome("00100107", "ROSSI", "MARIO");
  ASSERT_EQ(a.size(), 110u);
  EXPECT_EQ(CodeOfSortLine(a), "00100107");
}

}  // namespace
}  // namespace vx::app
