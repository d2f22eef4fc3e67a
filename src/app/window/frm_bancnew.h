#pragma once
// FRMBANCNEW, the program's one window: the company list of the current
// extraction on the left, the run's options on the right, "Conferma" to run
// the listing and "Uscita" to leave. Every control carries its design name
// as its object name (the option buttons of a group with their index:
// "OptStampa_0", "OptStampa_1"), so that tests and tools find them.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "app/company_list.h"
#include "app/form_state.h"
#include "app/run_controls.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QToolButton;

namespace vx::archive {
class PayrollArchives;
}
namespace vx::output {
class Output;
}
namespace vx::platform {
class MessageBoxes;
}

namespace vx::app {

class InputGuard;
class RunReportDialog;
class TransferStrip;
class PaymentRun;

class FRMBANCNEW : public QWidget {
  Q_OBJECT

 public:
  // The window over an installation's archives and output devices; message
  // boxes go to `boxes`. Nothing is read until Form_Load.
  FRMBANCNEW(vx::archive::PayrollArchives& archives, vx::output::Output& output,
             vx::platform::MessageBoxes& boxes, QWidget* parent = nullptr);
  ~FRMBANCNEW() override;

  // The start-up. True when the window is ready to be shown; false when the
  // program has ended instead (no extraction for the current year, or an
  // error that ends the program): Ended() then holds the exit status.
  bool Form_Load();

  // The exit status once the program has ended, nothing while it goes on.
  std::optional<int> Ended() const { return ended_; }
  // True while "Conferma" is running the listing.
  bool Running() const { return guard_ != nullptr; }

  // The controls as a run reads them now.
  RunControls ControlsNow() const;

  // What asks the operator for the bank's status reports; by default a file
  // dialog. An empty list reads nothing.
  void SetBankReportChooser(std::function<QStringList()> chooser) { choose_bank_reports_ = std::move(chooser); }

 signals:
  // The program has ended with `status`; the event loop should stop.
  void programEnded(int status);

 public slots:
  // "Conferma": one run with the controls as they stand.
  void CmdStampa_Click();
  // "Uscita": closes the archives, hands the terminal back, ends the program.
  void CmdUscita_Click();
  // "Esiti banca...": reads the status reports chosen into the register of
  // transfer files and shows what they say in the report dialog.
  void CmdEsitiBanca_Click();

 protected:
  // Closing the window leaves the program the way "Uscita" does.
  void closeEvent(QCloseEvent* event) override;
  // The window sees every key before its controls: Ctrl+Shift+P shows the
  // program information wherever the focus is.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void IMPOSTAZIONI_INIZIALI();
  void PULISCICAMPI() {}
  void OptStampa_Click(int index);
  void chkSepara_Click();
  void PlaceWindow();
  // Sets a control's geometry from twips on the window's screen.
  void Place(QWidget* control, int left, int top, int width, int height) const;
  // Runs one step of the window's work; the end of the program, or an error
  // nothing below could handle, closes every file and ends it.
  template <typename Step>
  void Guarded(Step&& step);
  void End(int status);
  // Puts the semaphore wait back as it is outside a run, status area hidden.
  void EndWaiting(InputGuard& guard);

  vx::archive::PayrollArchives& archives_;
  vx::output::Output& output_;
  vx::platform::MessageBoxes& boxes_;
  FormState form_;
  CompanyList list_;
  std::unique_ptr<PaymentRun> run_;
  InputGuard* guard_ = nullptr;
  std::optional<int> ended_;
  double dpi_ = 96;
  // The report of the last run, while the operator keeps it open.
  QPointer<RunReportDialog> report_dialog_;
  std::function<QStringList()> choose_bank_reports_;

  QGroupBox* FrameSelezione = nullptr;
  QGroupBox* FrameScelte = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboMese = nullptr;
  QComboBox* ComboAnno = nullptr;
  QComboBox* Combo1 = nullptr;
  std::array<QRadioButton*, 2> OptStampa{};
  std::array<QRadioButton*, 2> OptSort{};
  std::array<QRadioButton*, 2> OptStampante{};
  QCheckBox* chkAES256 = nullptr;
  QCheckBox* ChkGrassetto = nullptr;
  QCheckBox* ChkTotali = nullptr;
  QCheckBox* chkSepara = nullptr;
  QLineEdit* txtDescrizione = nullptr;
  QListWidget* List1 = nullptr;
  QListWidget* List2 = nullptr;
  QToolButton* CmdStampa = nullptr;
  QToolButton* CmdUscita = nullptr;
  TransferStrip* transfer_strip_ = nullptr;
  // The status area, over the command buttons while a run waits for the
  // archives another program has locked: what it waits for, and a button
  // that gives the run up.
  QFrame* FrameAttesa = nullptr;
  QLabel* LabelAttesa = nullptr;
  QPushButton* CmdAnnulla = nullptr;
  bool annulla_ = false;
};

}  // namespace vx::app
