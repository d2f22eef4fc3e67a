// A company's PDF file: its folder, its name, the document's set-up and
// protection, and its completion.

#include <filesystem>
#include <system_error>

#include "archive/descriptors.h"
#include "archive/payroll_archives.h"
#include "archive/text.h"
#include "output/output.h"
#include "output/pdf_names.h"
#include "pdf/aes256_protection.h"
#include "platform/codepage.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/finished_file.h"

namespace vx::output {

namespace {

namespace fields = vx::archive::fields;

constexpr double kFiscalArchive = 19;
constexpr const char* kAuthor = "Tarvenic Dedudor";
constexpr int32_t kPrintAndCopyOnly = 20;
constexpr int32_t kCentimetres = 3;
constexpr int32_t kA4Portrait = 0;
constexpr int32_t kCentreAndFitWindow = 768;
constexpr int32_t kLzw = 4;
constexpr int kBestQuality = 3;

}  // namespace

void Output::PULISCINOMEFILE(std::string& Nome) { CleanFileName(Nome); }

void Output::CARTELLAPDF(std::string Codice, std::string Tipo, std::string AnnoMese) {
  const std::string anno = AnnoMese.substr(0, 4);
  const std::string mese = AnnoMese.size() > 2 ? AnnoMese.substr(AnnoMese.size() - 2) : AnnoMese;
  const auto& prefix = archive_.Prefix();

  state.CartellaRadicePDF = PdfRoot(archive_.state.PERCORSOARCHIVI, state.CartellaRadicePDF);

  // Each missing level is created on its own; existing ones are left alone.
  auto ensure = [&prefix](const std::string& folder) {
    try {
      if (!vx::platform::DirExists(prefix, folder)) vx::platform::MkDir(prefix, folder);
    } catch (vx::platform::RuntimeError& error) {
      throw error.About(folder, "creazione della cartella dei file PDF");
    }
  };
  std::string folder = state.CartellaRadicePDF + "\\FILE-PDF";
  ensure(folder);
  for (const std::string& level : {Codice, anno, mese}) {
    folder += "\\" + level;
    ensure(folder);
  }
  state.CartellaPDF = folder;
  ensure(state.CartellaPDF + "\\" + Tipo);
  state.CartellaPDF += "\\" + Tipo;
}

// Which of the company's passwords AES-256 protection refused, and why.
PdfPasswordRefused Output::PasswordRefusal(const vx::pdf::PasswordRefused& refused) {
  const std::string code = archive_.RepoR(fields::kCompanyCode, 0);
  std::string text = refused.owner ? "La password del proprietario dei PDF (dati fiscali)"
                                   : "La password PDF della ditta " + code;
  if (refused.prepared.problem == vx::pdf::PasswordProblem::ForbiddenCharacter) {
    text += " contiene un carattere di controllo (codice " +
            std::to_string(int(refused.prepared.character)) + ")";
  } else {
    text += " contiene solo caratteri che non contano (trattini facoltativi)";
  }
  text += ": con la protezione AES-256 nessuno potrebbe aprire il file.\r\n"
          "Correggere la password, oppure creare i PDF con la protezione RC4.";
  return PdfPasswordRefused(text, code);
}

void Output::CREAPDF(std::string Nome) {
  state.PDFCreati = 1;
  state.NomeFilePDF = PdfFileName(Nome, archive_.RepoR(fields::kCompanyCode, 0),
                                  archive_.RepoR(fields::kCompanyName, 0));
  state.FilePDF = state.CartellaPDF + "\\" + state.NomeFilePDF;

  auto& pdf = DocumentoPDF();
  pdf.SetDocProperty("PDF" + Nome, "", kAuthor, archive_.state.RagioneSocialeInst, kAuthor, "");
  pdf.SetScale(kCentimetres, 1.0f);
  pdf.SetPaperSize(kA4Portrait, 0, 0);
  pdf.SetMargins(0, 0, 0, 0, true);
  pdf.SetPageView(0);
  pdf.SetViewerPreferences(kCentreAndFitWindow);
  pdf.SetCompression(kLzw, kBestQuality);

  // The owner password lives in the installation's fiscal record. While that
  // archive is open its buffer is taken as it stands.
  auto& archives = archive_.state;
  if (archives.CanaleFile[static_cast<size_t>(kFiscalArchive)] == 0) {
    // A missing fiscal archive reads as an empty record: no owner password.
    if (archive_.OpenIfPresent(kFiscalArchive)) {
      archives.FineFile = archive_.LEGGIREC(kFiscalArchive, 1);
      archives.RecordRepository["FISX$"] = archives.BufferRec[static_cast<size_t>(kFiscalArchive)];
      archive_.CHIUDI(kFiscalArchive);
    } else {
      archives.RecordRepository["FISX$"].clear();
    }
  }

  // Protected only when both passwords are there: the company's opens the
  // file, the fiscal record's owns it.
  const std::string utente = vx::archive::Trim(archive_.RepoR(fields::kCompanyPdfPassword, 0));
  const std::string proprietario =
      vx::archive::Trim(archive_.RepoR(fields::kFiscalPdfOwnerPassword, 0));
  if (!utente.empty() && !proprietario.empty()) {
    if (state.ProtezioneAES256) {
      try {
        pdf.SetProtectionAES256(proprietario, utente);
      } catch (const vx::pdf::PasswordRefused& refused) {
        throw PasswordRefusal(refused);
      }
    } else {
      pdf.SetProtection(kPrintAndCopyOnly, proprietario, utente);
    }
  }

  // Written under a temporary name beside its own, and put in place only
  // once complete: an earlier file of that name stays until then.
  final_file_ = archive_.Prefix().MapOwnName(state.FilePDF).string();
  begun_company_ = archive_.RepoR(fields::kCompanyCode, 0);
  try {
    vx::platform::CheckReplaceable(archive_.Prefix().Map(state.FilePDF));
  } catch (vx::platform::RuntimeError& error) {
    error.path = state.FilePDF;
    throw error.About({}, "creazione del file PDF");
  }
  // A temporary a killed run left here goes before this one is begun.
  vx::platform::RemoveLeftovers(std::filesystem::path(final_file_).parent_path(),
                                [](std::string_view name) { return name.ends_with(".pdf"); });
  begun_file_ = vx::platform::TemporaryBeside(final_file_).string();
  last_temporary_ = begun_file_;
  pdf.BeginDoc(begun_file_);
  if (pdf.ErrNumber() != 0) {
    throw vx::platform::RuntimeError(pdf.ErrNumber(), pdf.ErrDescription())
        .About(state.FilePDF, "creazione del file PDF");
  }
  state.PDFAperto = true;
  pdf.BeginPage();
}

void Output::CHIUDIPDF() {
  FinishPDF();
  PublishPDF();
}

void Output::FinishPDF() {
  if (!state.DocumentoPDF || !state.DocumentoPDF->IsFileOpen()) {
    // A writer that did not exist, or one on which no document was begun,
    // has nothing to end: closing is always safe and leaves no writer behind.
    state.PDFAperto = false;
    state.DocumentoPDF.reset();
    return;
  }
  try {
    state.DocumentoPDF->EndDoc();
  } catch (...) {
    // A file that could not be completed is not left behind as if it were.
    RemoveUnfinished();
    throw;
  }
  state.PDFAperto = false;
  state.DocumentoPDF.reset();
}

void Output::PublishPDF() {
  if (begun_file_.empty() || state.DocumentoPDF) return;
  try {
    const vx::platform::Replaced replaced = vx::platform::PutInPlace(begun_file_, final_file_);
    begun_file_.clear();
    if (replaced.same_name) PDFSostituiti.push_back({begun_company_, state.FilePDF, {}});
    for (const std::string& name : replaced.other_case)
      PDFSostituiti.push_back({begun_company_, state.FilePDF, vx::platform::Utf8ToCp1252(name)});
  } catch (...) {
    RemoveUnfinished();
    throw;
  }
}

void Output::DiscardPDF() { RemoveUnfinished(); }

void Output::NameFile(vx::platform::RuntimeError& error) const {
  if (error.path.empty() || (error.path != last_temporary_ && error.path != final_file_)) return;
  error.path = state.FilePDF;
  if (error.action.empty()) error.action = "scrittura del file PDF";
}

void Output::RemoveUnfinished() {
  if (state.DocumentoPDF) state.DocumentoPDF->Abort();
  state.DocumentoPDF.reset();
  state.PDFAperto = false;
  if (!begun_file_.empty()) {
    std::error_code ec;
    std::filesystem::remove(begun_file_, ec);
    begun_file_.clear();
  }
}

}  // namespace vx::output
