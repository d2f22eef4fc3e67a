#pragma once
// The window's controls that a run reads, as plain values. The Qt window
// fills them from its widgets; the batch command line fills them from its
// options. Either way "Conferma" sees the same thing.

#include <array>
#include <functional>
#include <string>

namespace vx::app {

// The items of the month box, "01 - GENNAIO" ... "12 - DICEMBRE".
extern const std::array<std::string, 12> kComboMeseItems;
// The items of the bank-slot box; the first character is the slot.
extern const std::array<std::string, 3> kCombo1Items;
// The description box takes at most this many characters.
inline constexpr std::size_t kDescrizioneMax = 30;

struct RunControls {
  std::string ComboMese;  // text of the month box, e.g. "07 - LUGLIO"
  std::string ComboAnno;  // text of the year box, e.g. "2024"

  // OptStampa: element 0 "Stampa Dettagliata", element 1 "Stampa
  // Semplificata (elenco)". Exactly one is selected.
  bool OptStampaDettagliata = false;
  bool OptStampaSemplificata = true;

  bool ChkTotali = false;
  bool ChkTotaliEnabled = false;
  bool chkSepara = false;
  bool chkSeparaEnabled = false;
  // Read by the detail rows for every row, so that a window can change it
  // while the listing runs; when empty the box counts as unchecked.
  std::function<bool()> ChkGrassetto;

  std::string Combo1 = "";  // text of the selected bank-slot item

  // OptSort: element 0 "Per Codice", element 1 "Per Cognome Nome".
  bool OptSortPerCodice = true;
  bool OptSortPerCognomeNome = false;

  // OptStampante: element 0 "Stampa Laser", element 1 "Crea PDF".
  bool OptStampanteLaser = true;
  bool OptStampantePDF = false;
  // "AES-256" beside "Crea PDF": files that get passwords are protected with
  // AES-256 instead of 40-bit RC4. Counts only with "Crea PDF".
  bool chkAES256 = false;

  std::string txtDescrizione;  // cp1252, at most kDescrizioneMax characters

  // Selecting a line of the company list while the run processes it; the
  // window follows the run through it. May be empty.
  std::function<void(int index)> SelectList1;

  // The state right after start-up: simplified listing (with both bank boxes
  // cleared and disabled), "Stampa Laser", "Per Codice", the first bank slot,
  // and the month and year of the payroll date record when it names one.
  static RunControls AfterStartUp(const std::string& DataPaghe);

  // The interlocks of the print-type options and of "Separa Banche per pagine".
  void OptStampa_Click(int index);
  void chkSepara_Click();

  // Puts text into the description box as typing would: cut to its length.
  void SetDescrizione(const std::string& text);
};

}  // namespace vx::app
