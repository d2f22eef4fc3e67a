#include "report/report.h"

#include <string>
#include <string_view>

#include "archive/payroll_archives.h"
#include "archive/text.h"
#include "output/output.h"

namespace vx::report {

using vx::archive::Trim;

Report::Report(vx::archive::PayrollArchives& archive, vx::output::Output& output, ListingState& listing,
               const ReportSettings& settings, std::function<void()> SCRIVIFILETESTO)
    : archive_(archive),
      output_(output),
      listing_(listing),
      settings_(settings),
      SCRIVIFILETESTO_(std::move(SCRIVIFILETESTO)) {}

void Report::TESTATALASER(bool SEMPLIFICATA) { Testata(Target::Printer, SEMPLIFICATA); }
void Report::TESTATAPDF(bool SEMPLIFICATA) { Testata(Target::Pdf, SEMPLIFICATA); }
void Report::STAMPADETTAGLIATALASER() { Dettagliata(Target::Printer); }
void Report::STAMPADETTAGLIATAPDF() { Dettagliata(Target::Pdf); }
void Report::STAMPASEMPLIFICATALASER() { Semplificata(Target::Printer); }
void Report::STAMPASEMPLIFICATAPDF() { Semplificata(Target::Pdf); }
void Report::TOTALILASER(bool SEMPLIFICATA) { Totali(Target::Printer, SEMPLIFICATA); }
void Report::TOTALIPDF(bool SEMPLIFICATA) { Totali(Target::Pdf, SEMPLIFICATA); }

// The same rectangle lies 0.25 cm higher in the PDF than on the printer: the
// printer moves every frame up by its own offset, the PDF places text by its
// baseline, and this keeps text and frames in step on both.
double Report::FrameY(Target target, double y) const {
  return target == Target::Pdf ? y - 0.25 : y;
}

bool Report::Grassetto() const { return settings_.ChkGrassetto && settings_.ChkGrassetto(); }

void Report::SetFont(Target target, double size, bool bold) {
  if (target == Target::Printer) {
    auto& p = output_.printer();
    p.SetFontName("Courier New");
    p.SetFontSize(size);
    p.SetFontBold(bold);
  } else {
    output_.DocumentoPDF().SetFont("Courier New", static_cast<float>(size), bold ? 1 : 0, 0);
  }
}

void Report::SetBold(Target target, double size, bool bold) {
  if (target == Target::Printer)
    output_.printer().SetFontBold(bold);
  else
    output_.DocumentoPDF().SetFont("Courier New", static_cast<float>(size), bold ? 1 : 0, 0);
}

void Report::Text(double y, double x, std::string text) { output_.STAMPATESTO(y, x, text); }

void Report::NewPage(Target target) {
  if (target == Target::Printer)
    output_.printer().NewPage();
  else
    output_.DocumentoPDF().BeginPage();
}

void Report::Frame(Target target, double y, double x, double altezza, double larghezza) {
  output_.STAMPABOX(FrameY(target, y), x, altezza, larghezza);
}

std::string Report::RawField(std::string_view descriptor) { return archive_.RepoR(descriptor, 0); }

std::string Report::Field(std::string_view descriptor) { return Trim(RawField(descriptor)); }

double Report::Number(std::string_view descriptor) { return archive_.RepoN(descriptor, 0); }

}  // namespace vx::report
