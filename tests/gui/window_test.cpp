// The main window on Qt's offscreen platform: what the operator sees after
// start-up, the option interlocks, the keys, "Conferma" and the exit.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QListWidget>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QClipboard>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>

#include <fstream>
#include <sstream>
#include <thread>

#include "app/batch_run.h"
#include "app/window/input_guard.h"
#include "app/window/run_report_dialog.h"
#include "app/window/transfer_strip.h"
#include "platform/files.h"
#include "register/transfer_register.h"
#include "demo/demo_population.h"
#include "gui/window_world.h"
#include "support/bank_answer.h"
#include "support/shell.h"
#include "support/demo_installation.h"
#include "support/folder_snapshot.h"

namespace {

namespace fs = std::filesystem;
using vx::platform::Icon;
using vx::testing::ReadWholeFile;

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

class Window : public ::testing::Test {
 protected:
  // Two listed companies with one employee each; 27 November 2025.
  void SmallInstallation() {
    vx::testing::AddListedCompany(world.builder, 1, "ALFA S.R.L.", "0000000001");
    vx::testing::AddListedCompany(world.builder, 2, "CAFF\xC8 BETA", "");
    vx::testing::AddPaidEmployee(world.builder, "0010010001", "ROSSI", "MARIO");
    vx::testing::AddPaidEmployee(world.builder, "0020010002", "VERDI", "ANNA");
    world.builder.SetPayrollDate("27112025");
  }

  // Writes the installation, starts the window and shows it.
  vx::app::FRMBANCNEW& Started() {
    vx::app::FRMBANCNEW& window = world.Open();
    EXPECT_TRUE(window.Form_Load()) << "start-up ended the program";
    window.show();
    return window;
  }

  fs::path TaskFile() const { return world.Prefix() / "drive_c" / "VLXTASK" / "VLXTASK.INI"; }

  vx::testing::WindowWorld world;
};

TEST_F(Window, ShowsEveryControlWithItsDesignItemsAndState) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();

  EXPECT_EQ(window.windowTitle(), "Stampa Pagamento in C/C");
  // Initial state: simplified listing with both bank boxes cleared and
  // locked, by code, on the laser printer, first bank slot, no description.
  EXPECT_TRUE(world.Find<QRadioButton>("OptStampa_1")->isChecked());
  EXPECT_TRUE(world.Find<QRadioButton>("OptSort_0")->isChecked());
  EXPECT_TRUE(world.Find<QRadioButton>("OptStampante_0")->isChecked());
  for (const char* box : {"ChkTotali", "chkSepara"}) {
    EXPECT_FALSE(world.Find<QCheckBox>(box)->isChecked()) << box;
    EXPECT_FALSE(world.Find<QCheckBox>(box)->isEnabled()) << box;
  }
  EXPECT_FALSE(world.Find<QCheckBox>("ChkGrassetto")->isChecked());
  EXPECT_EQ(world.Find<QLineEdit>("txtDescrizione")->maxLength(), 30);

  auto* combo1 = world.Find<QComboBox>("Combo1");
  EXPECT_FALSE(combo1->isEditable());
  ASSERT_EQ(combo1->count(), 3);
  EXPECT_EQ(combo1->currentText(), "0 - Banca Principale (Pag.4 Archivio Ditte)");
  auto* mese = world.Find<QComboBox>("ComboMese");
  EXPECT_TRUE(mese->isEditable());
  ASSERT_EQ(mese->count(), 12);
  auto* anno = world.Find<QComboBox>("ComboAnno");
  ASSERT_EQ(anno->count(), 200);
  EXPECT_EQ(anno->itemText(0), "2001");

