#include "app/passes.h"

#include <unordered_map>

#include "app/boni.h"
#include "app/company_list.h"
#include "app/run_report.h"
#include "app/text_rules.h"
#include "archive/descriptors.h"
#include "archive/number_value.h"
#include "archive/payroll_archives.h"
#include "output/output.h"
#include "pdf/vbpdf.h"
#include "report/listing_state.h"
#include "report/report.h"

namespace vx::app {

namespace f = vx::archive::fields;

namespace {
// Page flow of the three listings, in cm from the top of the page.
constexpr double kSemplificataPrimaRiga = 4.5;
constexpr double kSemplificataLimite = 18.5;
constexpr double kDettagliataPrimaRigaLaser = 4.0;
// The PDF card frames sit 0.25 cm above the text line; the first card of a
// PDF page starts lower so that its top frame clears the header.
constexpr double kDettagliataPrimaRigaPdf = 4.165;
constexpr double kDettagliataLimite = 23.7;
}  // namespace

Passes::Passes(vx::archive::PayrollArchives& archive, vx::output::Output& output, vx::report::Report& report,
               vx::report::ListingState& listing, PassState& state, BoniFile& boni,
               const RunSettings& settings, const RunControls& controls,
               const std::vector<std::string>& List1, const std::vector<std::string>& ElencoEstrazione,
               RunReport& run_report, PassHooks hooks)
    : archive_(archive), output_(output), report_(report), listing_(listing), s_(state), boni_(boni),
      settings_(settings), controls_(controls), List1_(List1), ElencoEstrazione_(ElencoEstrazione),
      run_report_(run_report), hooks_(std::move(hooks)) {}

bool Passes::Leggi(double numero_base, double record) {
  archive_.state.FineFile = archive_.LEGGIREC(numero_base, record);
  return archive_.state.FineFile == 1;
}

double Passes::CercaDipendente(const std::string& codice) {
  // The index is shared with the payroll programs: the search runs under
  // the cross-process semaphore.
  archive_.APRISEMA();
  const double record = archive_.ISAM(kIndiceDipendenti, codice, 2, 0);
  archive_.CHIUDISEMA();
  return record;
}

void Passes::LASERSEMPLIFICATA() {
  listing_.ContoDitta = 0;
  s_.ContoDipendente = 0;
  s_.DipendentiInElenco = 0;
  CicloDitte(Target::Laser, Kind::Semplificata);
}

void Passes::PDFSEMPLIFICATA() {
  listing_.ContoDitta = 0;
  s_.ContoDipendente = 0;
  s_.DipendentiInElenco = 0;
  CicloDitte(Target::Pdf, Kind::Semplificata);
}

void Passes::LASERDETTAGLIATA() { CicloDitte(Target::Laser, Kind::Dettagliata); }

void Passes::PDFDETTAGLIATA() { CicloDitte(Target::Pdf, Kind::Dettagliata); }

void Passes::QualifyOnly(std::function<void()> each_listed) {
  listing_.ContoDitta = 0;
  s_.ContoDipendente = 0;
  s_.DipendentiInElenco = 0;
  each_listed_ = std::move(each_listed);
  CicloDitte(Target::None, Kind::Dettagliata);
}

void Passes::CicloDitte(Target target, Kind kind) {
  for (std::size_t i = 0; i < List1_.size(); ++i) {
    s_.IndiceDitta = static_cast<int16_t>(i);
    if (controls_.SelectList1) controls_.SelectList1(static_cast<int>(i));
    const std::string& riga = List1_[i];
    const std::string c = Left(riga, 3);

    // The chosen slot is taken before the transfer file is named, so that
    // the file always carries the slot its rows belong to.
    listing_.ContoDitta = static_cast<int16_t>(vx::archive::NumericValue(Left(controls_.Combo1, 1)));
    if (hooks_.BeforeCompany) hooks_.BeforeCompany(c);
    const auto pdf_creati = output_.state.PDFCreati;
    if (target != Target::None) boni_.Apri(c, listing_.ContoDitta);
    int qualified = 0;
    try {
      Leggi(kArchivioDitte, vx::archive::NumericValue(c));
      const std::string& ditta = archive_.state.BufferRec[static_cast<std::size_t>(kArchivioDitte)];
      // Read again for the run: the archive may have changed since the list was made.
      if (const auto problem = CompanyRecordProblem(ditta, c)) {
        throw ArchiveDamage{archive_.ArchiveName(kArchivioDitte), {}, *problem};
      }
      archive_.state.RecordRepository["DITX$"] = ditta;

      if (target == Target::Pdf) {
        std::string codice = Mid(archive_.state.RecordRepository["DITX$"], 3, 3);
        output_.CARTELLAPDF(codice, "BANC", settings_.AnnoMesePDF);
        std::string base = "BANC_" + std::to_string(listing_.ContoDitta) +
                           (kind == Kind::Dettagliata ? "_D_" : "_S_");
        if (!Trim(settings_.DescrizioneStampa).empty()) base += Trim(settings_.DescrizioneStampa) + "_";
        output_.state.BaseNomePDF = base;
        output_.CREAPDF(base);
      }

      Candidati(c);

      if (target == Target::None) {
        // Every listing prints the same employees (the simplified one skips
        // only companies without candidates); the order does not matter here.
        for (int i = 0; i < s_.List2.ListCount(); ++i) {
          if (Qualifica(i)) {
            ++qualified;
            each_listed_();
          }
        }
      } else if (kind == Kind::Semplificata) {
        FaseSemplificata(target);
      } else if (settings_.PaginaPerBanca || settings_.TotaliPerBanca) {
        FaseDettBanca(target);
      } else {
        FaseDettNormale(target);
      }
    } catch (const ArchiveDamage& damage) {
      // Only this company's listing is lost: the run goes on with the next
      // company so that its employees are still paid, and the report and
      // the run's status say that this one was not produced.
      DittaDanneggiata(target, c, damage);
      output_.state.PDFCreati = pdf_creati;  // its file no longer counts as made
      continue;
    } catch (...) {
      AbbandonaDitta();
      throw;
    }
    if (hooks_.AfterCompany) hooks_.AfterCompany(riga, target == Target::None ? qualified : boni_.Righe());
  }
}

void Passes::Candidati(const std::string& c) {
  s_.List2.Clear();
  const bool per_nome = controls_.OptSortPerCognomeNome;
  for (std::size_t i = 1; i < ElencoEstrazione_.size(); ++i) {
    const std::string& slot = ElencoEstrazione_[i];
    if (slot.empty()) break;
    if (slot.compare(0, 3, c) != 0) continue;
    // An employee of the extraction is in the archive under his number;
    // a record missing, or one carrying another number, means the archive
    // lost him, and a listing without him would leave him unpaid unseen.
    // (A record of another company or sub-company under his number is his,
    // moved since the extraction was made: the qualification decides.)
    const std::string numero = Mid(slot, 7, 4);
    const std::string& archivio = archive_.ArchiveName(kArchivioDipendenti);
    if (Leggi(kArchivioDipendenti, vx::archive::NumericValue(numero))) {
      throw ArchiveDamage{archivio, slot,
                          "il dipendente dell'estrazione (posizione " + std::to_string(i) + ") non ha il record " +
                              numero + (archive_.WholeRecords(kArchivioDipendenti)
                                            ? ", oltre la fine dell'archivio"
                                            : ", oltre la fine dell'archivio troncato")};
    }
    archive_.state.RecordRepository["DIPX$"] = archive_.state.BufferRec[static_cast<std::size_t>(kArchivioDipendenti)];
    const std::string trovato = archive_.RepoR(f::kEmployeeCode, 0);
    if (Mid(trovato, 7, 4) != numero) {
      throw ArchiveDamage{archivio, slot,
                          "il record " + numero + " porta il codice '" + trovato +
                              "' invece di quello del dipendente dell'estrazione (posizione " + std::to_string(i) + ")"};
    }
    s_.ContoDipendente = static_cast<int16_t>(archive_.RepoN(f::kEmployeeBankSlot, 0));
    if (s_.ContoDipendente != listing_.ContoDitta) continue;
    const std::string code = archive_.RepoR(f::kEmployeeCode, 0);
    const std::string surname = archive_.RepoR(f::kEmployeeSurname, 0);
    const std::string name = archive_.RepoR(f::kEmployeeFirstName, 0);
    s_.List2.AddItem(per_nome ? SortLinePerCognomeNome(code, surname, name)
                              : SortLinePerCodice(code, surname, name));
    ++s_.DipendentiInElenco;
  }
}

bool Passes::Qualifica(int index) {
  s_.IndiceDipendente = static_cast<int16_t>(index);
  s_.CodiceDipendente = CodeOfSortLine(s_.List2.List(index));
  s_.RecordDipendente = CercaDipendente(s_.CodiceDipendente);
  const std::string& archivio = archive_.ArchiveName(kArchivioDipendenti);
  const std::string& indice = archive_.ArchiveName(kIndiceDipendenti);
  const std::string numero = vx::archive::NumberText(s_.RecordDipendente);
  if (s_.RecordDipendente == -1) {
    // His record was read when the list was made: an index that does not
    // find him is out of date or damaged, and he would go unpaid unseen.
    throw ArchiveDamage{indice, s_.CodiceDipendente, "l'indice non trova il dipendente, che ha un record nell'archivio"};
  }
  if (Leggi(kArchivioDipendenti, s_.RecordDipendente)) {
    throw ArchiveDamage{archivio, s_.CodiceDipendente,
                        "l'indice " + indice + " indica il record " + numero + ", oltre la fine dell'archivio"};
  }
  archive_.state.RecordRepository["DIPX$"] = archive_.state.BufferRec[static_cast<std::size_t>(kArchivioDipendenti)];
  // The record the index gives must be the one searched for; another
  // employee's record would pay him twice and this one not at all.
  const std::string trovato = archive_.RepoR(f::kEmployeeCode, 0);
  if (Trim(trovato) != s_.CodiceDipendente) {
    throw ArchiveDamage{archivio, s_.CodiceDipendente,
                        "l'indice " + indice + " indica il record " + numero + ", che porta il codice '" +
                            trovato + "'"};
  }

  // The year of the date is not compared: the payment month alone decides.
  if (vx::archive::NumericValue(Mid(archive_.RepoR(f::kEmployeePaymentDate, 0), 3, 2)) != settings_.NumeroMese) return false;
  if (archive_.RepoN(f::kEmployeeCodeP054, 0) == 2) return false;
  if (archive_.RepoR(f::kEmployeeCompanyCode, 0) != archive_.RepoR(f::kCompanyCode, 0)) return false;
  return archive_.RepoN(f::kEmployeePaymentMethod, 0) == 2;
}

std::string Passes::BankKey() {
  return Trim(archive_.RepoR(f::kEmployeeCin, 0)) + Trim(archive_.RepoR(f::kEmployeeAbi, 0)) +
         Right("00000" + Trim(archive_.RepoR(f::kEmployeeCab, 0)), 5);
}

void Passes::FaseSemplificata(Target target) {
  if (target == Target::Laser) output_.printer().SetOrientation(2);
  listing_.NumeroPagina = 1;
  listing_.DipendentiStampati = 0;
  if (s_.DipendentiInElenco == 0) {
    // No candidate yet in this run: the company gets no listing. Its
    // transfer file keeps the header line it was created with, and the PDF
    // begun for it is removed rather than left without its end. Removed, it
    // no longer counts as made: a run whose every company was skipped must
    // not end by naming a folder of PDF files it did not write. (Skipped
    // companies come before the first candidate of the run, so no file
    // made earlier is forgotten.)
    if (target == Target::Pdf) {
      output_.DiscardPDF();
      output_.state.PDFCreati = 0;
    }
    boni_.Chiudi();
    return;
  }
  Testata(target, true);
  listing_.TotaleNetto = 0;
  listing_.RigaCorrente = kSemplificataPrimaRiga;
  for (int i = 0; i < s_.List2.ListCount(); ++i) {
    if (Qualifica(i)) SaltoPaginaERiga(target, true, kSemplificataLimite, kSemplificataPrimaRiga);
  }
  Totali(target, true);
  FineFase(target);
}

void Passes::FaseDettNormale(Target target) {
  const double prima = InizioFaseDettagliata(target);
  for (int i = 0; i < s_.List2.ListCount(); ++i) {
    if (Qualifica(i)) SaltoPaginaERiga(target, false, kDettagliataLimite, prima);
  }
  Totali(target, false);
  FineFase(target);
}

void Passes::FaseDettBanca(Target target) {
  const double prima = InizioFaseDettagliata(target);

  // Every line is qualified once; the qualifying employees' records and
  // bank keys are kept, in list order, and each bank prints its own from
  // memory. The banks come in the order of their first employee, and within
  // a bank the employees keep the list order.
  struct Qualificato {
    std::string record;
    std::string chiave;
  };
  std::vector<Qualificato> qualificati;
  std::unordered_map<std::string, std::vector<std::size_t>> per_chiave;
  s_.ElencoBanche.clear();
  for (int i = 0; i < s_.List2.ListCount(); ++i) {
    if (!Qualifica(i)) continue;
    std::string chiave = BankKey();
    auto [it, nuova] = per_chiave.try_emplace(chiave);
    if (nuova) s_.ElencoBanche.push_back(chiave);
    it->second.push_back(qualificati.size());
    qualificati.push_back({archive_.state.RecordRepository["DIPX$"], std::move(chiave)});
  }
  listing_.NumeroBanche = static_cast<int16_t>(s_.ElencoBanche.size());

  static const std::vector<std::size_t> kNessuno;
  for (std::size_t b = 0; b < s_.ElencoBanche.size(); ++b) {
    listing_.IndiceBanca = static_cast<int16_t>(b + 1);
    // An employee belongs to the bank whose key, trimmed, is his key.
    const auto it = per_chiave.find(Trim(s_.ElencoBanche[b]));
    for (std::size_t q : it == per_chiave.end() ? kNessuno : it->second) {
      archive_.state.RecordRepository["DIPX$"] = qualificati[q].record;
      s_.ChiaveBanca = qualificati[q].chiave;
      SaltoPaginaERiga(target, false, kDettagliataLimite, prima);
    }
    Totali(target, false);
  }
  FineFase(target);
}

// Opens a detailed listing: portrait paper, page 1 with its header, totals
// at zero; gives the position of the first card.
double Passes::InizioFaseDettagliata(Target target) {
  const double prima = target == Target::Laser ? kDettagliataPrimaRigaLaser : kDettagliataPrimaRigaPdf;
  if (target == Target::Laser) output_.printer().SetOrientation(1);
  listing_.NumeroPagina = 1;
  listing_.DipendentiStampati = 0;
  Testata(target, false);
  listing_.TotaleNetto = 0;
  listing_.RigaCorrente = prima;
  return prima;
}

// Ends the company's document and transfer file, and leaves the counters
// ready for the next company. The PDF file is put in place only after the
// transfer file: a company whose transfer file cannot be completed leaves
// no PDF file of this run that looks complete.
void Passes::FineFase(Target target) {
  FineDocumento(target);
  boni_.Chiudi();
  if (target == Target::Pdf) output_.PublishPDF();
  listing_.NumeroPagina = 1;
  listing_.DipendentiStampati = 0;
}

void Passes::SaltoPaginaERiga(Target target, bool semplificata, double limit, double first_row) {
  if (listing_.RigaCorrente > limit) {
    NuovaPagina(target);
    ++listing_.NumeroPagina;
    Testata(target, semplificata);
    listing_.RigaCorrente = first_row;
  }
  ++listing_.DipendentiStampati;
  Riga(target, semplificata);
}

void Passes::Testata(Target target, bool semplificata) {
  stampa_iniziata_ = target == Target::Laser;
  if (target == Target::Laser) report_.TESTATALASER(semplificata);
  else report_.TESTATAPDF(semplificata);
}

void Passes::Riga(Target target, bool semplificata) {
  if (target == Target::Laser) {
    if (semplificata) report_.STAMPASEMPLIFICATALASER();
    else report_.STAMPADETTAGLIATALASER();
  } else {
    if (semplificata) report_.STAMPASEMPLIFICATAPDF();
    else report_.STAMPADETTAGLIATAPDF();
  }
}

void Passes::Totali(Target target, bool semplificata) {
  if (target == Target::Laser) report_.TOTALILASER(semplificata);
  else report_.TOTALIPDF(semplificata);
}

void Passes::NuovaPagina(Target target) {
  if (target == Target::Laser) output_.printer().NewPage();
  else output_.DocumentoPDF().BeginPage();
}

void Passes::FineDocumento(Target target) {
  stampa_iniziata_ = false;
  if (target == Target::Laser) {
    output_.printer().EndDoc();
  } else {
    output_.state.PDFAperto = false;
    output_.FinishPDF();
  }
}

void Passes::AbbandonaDitta() {
  try {
    output_.DiscardPDF();
  } catch (...) {
  }
  try {
    if (boni_.Aperto()) boni_.Scarta();
  } catch (...) {
  }
}

}  // namespace vx::app

namespace vx::app {

void Passes::DittaDanneggiata(Target target, const std::string& company, const ArchiveDamage& damage) {
  AbbandonaDitta();
  const bool stampata = target == Target::Laser && stampa_iniziata_;
  if (stampata) {
    // Pages already printed cannot be taken back: the last one says that
    // the listing is incomplete, so that nobody pays from it.
    try {
      std::string riga = "*** ELENCO INCOMPLETO: ARCHIVI DANNEGGIATI - NON USARE PER I PAGAMENTI ***";
      output_.STAMPATESTO(listing_.RigaCorrente + 0.5, 1, riga);
      FineDocumento(target);
    } catch (const vx::platform::RuntimeError&) {
    }
  }
  stampa_iniziata_ = false;
  listing_.NumeroPagina = 1;
  listing_.DipendentiStampati = 0;
  run_report_.Add({Severity::Error, kTopicArchivi, company, damage.employee, {}, damage.path, {},
                   damage.message + (stampata ? ": la stampa di questa ditta \xE8 incompleta e il suo file BONI "
                                                "non \xE8 stato prodotto"
                                              : ": l'elenco di questa ditta e il suo file BONI non sono stati "
                                                "prodotti")});
}

}  // namespace vx::app
