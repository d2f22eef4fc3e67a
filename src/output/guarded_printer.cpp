#include "output/guarded_printer.h"

namespace vx::output {

void GuardedPrinter::Run(const std::function<void(Printer&)>& op) {
  // The current printer is looked up at every step: a retry after the
  // operator has fixed the printer reaches it again.
  auto step = [&] { op(printers_.Current()); };
  if (guard_)
    guard_(step);
  else
    step();
}

void GuardedPrinter::SetFontName(const std::string& name) {
  Run([&](Printer& p) { p.SetFontName(name); });
}
void GuardedPrinter::SetFontSize(double points) {
  Run([&](Printer& p) { p.SetFontSize(points); });
}
void GuardedPrinter::SetFontBold(bool bold) {
  Run([&](Printer& p) { p.SetFontBold(bold); });
}
void GuardedPrinter::SetCurrentX(double twips) {
  Run([&](Printer& p) { p.SetCurrentX(twips); });
}
void GuardedPrinter::SetCurrentY(double twips) {
  Run([&](Printer& p) { p.SetCurrentY(twips); });
}
void GuardedPrinter::SetOrientation(int orientation) {
  Run([&](Printer& p) { p.SetOrientation(orientation); });
}
void GuardedPrinter::Print(const std::string& text) {
  Run([&](Printer& p) { p.Print(text); });
}
void GuardedPrinter::Box(double x1, double y1, double x2, double y2) {
  Run([&](Printer& p) { p.Box(x1, y1, x2, y2); });
}
void GuardedPrinter::NewPage() {
  Run([&](Printer& p) { p.NewPage(); });
}
void GuardedPrinter::EndDoc() {
  Run([&](Printer& p) { p.EndDoc(); });
}

}  // namespace vx::output
