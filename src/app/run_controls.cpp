#include "app/run_controls.h"

#include "app/text_rules.h"

namespace vx::app {

const std::array<std::string, 12> kComboMeseItems = {
    "01 - GENNAIO", "02 - FEBBRAIO", "03 - MARZO",     "04 - APRILE",
    "05 - MAGGIO",  "06 - GIUGNO",   "07 - LUGLIO",    "08 - AGOSTO",
    "09 - SETTEMBRE", "10 - OTTOBRE", "11 - NOVEMBRE", "12 - DICEMBRE"};

const std::array<std::string, 3> kCombo1Items = {
    "0 - Banca Principale (Pag.4 Archivio Ditte)",
    "1 - Banca 2 (Pag.4 Archivio Ditte)",
    "2 - Banca 3 (Pag.4 Archivio Ditte)"};

RunControls RunControls::AfterStartUp(const std::string& DataPaghe) {
  RunControls c;
  // Selecting the simplified listing runs its interlock.
  c.OptStampa_Click(1);
  c.Combo1 = kCombo1Items[0];
  c.ComboAnno = Mid(DataPaghe, 5, 4);
  // A month that is not 1..12 (or not a number at all) leaves the month box
  // on its design text, which is empty: the run then refuses to start.
  const std::string m = Mid(DataPaghe, 3, 2);
  if (IsWholeNumber(m)) {
    const int month = std::stoi(Trim(m));
    if (month >= 1 && month <= 12) c.ComboMese = kComboMeseItems[month - 1];
  }
  return c;
}

void RunControls::OptStampa_Click(int index) {
  OptStampaDettagliata = index == 0;
  OptStampaSemplificata = index != 0;
  if (index != 0) {
    chkSepara = false;
    chkSeparaEnabled = false;
    ChkTotali = false;
    ChkTotaliEnabled = false;
  } else {
    chkSeparaEnabled = true;
    ChkTotaliEnabled = true;
  }
}

void RunControls::chkSepara_Click() {
  if (chkSepara) {
    ChkTotali = true;
    ChkTotaliEnabled = false;
  } else {
    ChkTotaliEnabled = true;
  }
}

void RunControls::SetDescrizione(const std::string& text) {
  txtDescrizione = text.substr(0, std::min(text.size(), kDescrizioneMax));
}

}  // namespace vx::app