  // The company list in extraction order, accented names shown as such.
  auto* list1 = world.Find<QListWidget>("List1");
  ASSERT_EQ(list1->count(), 2);
  EXPECT_EQ(list1->item(0)->text(), "001 ALFA S.R.L. 0000000001");
  EXPECT_EQ(list1->item(1)->text(), U("002 CAFFÈ BETA "));
  auto* list2 = world.Find<QListWidget>("List2");
  EXPECT_FALSE(list2->isVisible());
  EXPECT_EQ(list2->count(), 0);
  for (const char* name : {"List1", "List2", "Combo1"}) {
    const QFont font = world.window().findChild<QWidget*>(QLatin1String(name))->font();
    EXPECT_EQ(font.family(), "Courier New") << name;
    EXPECT_TRUE(font.fixedPitch()) << name;
  }
  EXPECT_EQ(window.font().styleHint(), QFont::SansSerif);
}

TEST_F(Window, LaysOutControlsFromTwipsAtFifteenToThePixel) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();
  // The designed 11760 x 7230 twips less the window system's frame, and the
  // strip of the transfer files under it.
  EXPECT_EQ(window.size(), QSize(776, 476));
  EXPECT_EQ(world.Find<QWidget>("FrameBonifici")->geometry(), QRect(4, 448, 770, 24));
  EXPECT_EQ(world.Find<QGroupBox>("FrameScelte")->geometry(), QRect(376, 30, 389, 353));
  EXPECT_EQ(world.Find<QToolButton>("CmdUscita")->geometry(), QRect(376, 384, 193, 55));
  EXPECT_EQ(world.Find<QListWidget>("List1")->geometry(), QRect(2, 8, 361, 366));
}

// A payroll month that is not 1 to 12 leaves the month box as designed,
// empty, and the run then refuses to start.
TEST_F(Window, StartsOnThePayrollMonthAndYear) {
  struct Case {
    const char* date;
    const char* month;
    int index;
  };
  for (const Case c : {Case{"15072024", "07 - LUGLIO", 6}, Case{"15132024", "", -1}, Case{"15AB2024", "", -1},
                       Case{"15002024", "", -1}}) {
    vx::testing::WindowWorld fresh;
    vx::testing::AddListedCompany(fresh.builder, 1, "ALFA", "1");
    vx::testing::AddPaidEmployee(fresh.builder, "0010010001", "ROSSI", "MARIO");
    fresh.builder.SetPayrollDate(c.date);
    ASSERT_TRUE(fresh.Open().Form_Load()) << c.date;
    EXPECT_EQ(fresh.Find<QComboBox>("ComboMese")->currentText(), c.month) << c.date;
    EXPECT_EQ(fresh.Find<QComboBox>("ComboMese")->currentIndex(), c.index) << c.date;
    EXPECT_EQ(fresh.Find<QComboBox>("ComboAnno")->currentText(), "2024") << c.date;
    EXPECT_EQ(fresh.Find<QComboBox>("ComboAnno")->currentIndex(), 23) << c.date;
  }
}

TEST_F(Window, PrintTypeAndBankPageOptionsInterlock) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();
  auto* detailed = world.Find<QRadioButton>("OptStampa_0");
  auto* simplified = world.Find<QRadioButton>("OptStampa_1");
  auto* totals = world.Find<QCheckBox>("ChkTotali");
  auto* separate = world.Find<QCheckBox>("chkSepara");

  QTest::mouseClick(detailed, Qt::LeftButton);
  EXPECT_TRUE(detailed->isChecked());
  EXPECT_TRUE(totals->isEnabled());
  EXPECT_TRUE(separate->isEnabled());
  EXPECT_FALSE(totals->isChecked());
  EXPECT_FALSE(separate->isChecked());

  // A page per bank needs the bank totals: the totals box is checked and locked.
  QTest::mouseClick(separate, Qt::LeftButton);
  EXPECT_TRUE(totals->isChecked());
  EXPECT_FALSE(totals->isEnabled());
  // Clicking the selected print type again must not unlock it.
  QTest::mouseClick(detailed, Qt::LeftButton);
  EXPECT_FALSE(totals->isEnabled());
  vx::app::RunControls controls = window.ControlsNow();
  EXPECT_TRUE(controls.chkSepara && controls.ChkTotali && !controls.ChkTotaliEnabled);

  // Unchecking it unlocks the totals box, which stays checked.
  QTest::mouseClick(separate, Qt::LeftButton);
  EXPECT_TRUE(totals->isChecked());
  EXPECT_TRUE(totals->isEnabled());

  QTest::mouseClick(simplified, Qt::LeftButton);
  EXPECT_FALSE(totals->isChecked());
  EXPECT_FALSE(totals->isEnabled());
  EXPECT_FALSE(separate->isEnabled());
  controls = window.ControlsNow();
  EXPECT_TRUE(controls.OptStampaSemplificata && !controls.OptStampaDettagliata);
  EXPECT_FALSE(controls.ChkTotali || controls.chkSepara);
}

