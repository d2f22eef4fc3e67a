#pragma once
// The listing's page layout: the header, the employee card and line, the
// totals. Each comes as a printer twin and a PDF twin that share one drawing
// routine; the twins differ only where the devices do.

#include <functional>
#include <string>
#include <string_view>

#include "report/listing_state.h"

namespace vx::archive {
class PayrollArchives;
}
namespace vx::output {
class Output;
}

namespace vx::report {

class Report {
 public:
  Report(vx::archive::PayrollArchives& archive, vx::output::Output& output, ListingState& listing,
         const ReportSettings& settings, std::function<void()> SCRIVIFILETESTO);

  // Page header; SEMPLIFICATA: the simplified (landscape) listing.
  void TESTATALASER(bool SEMPLIFICATA);
  void TESTATAPDF(bool SEMPLIFICATA);
  // One employee card (detailed listing) for the employee in the DIPX$ buffer.
  void STAMPADETTAGLIATALASER();
  void STAMPADETTAGLIATAPDF();
  // One employee line (simplified listing).
  void STAMPASEMPLIFICATALASER();
  void STAMPASEMPLIFICATAPDF();
  // Totals of the company, or of the bank group.
  void TOTALILASER(bool SEMPLIFICATA);
  void TOTALIPDF(bool SEMPLIFICATA);

 private:
  enum class Target { Printer, Pdf };
  void Testata(Target target, bool semplificata);
  void RigheAzienda(Target target);
  void Dettagliata(Target target);
  void Semplificata(Target target);
  void Totali(Target target, bool semplificata);

  // Where a frame whose row starts at `y` is drawn on the target.
  double FrameY(Target target, double y) const;
  bool Grassetto() const;
  // Font "Courier New" in the size and weight given, on the target.
  void SetFont(Target target, double size, bool bold);
  // Only the weight changes; the PDF writer takes the size again.
  void SetBold(Target target, double size, bool bold);
  void Text(double y, double x, std::string text);
  void Frame(Target target, double y, double x, double altezza, double larghezza);
  void NewPage(Target target);
  // A field of the record the descriptor names, as text and trimmed, as
  // stored, or as a number.
  std::string Field(std::string_view descriptor);
  std::string RawField(std::string_view descriptor);
  double Number(std::string_view descriptor);

  vx::archive::PayrollArchives& archive_;
  vx::output::Output& output_;
  ListingState& listing_;
  const ReportSettings& settings_;
  std::function<void()> SCRIVIFILETESTO_;
};

}  // namespace vx::report
