#include "output/pdf_file_printers.h"

#include <cstdio>
#include <system_error>

#include "pdf/vbpdf.h"
#include "platform/errors.h"
#include "platform/finished_file.h"

namespace vx::output {

namespace {

constexpr double kTwipsPerPoint = 20;
// Courier's extent above the baseline and its line height, in thousandths
// of the size, as the writer measures the font.
constexpr double kAscent = 0.833;
constexpr double kLineHeight = 1.133;

// Every failure of this printer is the printer error, as for paper; unlike
// paper, it names the file and what was being done with it.
template <typename Step>
void AsPrinterError(const std::filesystem::path& file, const char* doing, Step&& step) {
  try {
    step();
  } catch (const vx::platform::RuntimeError& error) {
    if (error.number == kPrinterError) throw;
    throw vx::platform::RuntimeError(kPrinterError,
                                     vx::platform::ErrorDescription(kPrinterError) + ": " + error.description)
        .About(file.string(), doing);
  } catch (const std::filesystem::filesystem_error& error) {
    throw vx::platform::RuntimeError(kPrinterError,
                                     vx::platform::ErrorDescription(kPrinterError) + ": " + error.what())
        .About(file.string(), doing);
  }
}

int PaperSize(int orientation) { return orientation == 2 ? 1 : 0; }

}  // namespace

PdfFilePrinter::PdfFilePrinter(std::filesystem::path folder, PdfFactory factory)
    : folder_(std::move(folder)), factory_(std::move(factory)) {}

PdfFilePrinter::~PdfFilePrinter() {
  // A document never ended is not a finished listing: leave no file behind.
  if (pdf_) {
    pdf_->Abort();
    std::error_code ec;
    std::filesystem::remove(temporary_, ec);
  }
}

void PdfFilePrinter::SetFontName(const std::string& name) { font_name_ = name; }

void PdfFilePrinter::SetFontSize(double points) {
  if (points <= 0) throw vx::platform::MakeRuntimeError(380);
  font_size_ = points;
}

void PdfFilePrinter::SetFontBold(bool bold) { font_bold_ = bold; }

void PdfFilePrinter::SetOrientation(int orientation) {
  if (orientation != 1 && orientation != 2) throw vx::platform::MakeRuntimeError(380);
  // In a document already begun it applies from the next page, as on paper.
  orientation_ = orientation;
}

void PdfFilePrinter::EnsureDocument() {
  if (pdf_) return;
  AsPrinterError(folder_, "creazione della cartella dei documenti stampati",
                 [&] { std::filesystem::create_directories(folder_); });
  // What a run killed while printing left here goes before the first document.
  if (documents_ == 0) {
    vx::platform::RemoveLeftovers(folder_, [](std::string_view name) {
      return name.size() > 7 && name.substr(0, 3).find_first_not_of("0123456789") == std::string_view::npos &&
             name.ends_with(".pdf");
    });
  }
  char number[16];
  std::snprintf(number, sizeof number, "%03d", documents_ + 1);
  std::string name = number;
  if (!company_.empty()) name += "_" + company_;
  file_ = folder_ / (name + ".pdf");
  AsPrinterError(file_, "creazione del documento", [&] {
    // Written under a temporary name and put in place once ended, so that
    // a run stopped half way leaves no half document under the final name.
    temporary_ = vx::platform::TemporaryBeside(file_);
    auto pdf = MakePdf(factory_);
    pdf->SetScale(0);  // points
    pdf->SetPaperSize(PaperSize(orientation_), 0, 0);
    pdf->SetMargins(0, 0, 0, 0, true);
    pdf->BeginDoc(temporary_.string());
    if (pdf->ErrNumber() != 0)
      throw vx::platform::RuntimeError(pdf->ErrNumber(), pdf->ErrDescription());
    pdf->BeginPage();
    pdf_ = std::move(pdf);
    ++documents_;
  });
}

void PdfFilePrinter::ApplyFont() {
  // The writer's Courier stands for Courier New: same metrics, every viewer has it.
  pdf_->SetFont("Courier", static_cast<float>(font_size_), font_bold_ ? 1 : 0, 0);
}

void PdfFilePrinter::Print(const std::string& text) {
  EnsureDocument();
  AsPrinterError(file_, "scrittura del documento", [&] {
    ApplyFont();
    // The text's top is at CurrentY; the writer places text by its baseline.
    const double baseline = y_ / kTwipsPerPoint + kAscent * font_size_;
    pdf_->DrawText(static_cast<float>(x_ / kTwipsPerPoint), static_cast<float>(baseline), text, 1);
  });
  x_ = 0;
  y_ += kLineHeight * font_size_ * kTwipsPerPoint;
}

void PdfFilePrinter::Box(double x1, double y1, double x2, double y2) {
  EnsureDocument();
  AsPrinterError(file_, "scrittura del documento", [&] {
    pdf_->SetLineWidth(0);
    pdf_->DrawRect(static_cast<float>(x1 / kTwipsPerPoint), static_cast<float>(y1 / kTwipsPerPoint),
                   static_cast<float>((x2 - x1) / kTwipsPerPoint),
                   static_cast<float>((y2 - y1) / kTwipsPerPoint), 0, 0, 15);
  });
}

void PdfFilePrinter::NewPage() {
  EnsureDocument();
  AsPrinterError(file_, "scrittura del documento", [&] {
    pdf_->BeginPage();
    // The size is read when the page ends, so this sets the new page's.
    pdf_->SetPaperSize(PaperSize(orientation_), 0, 0);
  });
  x_ = y_ = 0;
}

void PdfFilePrinter::EndDoc() {
  x_ = y_ = 0;
  if (!pdf_) return;  // nothing was drawn: no file
  AsPrinterError(file_, "chiusura del documento", [&] { pdf_->EndDoc(); });
  pdf_.reset();
  AsPrinterError(file_, "chiusura del documento", [&] {
    try {
      vx::platform::PutInPlace(temporary_, file_);
    } catch (...) {
      std::error_code ec;
      std::filesystem::remove(temporary_, ec);
      throw;
    }
  });
  written_.push_back(file_);
}

PdfFilePrinters::PdfFilePrinters(std::filesystem::path folder, PdfFactory factory)
    : printer_(std::move(folder), std::move(factory)) {}

void PdfFilePrinters::SetCurrent(std::size_t index) {
  if (index != 0) throw vx::platform::MakeRuntimeError(kPrinterError);
}

}  // namespace vx::output