// The transfer file's kind and date, and the AES-256 box, which counts
// only for PDF files: the next session starts with the choices this one made.
TEST_F(Window, TransferFileAndAes256ChoicesAreRememberedForTheNextStart) {
  SmallInstallation();
  Started();
  auto* kind = world.Find<QComboBox>("ComboBonifici");
  auto* date = world.Find<QDateEdit>("DataEsecuzione");
  EXPECT_EQ(kind->currentIndex(), 0);
  EXPECT_FALSE(date->isEnabled());
  kind->setCurrentIndex(2);
  date->setDate(QDate(2099, 1, 5));
  EXPECT_TRUE(date->isEnabled());
  auto* aes = world.Find<QCheckBox>("chkAES256");
  EXPECT_FALSE(aes->isEnabled());
  EXPECT_FALSE(aes->isChecked());
  QTest::mouseClick(world.Find<QRadioButton>("OptStampante_1"), Qt::LeftButton);
  ASSERT_TRUE(aes->isEnabled());
  QTest::mouseClick(aes, Qt::LeftButton);
  EXPECT_TRUE(world.window().ControlsNow().chkAES256);

  vx::app::FRMBANCNEW& next = world.Reopen();
  ASSERT_TRUE(next.Form_Load());
  const auto choice = vx::app::TransferStrip(QDate::currentDate()).Choice();
  EXPECT_EQ(choice.kind, vx::transfer::TransferKind::Sepa);
  EXPECT_EQ(vx::transfer::IsoDate(*choice.execution_date), "2099-01-05");
  aes = world.Find<QCheckBox>("chkAES256");
  EXPECT_TRUE(aes->isChecked());
  EXPECT_FALSE(aes->isEnabled());
  QTest::mouseClick(world.Find<QRadioButton>("OptStampante_1"), Qt::LeftButton);
  QTest::mouseClick(aes, Qt::LeftButton);
  EXPECT_FALSE(next.ControlsNow().chkAES256);
}

