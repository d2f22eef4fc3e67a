#pragma once
// The listing's page layout: the header, the employee card and line, the
// totals. Each comes as a printer twin and a PDF twin that share one drawing
// routine; the twins differ only where the devices do.

#include <functional>

#include "report/listing_state.h"

namespace vx::archive {
class Archive;
}
namespace vx::output {
class Output;
}

namespace vx::report {

class Report {
 public:
  Report(vx::archive::Archive& archive, vx::output::Output& output, ListingState& listing,
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
  void Dettagliata(Target target);
  void Semplificata(Target target);
  void Totali(Target target, bool semplificata);
  void SetFont(Target target, double size, bool bold);
  bool Grassetto() const;

  vx::archive::Archive& archive_;
  vx::output::Output& output_;
  ListingState& listing_;
  const ReportSettings& settings_;
  std::function<void()> SCRIVIFILETESTO_;
};

}  // namespace vx::report
