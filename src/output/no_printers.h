#pragma once
// No printer installed: the list is empty and the first printer output
// raises the printer error 482, as the platform does.

#include "output/printer.h"

namespace vx::output {

class NoPrinters : public Printers {
 public:
  std::vector<std::string> Names() const override { return {}; }
  // There is nothing to choose: error 482.
  void SetCurrent(std::size_t index) override;
  // A printer whose every operation raises error 482.
  Printer& Current() override;
};

}  // namespace vx::output