TEST_F(Window, ControlShortcutShiftPShowsTheProgramInformationOnly) {
  SmallInstallation();
  Started();
  auto* text = world.Find<QLineEdit>("txtDescrizione");
  auto* list1 = world.Find<QListWidget>("List1");

  QTest::keyClick(list1, Qt::Key_P, Qt::ControlModifier);
  QTest::keyClick(list1, Qt::Key_P, Qt::ShiftModifier);
  QTest::keyClick(list1, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
  EXPECT_TRUE(world.boxes.shown.empty());

  // Wherever the focus is, a text box included, and without typing a "P".
  QTest::keyClick(text, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  const vx::platform::MessageBox& box = world.boxes.shown[0];
  EXPECT_EQ(box.title, "Informazioni Progetto velmora");
  EXPECT_EQ(box.text, "Programma velmora\r\rNome EXE : VXOREL.EXE\rNome VBP : VXOREL.VBP\r");
  EXPECT_EQ(box.icon, Icon::Information);
  EXPECT_EQ(text->text(), "");
  QTest::keyClick(list1, Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(world.boxes.shown.size(), 2u);
}

TEST_F(Window, TypedPeriodThatIsNotAMonthAndYearStartsNoRun) {
  SmallInstallation();
  Started();
  auto* mese = world.Find<QComboBox>("ComboMese");
  auto* anno = world.Find<QComboBox>("ComboAnno");
  auto* conferma = world.Find<QToolButton>("CmdStampa");

  for (const char* month : {"13 - TREDICESIMA", "LUGLIO"}) {
    mese->setEditText(month);
    QTest::mouseClick(conferma, Qt::LeftButton);
  }
  mese->setCurrentIndex(10);
  anno->setEditText("25");
  QTest::mouseClick(conferma, Qt::LeftButton);
  // A transfer file only for the payroll month the archives hold.
  world.Find<QComboBox>("ComboBonifici")->setCurrentIndex(2);
  anno->setEditText("2024");
  QTest::mouseClick(conferma, Qt::LeftButton);

  ASSERT_EQ(world.boxes.shown.size(), 4u);
  EXPECT_EQ(world.boxes.shown[3].text,
            "Le paghe in archivio sono di NOVEMBRE 2025: i file dei bonifici si fanno solo per NOVEMBRE 2025, non "
            "per NOVEMBRE 2024. Scegliere NOVEMBRE 2025 oppure nessun file dei bonifici.");
  EXPECT_EQ(world.boxes.shown[3].icon, Icon::Critical);
  EXPECT_EQ(world.boxes.shown[0].text, "Mese di pagamento non valido: scegliere un mese da 01 a 12.");
  EXPECT_EQ(world.boxes.shown[1].text, world.boxes.shown[0].text);
  EXPECT_EQ(world.boxes.shown[2].text, "Anno di pagamento non valido: indicare l'anno con quattro cifre.");
  EXPECT_EQ(world.boxes.shown[2].icon, Icon::Critical);
  EXPECT_EQ(world.boxes.shown[2].title, "Stampa Pagamento in C/C");
  EXPECT_FALSE(fs::exists(vx::testing::ArchivesOf(world.Prefix()) / "BONI001B0.TXT"));
  EXPECT_TRUE(world.printers.At(1).documents.empty());
}

TEST_F(Window, LaserRunPrintsOnTheInstallationsStandardPrinterAndFollowsTheCompanies) {
  SmallInstallation();
  Started();
  // The payroll suite names LASER-UFFICIO-PAGHE, the second installed printer.
  EXPECT_EQ(world.printers.CurrentIndex(), 1u);
  auto* list1 = world.Find<QListWidget>("List1");
  QSignalSpy rows(list1, &QListWidget::currentRowChanged);

  QTest::mouseClick(world.Find<QToolButton>("CmdStampa"), Qt::LeftButton);

  EXPECT_EQ(world.printers.At(1).documents.size(), 2u);
  EXPECT_TRUE(world.printers.At(0).documents.empty());
  ASSERT_EQ(rows.count(), 2);
  EXPECT_EQ(rows.at(0).at(0).toInt(), 0);
  EXPECT_EQ(rows.at(1).at(0).toInt(), 1);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  ASSERT_EQ(world.boxes.shown.size(), 1u);  // the transfer-file notice, nothing for paper
  EXPECT_EQ(world.boxes.shown[0].text,
            "ATTENZIONE: IL PROGRAMMA PRODUCE (oltre alla stampa) ANCHE IL FILE BONIXXX.TXT (XXX=CODICE DITTA)"
            "\r\ndelimitato da   ';'   importabile in EXCEL");
  EXPECT_EQ(world.boxes.shown[0].icon, Icon::None);
  EXPECT_TRUE(world.window().isVisible());
  EXPECT_FALSE(world.window().Ended());
}

// The PDF files and transfer files under the prefix, by path.
vx::testing::FolderSnapshot RunOutputs(const fs::path& prefix) {
  vx::testing::FolderSnapshot outputs;
  for (const auto& [path, bytes] : vx::testing::SnapshotFolder(prefix)) {
    if (path.find("FILE-PDF/") != std::string::npos || path.find("BONI") != std::string::npos)
      outputs[path] = bytes;
  }
  return outputs;
}

TEST_F(Window, ConfermaMakesTheSameFilesAsTheBatchRunWithTheSameOptions) {
  vx::demo::DemoOptions demo;
  demo.companies = 4;
  demo.employees = 60;
  demo.branches = 5;
  demo.seed = 11;
  vx::demo::PopulateDemo(world.builder, demo);
  vx::app::FRMBANCNEW& window = world.Open();

  vx::app::CommandLine options;
  options.batch = true;
  options.listing = vx::app::ListingKind::Detailed;
  options.output = vx::app::OutputKind::Pdf;
  options.sort = vx::app::SortOrder::Name;
  options.separate = true;
  options.bold = true;
  options.description = "Stipendi netti";
  vx::output::RecordingPrinters unused;
  std::ostringstream messages;
  const int batch_status = vx::app::RunBatchListing(options, vx::platform::WinePrefix(world.Prefix()), unused,
                                                    messages, vx::testing::FixedClockWriters());
  ASSERT_EQ(batch_status, 0) << messages.str();
  const vx::testing::FolderSnapshot batch = RunOutputs(world.Prefix());
  ASSERT_GE(batch.size(), 6u);
  for (const auto& entry : batch) fs::remove(world.Prefix() / entry.first);

  ASSERT_TRUE(window.Form_Load());
  window.show();
  QTest::mouseClick(world.Find<QRadioButton>("OptStampa_0"), Qt::LeftButton);
  QTest::mouseClick(world.Find<QRadioButton>("OptStampante_1"), Qt::LeftButton);
  QTest::mouseClick(world.Find<QRadioButton>("OptSort_1"), Qt::LeftButton);
  QTest::mouseClick(world.Find<QCheckBox>("chkSepara"), Qt::LeftButton);
  QTest::mouseClick(world.Find<QCheckBox>("ChkGrassetto"), Qt::LeftButton);
  QTest::keyClicks(world.Find<QLineEdit>("txtDescrizione"), "Stipendi netti");
  QTest::mouseClick(world.Find<QToolButton>("CmdStampa"), Qt::LeftButton);

  EXPECT_EQ(RunOutputs(world.Prefix()), batch);
  EXPECT_EQ(window.findChild<vx::app::RunReportDialog*>(), nullptr);  // the demo's coordinates are sound
  ASSERT_EQ(world.boxes.shown.size(), 2u);
  EXPECT_EQ(world.boxes.shown[1].title, "Pagamenti in conto/corrente");
  EXPECT_EQ(world.boxes.shown[1].icon, Icon::Information);
  EXPECT_EQ(world.boxes.shown[1].text.substr(0, 68),
            "I file PDF relativi alle ditte selezionate sono stati creati in : \r\r");
  // The run ends on the last company of the list, still selected.
  auto* list1 = world.Find<QListWidget>("List1");
  EXPECT_EQ(list1->currentRow(), list1->count() - 1);
}

// Pressing "Uscita" or closing the window: the launcher's mark after the
// terminal code is cleared and the program ends with status 0.
TEST_F(Window, UscitaOrClosingHandsTheTerminalBackAndEndsTheProgram) {
  for (const bool uscita : {true, false}) {
    vx::testing::WindowWorld fresh;
    vx::testing::AddListedCompany(fresh.builder, 1, "ALFA", "1");
    vx::testing::AddPaidEmployee(fresh.builder, "0010010001", "ROSSI", "MARIO");
    fresh.builder.SetTerminalCode("07");
    vx::app::FRMBANCNEW& window = fresh.Open();
    ASSERT_TRUE(window.Form_Load());
    window.show();
    const fs::path task = fresh.Prefix() / "drive_c" / "VLXTASK" / "VLXTASK.INI";
    std::ofstream(task, std::ios::binary) << "07 IN USO" << std::string(91, ' ') << "\r\n";
    QSignalSpy ended(&window, &vx::app::FRMBANCNEW::programEnded);

    if (uscita) QTest::mouseClick(fresh.Find<QToolButton>("CmdUscita"), Qt::LeftButton);
    else window.close();

    ASSERT_EQ(ended.count(), 1) << uscita;
    EXPECT_EQ(ended.at(0).at(0).toInt(), 0);
    EXPECT_EQ(window.Ended(), 0);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(ReadWholeFile(task), "07" + std::string(98, ' ') + "\r\n");
  }
}

TEST_F(Window, WithoutAnExtractionTheProgramEndsBeforeTheWindowIsShown) {
  SmallInstallation();
  world.builder.SetNoExtraction();
  vx::app::FRMBANCNEW& window = world.Open();
  std::ofstream(TaskFile(), std::ios::binary) << "01 IN USO\r\n";

  EXPECT_FALSE(window.Form_Load());
  EXPECT_EQ(window.Ended(), 1);
  EXPECT_FALSE(window.isVisible());
  ASSERT_EQ(world.boxes.shown.size(), 1u);
  EXPECT_EQ(world.boxes.shown[0].title, "Stampa Pagamento in C/C");
  EXPECT_EQ(world.boxes.shown[0].text, "Attenzione: Non esiste estrazione anno corrente");
  EXPECT_EQ(world.boxes.shown[0].icon, Icon::Critical);
  EXPECT_EQ(world.boxes.shown[0].buttons, vx::platform::Buttons::Ok);
  EXPECT_EQ(ReadWholeFile(TaskFile()), "01" + std::string(98, ' ') + "\r\n");
}

TEST_F(Window, DuringARunTheWindowDropsInputAndShowsTheWaitCursor) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();
  auto* uscita = world.Find<QToolButton>("CmdUscita");
  QSignalSpy clicked(uscita, &QToolButton::clicked);
  {
    vx::app::InputGuard guard(&window);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    QTest::mouseClick(uscita, Qt::LeftButton);
    QTest::keyClick(world.Find<QLineEdit>("txtDescrizione"), Qt::Key_A);
    window.close();
    guard.KeepPainting();
    EXPECT_GE(guard.Dropped(), 4);
  }
  EXPECT_EQ(clicked.count(), 0);
  EXPECT_EQ(world.Find<QLineEdit>("txtDescrizione")->text(), "");
  EXPECT_FALSE(window.Ended());
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  // Afterwards the window listens again.
  QTest::keyClick(world.Find<QLineEdit>("txtDescrizione"), Qt::Key_A);
  EXPECT_EQ(world.Find<QLineEdit>("txtDescrizione")->text(), "a");
}

TEST_F(Window, RunWaitingForLockedArchivesSaysSoAndCanBeCancelled) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();
  vx::platform::Files other{vx::platform::WinePrefix(world.Prefix())};
  other.OpenBinary(1, "C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT", vx::platform::Access::ExclusiveLock);
  auto* status = world.Find<QFrame>("FrameAttesa");
  QString said;
  int ticks = 0;
  QTimer operator_;
  QObject::connect(&operator_, &QTimer::timeout, [&] {
    if (++ticks == 100) other.Close(1);  // the cancel did not work: let the run end, and the test fail
    if (!status->isVisible()) return;
    said = world.Find<QLabel>("LabelAttesa")->text();
    QTest::mouseClick(world.Find<QPushButton>("CmdAnnulla"), Qt::LeftButton);
  });
  operator_.start(100);
  window.CmdStampa_Click();
  operator_.stop();

  EXPECT_EQ(said, U("Gli archivi paghe sono bloccati da un altro programma (C:\\PVXPAGHE\\ARCHIVI\\SLSEMA.DAT): "
                    "la stampa attende che si liberino."));
  ASSERT_FALSE(world.boxes.shown.empty());
  EXPECT_TRUE(world.boxes.shown.back().text.starts_with("Stampa annullata")) << world.boxes.shown.back().text;
  EXPECT_FALSE(status->isVisible());
  EXPECT_FALSE(window.Running());
  EXPECT_FALSE(window.Ended());
  EXPECT_FALSE(fs::exists(vx::testing::ArchivesOf(world.Prefix()) / "BONI001B0.TXT"));
  EXPECT_LT(ticks, 100);
}

TEST_F(Window, RunReportFollowsTheRunAsATableToSortAndCopy) {
  SmallInstallation();
  // Paid this month, without an account.
  for (const char* code : {"0010010001", "0020010002"}) {
    world.builder.Employee(code)
        .SetText(vx::archive::fields::kEmployeePaymentDate, "27112025")
        .SetNumber(vx::archive::fields::kEmployeeNetPay, 100000);
  }
  vx::app::FRMBANCNEW& window = Started();
  QTest::mouseClick(world.Find<QToolButton>("CmdStampa"), Qt::LeftButton);
  auto* dialog = window.findChild<vx::app::RunReportDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  auto* table = dialog->findChild<QTableWidget*>("RunReportTable");
  ASSERT_EQ(table->rowCount(), 2);

  table->sortByColumn(3, Qt::DescendingOrder);
  table->selectRow(0);
  const QString header = U("Gravit\xC3\xA0\tArgomento\tDitta\tDipendente\tCognome e nome\tCampo\tValore\tProblema\n");
  EXPECT_EQ(dialog->SelectedText(),
            header + "Errore\tCoordinate\t002\t0020010002\tVERDI ANNA\tConto corrente\t\tconto corrente mancante\n");
  QApplication::clipboard()->clear();
  QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), dialog->SelectedText());
  // Read whole, in the operator's language: no message behind a sideways
  // scroll bar, the selected one in full below, Qt's own buttons in Italian.
  EXPECT_EQ(table->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  EXPECT_TRUE(table->wordWrap());
  table->setCurrentCell(1, 0);
  EXPECT_EQ(dialog->DetailsText(), U("Gravit\xC3\xA0: Errore\nArgomento: Coordinate\nDitta: 001\nDipendente: 0010010001\n"
                                     "Cognome e nome: ROSSI MARIO\nCampo: Conto corrente\nProblema: conto corrente mancante"));
  EXPECT_EQ(dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->text(), "Chiudi");

  // The next run's report replaces this one.
  QTest::mouseClick(world.Find<QToolButton>("CmdStampa"), Qt::LeftButton);
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(window.findChildren<vx::app::RunReportDialog*>().size(), 1);
}

