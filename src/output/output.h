#pragma once
// The output devices of the listing: the two drawing primitives that address
// either the printer or the PDF writer, the PDF folder tree, file name and
// document set-up, and the choice of the standard printer.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "output/guarded_printer.h"
#include "output/pdf_factory.h"
#include "output/printer.h"
#include "pdf/vbpdf.h"
#include "platform/errors.h"

namespace vx::archive {
class PayrollArchives;
}
namespace vx::platform {
class MessageBoxes;
}
namespace vx::pdf {
struct PasswordRefused;
}

namespace vx::output {

// The output subsystem's run-wide variables.
struct OutputState {
  bool StampaPDF = false;  // true: the run draws into PDF files
  std::unique_ptr<vx::pdf::vbPDF> DocumentoPDF;
  bool PDFAperto = false;  // between CREAPDF's BeginDoc and CHIUDIPDF
  std::string CartellaRadicePDF, CartellaPDF, BaseNomePDF, NomeFilePDF, FilePDF, AnnoMesePDF,
      StampanteStd;
  int16_t PDFCreati = 0, ModoNomePDF = 0;
  bool ProtezioneAES256 = false;  // protect with AES-256 instead of 40-bit RC4
};

// A password of the company's that AES-256 protection cannot use; what()
// says which and why (cp1252). No file of the company was begun.
struct PdfPasswordRefused : std::runtime_error {
  PdfPasswordRefused(const std::string& message, std::string company_)
      : std::runtime_error(message), company(std::move(company_)) {}
  std::string company;  // the company's code
};

class Output {
 public:
  Output(vx::archive::PayrollArchives& archive, Printers& printers, vx::platform::MessageBoxes& boxes,
         PdfFactory pdf_factory = {});
  ~Output();
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  // Draws a text at (Y, X) cm from the page's top-left corner on the run's
  // target, unless it is blank or a number equal to zero (StampaZero false).
  // Testo is always left empty.
  void STAMPATESTO(double Y, double X, std::string& Testo, bool StampaZero = false,
                   double DeltaY = 0, double DeltaX = 0);
  // The outline of a rectangle whose top-left corner is (Y, X) cm.
  void STAMPABOX(double Y, double X, double Altezza, double Larghezza, double Spessore = 0,
                 double DeltaY = 0, double DeltaX = 0, double DeltaAltezza = 0,
                 double DeltaLarghezza = 0);
  // Writes the PDF file and releases the writer: FinishPDF, then PublishPDF.
  void CHIUDIPDF();
  // Ends the document into its temporary file and releases the writer; the
  // file is not under its final name yet. An end that fails removes it.
  void FinishPDF();
  // Puts the finished file in place under its final name, replacing an
  // earlier one (PDFSostituiti says which).
  void PublishPDF();
  // Builds (and creates) <archives parent>\FILE-PDF\Codice\year\month\Tipo.
  void CARTELLAPDF(std::string Codice, std::string Tipo, std::string AnnoMese);
  // Names, sets up, protects and begins the company's PDF document. Throws
  // PdfPasswordRefused, before the file is begun, for a password AES-256
  // protection cannot use.
  void CREAPDF(std::string Nome);
  // Makes a file name safe: no trailing dot, reserved characters as "_".
  static void PULISCINOMEFILE(std::string& Nome);
  // Makes the payroll suite's standard printer the current one.
  void LEGGISTAMPANTESTD();

  Printer& printer();
  Printers& printers() { return printers_; }
  // The writer, created on first use.
  vx::pdf::vbPDF& DocumentoPDF();
  // Abandons the open document (a company that gets no listing), or a
  // finished one not yet put in place: the writer is released and the
  // unfinished file removed. An earlier file of the same name stays.
  void DiscardPDF();
  // Names the company's PDF file as the program names it (state.FilePDF)
  // in an error about the file it is written as on disk, its temporary
  // or its final name, even after the file was given up.
  void NameFile(vx::platform::RuntimeError& error) const;

  OutputState state;
  // Files of earlier runs the PDF files of this process replaced: the
  // company, the final program path, and the name replaced when it differed
  // in letter case (cp1252).
  struct ReplacedPdf {
    std::string company;
    std::string path;
    std::string old_name;
  };
  std::vector<ReplacedPdf> PDFSostituiti;

 private:
  void RemoveUnfinished();
  PdfPasswordRefused PasswordRefusal(const vx::pdf::PasswordRefused& refused);

  vx::archive::PayrollArchives& archive_;
  Printers& printers_;
  vx::platform::MessageBoxes& boxes_;
  PdfFactory pdf_factory_;
  GuardedPrinter printer_;
  // The temporary file of the document begun and not yet put in place, and
  // the file it becomes.
  std::string begun_file_;
  std::string final_file_;
  std::string begun_company_;
  // The temporary of the last document begun, kept for NameFile.
  std::string last_temporary_;
};

}  // namespace vx::output
