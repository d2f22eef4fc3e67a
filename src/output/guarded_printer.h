#pragma once
// The current printer as the listing reaches it: every operation runs under
// the error routine, so that a printer error (482) asks the operator whether
// to try again, go on without that step or end the program.

#include <functional>

#include "output/printer.h"

namespace vx::output {

class GuardedPrinter : public Printer {
 public:
  // `guard` runs one step and decides what becomes of its run-time errors.
  using Guard = std::function<void(const std::function<void()>& step)>;
  GuardedPrinter(Printers& printers, Guard guard)
      : printers_(printers), guard_(std::move(guard)) {}

  void SetFontName(const std::string& name) override;
  void SetFontSize(double points) override;
  void SetFontBold(bool bold) override;
  void SetCurrentX(double twips) override;
  void SetCurrentY(double twips) override;
  double CurrentX() const override { return printers_.Current().CurrentX(); }
  double CurrentY() const override { return printers_.Current().CurrentY(); }
  void SetOrientation(int orientation) override;
  void Print(const std::string& text) override;
  void Box(double x1, double y1, double x2, double y2) override;
  void NewPage() override;
  void EndDoc() override;

 private:
  void Run(const std::function<void(Printer&)>& op);

  Printers& printers_;
  Guard guard_;
};

}  // namespace vx::output