// A month already paid with other salaries: the window asks before paying
// it again, says what each file pays, and writes a new file only on "Si".
TEST_F(Window, AMonthPaidWithOtherSalariesIsPaidAgainOnlyWhenTheOperatorSaysSo) {
  vx::demo::DemoOptions demo;
  demo.companies = 2;
  demo.employees = 12;
  demo.seed = 5;
  vx::demo::PopulateDemo(world.builder, demo);
  vx::app::FRMBANCNEW& window = Started();
  const fs::path transfers = vx::testing::ArchivesOf(world.Prefix()).parent_path() / "FILE-BONIFICI";
  const auto sql = [&](const std::string& query) {
    return vx::testing::Shell("sqlite3 " + vx::testing::Quote(transfers / vx::reg::kRegisterName) + " " +
                              vx::testing::Quote(query)).output;
  };
  world.Find<QComboBox>("ComboBonifici")->setCurrentIndex(1);
  QTest::mouseClick(world.Find<QRadioButton>("OptStampante_1"), Qt::LeftButton);
  const auto run = [&] {
    world.boxes.shown.clear();
    QTest::mouseClick(world.Find<QToolButton>("CmdStampa"), Qt::LeftButton);
  };
  run();
  const std::string company = sql("SELECT company FROM files ORDER BY id LIMIT 1");
  ASSERT_EQ(company.size(), 4u) << sql("SELECT * FROM files");
  const std::string name = "CBI_" + company.substr(0, 3) + "_B0_";
  // The register now says the first file paid its first salary 1.00 less.
  sql("UPDATE transactions SET cents = cents - 100 WHERE id = (SELECT min(id) FROM transactions)");
  const std::string files = sql("SELECT file_name FROM files ORDER BY id");

  // Every run begins with the notice of the BONI files.
  const auto questions = [&] {
    std::vector<vx::platform::MessageBox> asked;
    for (const auto& box : world.boxes.shown) {
      if (box.buttons == vx::platform::Buttons::YesNo) asked.push_back(box);
    }
    return asked;
  };
  world.boxes.Queue(vx::platform::Answer::Ok);
  world.boxes.Queue(vx::platform::Answer::No);
  run();
  ASSERT_EQ(questions().size(), 1u);
  const vx::platform::MessageBox question = questions()[0];
  EXPECT_EQ(question.icon, Icon::Warning);
  EXPECT_EQ(question.text.substr(0, 13), "La ditta " + company.substr(0, 3) + " ");
  EXPECT_NE(question.text.find("Scrivere comunque un nuovo file?"), std::string::npos) << question.text;
  EXPECT_EQ(sql("SELECT file_name FROM files ORDER BY id"), files);
  auto* dialog = window.findChild<vx::app::RunReportDialog*>();
  ASSERT_NE(dialog, nullptr);
  auto* table = dialog->findChild<QTableWidget*>("RunReportTable");
  bool refused = false;
  for (int row = 0; row < table->rowCount(); ++row) {
    refused |= table->item(row, 7)->text().endsWith("nessun file dei bonifici, per non pagare due volte");
  }
  EXPECT_TRUE(refused);

  // New identifiers carry the second of the run.
  std::this_thread::sleep_for(std::chrono::milliseconds(1100));
  world.boxes.Queue(vx::platform::Answer::Ok);
  world.boxes.Queue(vx::platform::Answer::Yes);
  run();
  EXPECT_EQ(questions().size(), 1u);
  EXPECT_TRUE(fs::exists(transfers / (name + "2025-11_2.xml"))) << sql("SELECT file_name FROM files");
  EXPECT_EQ(sql("SELECT count(*) FROM files WHERE state = 'written'"), "3\n");
}

