// The two drawing primitives: a text and a rectangle outline at a position
// in centimetres from the page's top-left corner, on the printer or in the
// company's PDF document.

#include "output/output.h"

#include <cmath>

#include "archive/payroll_archives.h"
#include "output/draw_rule.h"
#include "platform/errors.h"

namespace vx::output {

namespace {

// Printer coordinates: the printer counts from the corner of its printable
// area, 0.6 cm below and 0.3 cm right of the page's corner.
double TwipsY(double y) { return std::floor((y - 0.6) * kTwipsPerCm); }
double TwipsX(double x) { return std::floor((x - 0.3) * kTwipsPerCm); }

constexpr int32_t kCentimetres = 3;

// Empties the caller's text on every way out, as the callers rely on.
struct ConsumeText {
  std::string& text;
  ~ConsumeText() { text.clear(); }
};

}  // namespace

Output::Output(vx::archive::PayrollArchives& archive, Printers& printers,
               vx::platform::MessageBoxes& boxes, PdfFactory pdf_factory)
    : archive_(archive),
      printers_(printers),
      boxes_(boxes),
      pdf_factory_(std::move(pdf_factory)),
      printer_(printers, [this](const std::function<void()>& step) {
        // A printer error is the operator's to decide: try again, or go on
        // without this step. Every other error goes up to the run.
        for (;;) {
          try {
            step();
            return;
          } catch (const vx::platform::RuntimeError& error) {
            if (error.number != kPrinterError) throw;
            if (archive_.GESTIERRORE(error) == vx::archive::ErrorOutcome::Skip) return;
          }
        }
      }) {}

Output::~Output() = default;

Printer& Output::printer() { return printer_; }

vx::pdf::vbPDF& Output::DocumentoPDF() {
  if (!state.DocumentoPDF) {
    state.DocumentoPDF = MakePdf(pdf_factory_);
    state.DocumentoPDF->SetMessageBoxes(&boxes_);
  }
  return *state.DocumentoPDF;
}

void Output::STAMPATESTO(double Y, double X, std::string& Testo, bool StampaZero, double DeltaY,
                         double DeltaX) {
  ConsumeText consume{Testo};
  if (state.StampaPDF) {
    if (DeltaY != 0) Y += DeltaY;
    if (DeltaX != 0) X += DeltaX;
    auto& pdf = DocumentoPDF();
    pdf.SetScale(kCentimetres, 1.0f);
    if (ShouldDraw(Testo, StampaZero))
      pdf.DrawText(static_cast<float>(X), static_cast<float>(Y), Testo, 1);
    return;
  }
  auto& p = printer();
  p.SetCurrentY(TwipsY(Y));
  p.SetCurrentX(TwipsX(X));
  if (ShouldDraw(Testo, StampaZero)) p.Print(Testo);
}

void Output::STAMPABOX(double Y, double X, double Altezza, double Larghezza, double Spessore,
                       double DeltaY, double DeltaX, double DeltaAltezza, double DeltaLarghezza) {
  if (state.StampaPDF) {
    if (DeltaY != 0) Y += DeltaY;
    if (DeltaX != 0) X += DeltaX;
    if (DeltaAltezza != 0) Altezza += DeltaAltezza;
    if (DeltaLarghezza != 0) Larghezza += DeltaLarghezza;
    auto& pdf = DocumentoPDF();
    pdf.SetScale(kCentimetres, 1.0f);
    pdf.SetLineWidth(Spessore != 0 ? 0.01f : 0.0f);
    pdf.DrawRect(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Larghezza),
                 static_cast<float>(Altezza), 0, 0, 15);
    return;
  }
  const double x1 = TwipsX(X), y1 = TwipsY(Y);
  const double w = std::floor(Larghezza * kTwipsPerCm), h = std::floor(Altezza * kTwipsPerCm);
  printer().Box(x1, y1, x1 + w, y1 + h);
}

}  // namespace vx::output
