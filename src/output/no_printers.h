#pragma once
// No printer installed: the list is empty and the first printer output
// raises the printer error 482, as the platform does.

#include "output/printer.h"

namespace vx::output {

// Stands for the platform's printer object when no printer is installed:
// reading the position works, everything that reaches a device fails.
class MissingPrinter : public Printer {
 public:
  void SetFontName(const std::string&) override;
  void SetFontSize(double) override;
  void SetFontBold(bool) override;
  void SetCurrentX(double) override;
  void SetCurrentY(double) override;
  double CurrentX() const override { return 0; }
  double CurrentY() const override { return 0; }
  void SetOrientation(int) override;
  void Print(const std::string&) override;
  void Box(double, double, double, double) override;
  void NewPage() override;
  void EndDoc() override;
};

class NoPrinters : public Printers {
 public:
  std::vector<std::string> Names() const override { return {}; }
  // There is nothing to choose: error 482.
  void SetCurrent(std::size_t index) override;
  Printer& Current() override { return missing_; }

 private:
  MissingPrinter missing_;
};

}  // namespace vx::output
