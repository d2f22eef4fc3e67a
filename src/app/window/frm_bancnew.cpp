#include "app/window/frm_bancnew.h"

#include <exception>

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QDate>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFont>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSettings>
#include <QToolButton>

#include "app/bank_reports.h"
#include "app/register_folder.h"
#include "app/run.h"
#include "app/start_up.h"
#include "app/window/cp1252_validator.h"
#include "app/window/input_guard.h"
#include "app/window/run_report_dialog.h"
#include "app/window/svg_icon.h"
#include "app/window/transfer_strip.h"
#include "app/window/twips.h"
#include "app/window/wrapping_check_box.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/message_box.h"

namespace vx::app {

namespace {

QString Q(const std::string& cp1252) { return QString::fromStdString(vx::platform::Cp1252ToUtf8(cp1252)); }
std::string Cp(const QString& text) { return vx::platform::Utf8ToCp1252(text.toStdString()); }

// The user's choices the window keeps from one session to the next.
QSettings RememberedSettings() { return QSettings(QStringLiteral("vxorel"), QStringLiteral("vxorel")); }

// The window's size as designed, frame and title bar included.
constexpr int kWindowWidthTwips = 11760;
constexpr int kWindowHeightTwips = 7230;
// The part of that size the window system's frame takes: a 4-pixel border
// on every side and a 26-pixel title bar at 96 dpi. The rest is the client
// area the frames are laid out in.
constexpr int kBorderTwips = 60;
constexpr int kTitleBarTwips = 390;
// The strip of the bank transfer files, added under the design's controls:
// the window grows by its height and nothing above it moves.
constexpr int kTransferStripTwips = 420;

// Fonts as designed: 8-point captions in the system's sans-serif face, the
// lists and the bank box in a fixed-pitch face so that their columns line up.
QFont SansSerif() {
  QFont font(QStringLiteral("Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

QFont CourierNew() {
  QFont font(QStringLiteral("Courier New"), 8);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  return font;
}

}  // namespace

FRMBANCNEW::FRMBANCNEW(vx::archive::PayrollArchives& archives, vx::output::Output& output,
                       vx::platform::MessageBoxes& boxes, QWidget* parent)
    : QWidget(parent), archives_(archives), output_(output), boxes_(boxes), list_(archives, form_) {
  setObjectName(QStringLiteral("FRMBANCNEW"));
  setWindowTitle(Q(kCaptionFinestra));
  setWindowIcon(ShippedIcon(QStringLiteral("vxorel"), 32));
  if (const QScreen* s = screen()) dpi_ = s->logicalDotsPerInch();
  setFont(SansSerif());
  BuildControls();
  qApp->installEventFilter(this);
}

FRMBANCNEW::~FRMBANCNEW() { qApp->removeEventFilter(this); }

void FRMBANCNEW::Place(QWidget* control, int left, int top, int width, int height) const {
  control->setGeometry(TwipsRect(left, top, width, height, dpi_));
}

void FRMBANCNEW::BuildControls() {
  auto frame = [this](QWidget* parent, const char* name, int l, int t, int w, int h) {
    auto* box = new QGroupBox(parent);
    box->setObjectName(QLatin1String(name));
    Place(box, l, t, w, h);
    return box;
  };
  auto label = [this](QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
    auto* text = new QLabel(Q(caption), parent);
    text->setObjectName(QLatin1String(name));
    Place(text, l, t, w, h);
    return text;
  };
  auto option = [this](QWidget* parent, const char* name, const char* caption, int l, int t, int w, int h) {
    auto* button = new QRadioButton(Q(caption), parent);
    button->setObjectName(QLatin1String(name));
    Place(button, l, t, w, h);
    return button;
  };
  auto line = [this](QWidget* parent, QFrame::Shape shape, int l, int t, int w, int h) {
    auto* rule = new QFrame(parent);
    rule->setFrameShape(shape);
    rule->setFrameShadow(QFrame::Sunken);
    Place(rule, l, t, w, h);
  };

  FrameSelezione = frame(this, "FrameSelezione", 60, 0, 11550, 6660);
  Label2 = label(FrameSelezione, "Label2", " Stampa Pagamento su c/c", 60, 150, 11415, 285);
  label(FrameSelezione, "LabelDitte", " Elenco Ditte in estrazione che verranno elaborate", 90, 540, 5505, 285);
  QGroupBox* frame_list = frame(FrameSelezione, "FrameDitte", 90, 870, 5505, 5685);
  List1 = new QListWidget(frame_list);
  List1->setObjectName(QStringLiteral("List1"));
  List1->setFont(CourierNew());
  List1->setSelectionMode(QAbstractItemView::SingleSelection);
  Place(List1, 30, 120, 5415, 5490);
  // The working list in which a run sorts one company's employees; never
  // shown. The run keeps it in its own order (letter case ignored), so Qt's
  // own sorting, which heeds case, stays off.
  List2 = new QListWidget(FrameSelezione);
  List2->setObjectName(QStringLiteral("List2"));
  List2->setFont(CourierNew());
  Place(List2, 120, 3330, 5235, 1920);
  List2->hide();

  FrameScelte = frame(FrameSelezione, "FrameScelte", 5640, 450, 5835, 5295);

  QGroupBox* frame_type = frame(FrameScelte, "FrameTipoStampa", 60, 120, 5715, 1785);
  label(frame_type, "LabelTipoStampa", " Dettagli Tipo di Stampa", 60, 180, 5565, 285);
  OptStampa[1] = option(frame_type, "OptStampa_1", "Stampa Semplificata (elenco)", 60, 510, 3405, 270);
  OptStampa[0] = option(frame_type, "OptStampa_0", "Stampa Dettagliata", 60, 780, 2385, 270);
  line(frame_type, QFrame::HLine, 60, 1080 - 15, 5550 - 60, 30);
  ChkTotali = new QCheckBox(Q("Stampa con Totali per Banca"), frame_type);
  ChkTotali->setObjectName(QStringLiteral("ChkTotali"));
  Place(ChkTotali, 90, 1170, 3405, 225);
  ChkGrassetto = new WrappingCheckBox(Q("Stampa tutto in grassetto"), frame_type);
  ChkGrassetto->setObjectName(QStringLiteral("ChkGrassetto"));
  Place(ChkGrassetto, 3720, 1170, 1635, 465);
  chkSepara = new QCheckBox(Q("Separa Banche per pagine"), frame_type);
  chkSepara->setObjectName(QStringLiteral("chkSepara"));
  Place(chkSepara, 90, 1440, 3195, 225);
  line(frame_type, QFrame::VLine, 3510 - 15, 1140, 30, 1710 - 1140);

  QGroupBox* frame_bank = frame(FrameScelte, "FrameBanca", 60, 1800, 5715, 885);
  label(frame_bank, "LabelBanca", " Filtro in base alla Banca selezionata nel dipendente", 60, 180, 5565, 285);
  Combo1 = new QComboBox(frame_bank);
  Combo1->setObjectName(QStringLiteral("Combo1"));
  Combo1->setFont(CourierNew());
  for (const std::string& item : kCombo1Items) Combo1->addItem(Q(item));
  Place(Combo1, 60, 480, 5595, 330);

  QGroupBox* frame_sort = frame(FrameScelte, "FrameOrdinamento", 60, 2580, 3225, 1095);
  label(frame_sort, "LabelOrdinamento", " Ordinamento Stampa", 60, 180, 3105, 285);
  OptSort[0] = option(frame_sort, "OptSort_0", "Per Codice", 90, 510, 1695, 270);
  OptSort[1] = option(frame_sort, "OptSort_1", "Per Cognome Nome", 90, 780, 2475, 270);

  QGroupBox* frame_output = frame(FrameScelte, "FrameOpzioni", 3300, 2580, 2475, 1095);
  label(frame_output, "LabelOpzioni", " Opzioni di Stampa", 30, 180, 2385, 285);
  OptStampante[0] = option(frame_output, "OptStampante_0", "Stampa Laser", 90, 510, 2115, 270);
  OptStampante[1] = option(frame_output, "OptStampante_1", "Crea PDF", 90, 780, 1665, 270);
  // Beside "Crea PDF", in the room its caption leaves: AES-256 instead of
  // 40-bit RC4 for the files that get passwords. Kept between sessions.
  chkAES256 = new QCheckBox(Q("AES"), frame_output);
  chkAES256->setObjectName(QStringLiteral("chkAES256"));
  chkAES256->setToolTip(Q("Protegge i PDF con AES-256 invece che con RC4 a 40 bit (lettori recenti)"));
  Place(chkAES256, 1560, 780, 870, 270);

  QGroupBox* frame_text = frame(FrameScelte, "FrameDescrizione", 60, 3570, 5715, 885);
  label(frame_text, "LabelDescrizione", " Descrizione Max 30 crt. ( Facoltativa )", 60, 180, 5565, 285);
  txtDescrizione = new QLineEdit(frame_text);
  txtDescrizione->setObjectName(QStringLiteral("txtDescrizione"));
  txtDescrizione->setMaxLength(static_cast<int>(kDescrizioneMax));
  txtDescrizione->setValidator(new Cp1252Validator(txtDescrizione));
  Place(txtDescrizione, 60, 480, 5565, 315);

  QGroupBox* frame_period = frame(FrameScelte, "FramePeriodo", 60, 4350, 5715, 885);
  label(frame_period, "LabelPeriodo", " Mese e Anno Pagamento", 60, 180, 5565, 285);
  ComboMese = new QComboBox(frame_period);
  ComboMese->setObjectName(QStringLiteral("ComboMese"));
  ComboMese->setEditable(true);
  ComboMese->setInsertPolicy(QComboBox::NoInsert);
  for (const std::string& item : kComboMeseItems) ComboMese->addItem(Q(item));
  ComboMese->setCurrentIndex(-1);
  Place(ComboMese, 60, 510, 3735, 315);
  ComboAnno = new QComboBox(frame_period);
  ComboAnno->setObjectName(QStringLiteral("ComboAnno"));
  ComboAnno->setEditable(true);
  ComboAnno->setInsertPolicy(QComboBox::NoInsert);
  Place(ComboAnno, 3840, 510, 1785, 315);

  auto command = [this](const char* name, const char* caption, const char* picture, int l, int t, int w, int h) {
    auto* button = new QToolButton(FrameSelezione);
    button->setObjectName(QLatin1String(name));
    button->setText(Q(caption));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    // A 32-pixel picture at 96 dpi, as large again on a denser screen.
    const int side = TwipsToPixels(480, dpi_);
    button->setIcon(ShippedIcon(QLatin1String(picture), side));
    button->setIconSize(QSize(side, side));
    button->setFocusPolicy(Qt::StrongFocus);
    Place(button, l, t, w, h);
    return button;
  };
  CmdUscita = command("CmdUscita", "&Uscita", "uscita", 5640, 5760, 2895, 825);
  CmdStampa = command("CmdStampa", "Conferma", "conferma", 8580, 5760, 2865, 825);

  transfer_strip_ = new TransferStrip(QDate::currentDate(), this);
  Place(transfer_strip_, 60, kWindowHeightTwips - 2 * kBorderTwips - kTitleBarTwips, 11550, kTransferStripTwips - 60);

  FrameAttesa = new QFrame(FrameSelezione);
  FrameAttesa->setObjectName(QStringLiteral("FrameAttesa"));
  FrameAttesa->setFrameShape(QFrame::Panel);
  FrameAttesa->setFrameShadow(QFrame::Sunken);
  FrameAttesa->setAutoFillBackground(true);
  Place(FrameAttesa, 5640, 5760, 5805, 825);
  LabelAttesa = new QLabel(FrameAttesa);
  LabelAttesa->setObjectName(QStringLiteral("LabelAttesa"));
  LabelAttesa->setWordWrap(true);
  Place(LabelAttesa, 60, 45, 4245, 735);
  CmdAnnulla = new QPushButton(Q("Annulla"), FrameAttesa);
  CmdAnnulla->setObjectName(QStringLiteral("CmdAnnulla"));
  Place(CmdAnnulla, 4380, 195, 1335, 435);
  connect(CmdAnnulla, &QPushButton::clicked, this, [this] { annulla_ = true; });
  FrameAttesa->hide();

  // Each frame's option buttons exclude each other, as the design groups them.
  for (auto* group : {&OptStampa, &OptSort, &OptStampante}) {
    auto* exclusive = new QButtonGroup(this);
    exclusive->addButton((*group)[0]);
    exclusive->addButton((*group)[1]);
  }
  OptSort[0]->setChecked(true);
  OptStampante[0]->setChecked(true);

  // An option's Click comes when it becomes selected; clicking the one
  // already selected changes nothing, so it must not undo an interlock.
  for (int index : {0, 1}) {
    connect(OptStampa[static_cast<size_t>(index)], &QRadioButton::toggled, this, [this, index](bool on) {
      if (on) OptStampa_Click(index);
    });
  }
  connect(chkSepara, &QCheckBox::toggled, this, [this] { chkSepara_Click(); });
  chkAES256->setChecked(RememberedSettings().value(QStringLiteral("pdf/aes256"), false).toBool());
  chkAES256->setEnabled(false);
  connect(OptStampante[1], &QRadioButton::toggled, chkAES256, &QCheckBox::setEnabled);
  connect(chkAES256, &QCheckBox::toggled, this,
          [](bool on) { RememberedSettings().setValue(QStringLiteral("pdf/aes256"), on); });
  connect(CmdStampa, &QToolButton::clicked, this, &FRMBANCNEW::CmdStampa_Click);
  connect(CmdUscita, &QToolButton::clicked, this, &FRMBANCNEW::CmdUscita_Click);
  connect(transfer_strip_, &TransferStrip::bankReportsRequested, this, &FRMBANCNEW::CmdEsitiBanca_Click);
}

void FRMBANCNEW::OptStampa_Click(int index) {
  if (index != 0) {
    chkSepara->setChecked(false);
    chkSepara->setEnabled(false);
    ChkTotali->setChecked(false);
    ChkTotali->setEnabled(false);
  } else {
    chkSepara->setEnabled(true);
    ChkTotali->setEnabled(true);
  }
}

void FRMBANCNEW::chkSepara_Click() {
  if (chkSepara->isChecked()) {
    ChkTotali->setChecked(true);
    ChkTotali->setEnabled(false);
  } else {
    ChkTotali->setEnabled(true);
  }
}

void FRMBANCNEW::PlaceWindow() {
  setFixedSize(TwipsToPixels(kWindowWidthTwips - 2 * kBorderTwips, dpi_),
               TwipsToPixels(kWindowHeightTwips - 2 * kBorderTwips - kTitleBarTwips + kTransferStripTwips, dpi_));
  if (const QScreen* s = screen()) {
    const QRect area = s->geometry();
    const int width = TwipsToPixels(kWindowWidthTwips, dpi_);
    const int height = TwipsToPixels(kWindowHeightTwips + kTransferStripTwips, dpi_);
    move(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2);
  }
}

template <typename Step>
void FRMBANCNEW::Guarded(Step&& step) {
  try {
    step();
  } catch (const vx::platform::ProgramEnd& end) {
    End(end.status);
  } catch (const std::exception& error) {
    // Nothing below knew what to do with it: say so rather than leave the
    // operator with a window in an unknown state.
    vx::platform::MessageBox box;
    box.title = kCaptionFinestra;
    box.text = "Errore imprevisto: " + vx::platform::Utf8ToCp1252(error.what()) +
               "\r\nIl programma viene chiuso.";
    box.icon = vx::platform::Icon::Critical;
    boxes_.Show(box);
    End(1);
  }
}

void FRMBANCNEW::End(int status) {
  archives_.Files().CloseAll();
  if (!ended_) ended_ = status;
  hide();
  emit programEnded(*ended_);
}

bool FRMBANCNEW::Form_Load() {
  bool ready = false;
  Guarded([&] {
    OptStampa[1]->setChecked(true);
    PlaceWindow();
    if (!CaricaFinestra(archives_, list_, form_)) {
      // No extraction for the current year: the window is never shown and
      // the program leaves through its exit, which still hands the
      // terminal back. Ending for want of data is not a success.
      ended_ = 1;
      CmdUscita_Click();
      return;
    }
    for (int year = 1; year <= 200; ++year) {
      const std::string digits = "000" + std::to_string(year);
      ComboAnno->addItem(Q("2" + digits.substr(digits.size() - 3)));
    }
    const RunControls design = RunControls::AfterStartUp(form_.DataPaghe);
    const int year = ComboAnno->findText(Q(design.ComboAnno));
    if (year >= 0) ComboAnno->setCurrentIndex(year);
    else ComboAnno->setEditText(Q(design.ComboAnno));
    // A payroll month that is not 1..12 leaves the month box as designed.
    if (!design.ComboMese.empty()) ComboMese->setCurrentIndex(ComboMese->findText(Q(design.ComboMese)));
    PULISCICAMPI();
    IMPOSTAZIONI_INIZIALI();
    run_ = std::make_unique<PaymentRun>(archives_, output_, boxes_, form_.List1, form_.ElencoEstrazione,
                                        form_.DataPaghe);
    ready = true;
  });
  return ready && !ended_;
}

void FRMBANCNEW::IMPOSTAZIONI_INIZIALI() {
  FrameSelezione->setTitle(QString());
  Place(FrameSelezione, 60, 0, 11550, 6690);
  FrameSelezione->show();
  FrameScelte->setTitle(QString());
  Place(FrameScelte, 5640, 450, 5835, 5295);
  List1->clear();
  List2->clear();
  Combo1->setCurrentIndex(0);
  ImpostazioniIniziali(list_, [this] { output_.LEGGISTAMPANTESTD(); });
  for (const std::string& line : form_.List1) List1->addItem(Q(line));
}

RunControls FRMBANCNEW::ControlsNow() const {
  RunControls c;
  c.ComboMese = Cp(ComboMese->currentText());
  c.ComboAnno = Cp(ComboAnno->currentText());
  c.OptStampaDettagliata = OptStampa[0]->isChecked();
  c.OptStampaSemplificata = OptStampa[1]->isChecked();
  c.ChkTotali = ChkTotali->isChecked();
  c.ChkTotaliEnabled = ChkTotali->isEnabled();
  c.chkSepara = chkSepara->isChecked();
  c.chkSeparaEnabled = chkSepara->isEnabled();
  // Read at every row: the box counts as it stands when the row is drawn.
  c.ChkGrassetto = [box = ChkGrassetto] { return box->isChecked(); };
  c.Combo1 = Cp(Combo1->currentText());
  c.OptSortPerCodice = OptSort[0]->isChecked();
  c.OptSortPerCognomeNome = OptSort[1]->isChecked();
  c.OptStampanteLaser = OptStampante[0]->isChecked();
  c.OptStampantePDF = OptStampante[1]->isChecked();
  c.chkAES256 = chkAES256->isChecked();
  c.SetDescrizione(Cp(txtDescrizione->text()));
  return c;
}

void FRMBANCNEW::CmdStampa_Click() {
  if (!run_ || Running() || ended_) return;
  InputGuard guard(this);
  guard_ = &guard;
  Guarded([&] {
    RunControls controls = ControlsNow();
    // The company being processed is selected and shown as the run reaches it.
    controls.SelectList1 = [this, &guard](int index) {
      List1->setCurrentRow(index);
      if (QListWidgetItem* item = List1->item(index)) List1->scrollToItem(item);
      guard.KeepPainting();
    };
    PassHooks hooks;
    hooks.AfterCompany = [this, &guard](const std::string&, int) {
      List2->clear();
      for (int i = 0; i < run_->passes.List2.ListCount(); ++i) List2->addItem(Q(run_->passes.List2.List(i)));
      guard.KeepPainting();
    };
    run_->transfer = transfer_strip_->Choice();
    // A month already paid with other salaries is paid again only when the
    // operator says so, knowing what each file pays.
    run_->transfer.confirm_again = [this](const std::string& question) {
      vx::platform::MessageBox box;
      box.title = kCaptionFinestra;
      box.text = question;
      box.buttons = vx::platform::Buttons::YesNo;
      box.icon = vx::platform::Icon::Warning;
      box.unattended = vx::platform::Answer::No;
      return boxes_.Show(box) == vx::platform::Answer::Yes;
    };
    // The last run's report goes when the next run starts.
    if (report_dialog_) report_dialog_->close();
    // The run waits in this thread while another program holds the
    // archives: the window keeps painting, and after a while says what it
    // waits for and offers to give the run up.
    annulla_ = false;
    vx::archive::SemaphoreWait wait;
    wait.waiting = [this, &guard](const std::string& path) {
      LabelAttesa->setText(Q(ArchivesLockedText(path)));
      FrameAttesa->show();
      FrameAttesa->raise();
      guard.Allow(CmdAnnulla);
      guard.KeepPainting();
    };
    wait.taken = [this, &guard] {
      FrameAttesa->hide();
      guard.Allow(nullptr);
    };
    wait.keep_waiting = [this, &guard] {
      guard.KeepPainting();
      return !annulla_;
    };
    // The register of transfer files is waited for in the same way.
    run_->transfer.register_wait.waiting = [this, &guard](const std::string& path) {
      LabelAttesa->setText(Q(RegisterLockedText(path)));
      FrameAttesa->show();
      FrameAttesa->raise();
      guard.Allow(CmdAnnulla);
      guard.KeepPainting();
    };
    run_->transfer.register_wait.taken = wait.taken;
    run_->transfer.register_wait.keep_waiting = wait.keep_waiting;
    archives_.SetSemaphoreWait(std::move(wait));
    try {
      run_->CmdStampa_Click(controls, hooks);
    } catch (...) {
      EndWaiting(guard);
      throw;
    }
    EndWaiting(guard);
  });
  guard_ = nullptr;
  // After the run's own messages, what the operator must know of it.
  if (run_ && !ended_) report_dialog_ = ShowRunReport(run_->run_report, this);
}

void FRMBANCNEW::CmdEsitiBanca_Click() {
  if (!run_ || Running() || ended_) return;
  QStringList chosen;
  if (choose_bank_reports_) {
    chosen = choose_bank_reports_();
  } else {
    // The dialog opens where the last reports were found.
    const QString folder = RememberedSettings().value(QStringLiteral("esiti/cartella")).toString();
    chosen = QFileDialog::getOpenFileNames(this, QString::fromUtf8(kTitoloEsiti), folder,
                                           QStringLiteral("Esiti della banca (*.xml *.XML);;Tutti i file (*)"));
    if (!chosen.isEmpty()) {
      RememberedSettings().setValue(QStringLiteral("esiti/cartella"), QFileInfo(chosen.front()).absolutePath());
    }
  }
  if (chosen.isEmpty()) return;
  std::vector<std::filesystem::path> files;
  for (const QString& file : chosen) files.emplace_back(file.toStdString());

  RunReport report;
  {
    InputGuard guard(this);
    guard_ = &guard;
    // Another program writing the register: said, and the operator may give up.
    annulla_ = false;
    vx::reg::BusyWait wait;
    wait.waiting = [this, &guard](const std::string& path) {
      LabelAttesa->setText(QString::fromStdString("Registro dei file dei bonifici " + path +
                                                  " in uso da un altro programma: attendo."));
      FrameAttesa->show();
      FrameAttesa->raise();
      guard.Allow(CmdAnnulla);
      guard.KeepPainting();
    };
    wait.keep_waiting = [this, &guard] {
      guard.KeepPainting();
      return !annulla_;
    };
    try {
      ReadBankReports(files, TransferFolderOnHost(archives_.Prefix(), archives_.state.PERCORSOARCHIVI), report,
                      std::move(wait));
    } catch (const vx::reg::RegisterError& error) {
      ReportEntry entry;
      entry.topic = kTopicEsiti;
      entry.field = vx::platform::Utf8ToCp1252(error.path);
      const auto* busy = dynamic_cast<const vx::reg::RegisterBusy*>(&error);
      entry.message = (busy ? std::string("attesa del registro annullata") : vx::platform::Utf8ToCp1252(error.message)) +
                      ": esiti non letti, salvo quelli elencati sopra";
      report.Add(std::move(entry));
    }
    FrameAttesa->hide();
    guard.Allow(nullptr);
    guard_ = nullptr;
  }
  if (report_dialog_) report_dialog_->close();
  report_dialog_ = ShowRunReport(report, this, kTitoloEsiti);
}

void FRMBANCNEW::EndWaiting(InputGuard& guard) {
  archives_.SetSemaphoreWait({});
  FrameAttesa->hide();
  guard.Allow(nullptr);
}

void FRMBANCNEW::CmdUscita_Click() {
  if (Running()) return;
  Guarded([this] {
    archives_.CHIUDI(0);
    archives_.CHIUDIPROGRAMMA();
  });
}

void FRMBANCNEW::closeEvent(QCloseEvent* event) {
  if (ended_) {
    event->accept();
    return;
  }
  // Not while a run is in progress: the run finishes first.
  event->ignore();
  if (!Running()) CmdUscita_Click();
}

bool FRMBANCNEW::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  const Qt::KeyboardModifiers held =
      key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
  if (key->key() == Qt::Key_P && held == (Qt::ShiftModifier | Qt::ControlModifier)) {
    Guarded([this] { archives_.INFOPROGRAMMA(); });
    return true;
  }
  return false;
}

}  // namespace vx::app