TEST_F(Window, EsitiBancaReadsTheChosenAnswersIntoTheReportDialog) {
  SmallInstallation();
  vx::app::FRMBANCNEW& window = Started();
  const fs::path transfers = vx::testing::ArchivesOf(world.Prefix()).parent_path() / "FILE-BONIFICI";
  fs::create_directories(transfers);
  {
    vx::reg::TransferRegister r(transfers);
    vx::reg::NewFile f;
    f.company = "001", f.year = 2025, f.month = 11, f.message_id = "STIP-1", f.payment_info_id = "STIP-1-1";
    f.file_name = "CBI_001_B0_2025-11.xml", f.sha256 = "0", f.execution_date = *vx::transfer::ParseIsoDate("2025-11-28");
    f.transactions = {{"0010010001", "ROSSI MARIO", "IT60X0542811101000000123456", 150000, "E2E-1", "1"},
                      {"0010010002", "VERDI ANNA", "IT60X0542811101000000654321", 90000, "E2E-2", "2"}};
    r.FileWritten(r.BeginFile(f));
  }
  const fs::path answer = world.Prefix().parent_path() / "esito.xml";
  std::ofstream(answer) << vx::testing::AnswerXml(
      {"ESITO-1", "2025-11-28T10:15:00", "STIP-1", "PART", "", {{"", "", "", {{"E2E-2", "", "RJCT", "AC06"}}}}},
      vx::testing::AnswerFlavour::Cbi);
  window.SetBankReportChooser([&] { return QStringList{QString::fromStdString(answer.string())}; });
  auto* button = world.Find<QPushButton>("CmdEsitiBanca");
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), U("Esiti banca\xE2\x80\xA6"));
  EXPECT_EQ(button->parentWidget()->objectName(), "FrameBonifici");
  QTest::mouseClick(button, Qt::LeftButton);
  auto* dialog = window.findChild<vx::app::RunReportDialog*>();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "Esiti della banca");
  auto* table = dialog->findChild<QTableWidget*>("RunReportTable");
  ASSERT_EQ(table->rowCount(), 2);
  table->sortByColumn(3, Qt::DescendingOrder);
  table->selectRow(0);
  EXPECT_EQ(dialog->SelectedText().section('\n', 1, 1).toStdString(),
            "Errore\tEsiti banca\t001\t0010010002\tVERDI ANNA\tIBAN\tIT60X0542811101000000654321\t"
            "bonifico di 900.00 respinto dalla banca: conto bloccato (AC06)");
  EXPECT_EQ(vx::testing::Shell("sqlite3 " + vx::testing::Quote(transfers / vx::reg::kRegisterName) +
                               " 'SELECT status FROM statuses'").output,
            "RJCT\n");
}

}  // namespace
