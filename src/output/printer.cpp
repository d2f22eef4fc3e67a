#include "output/printer.h"

namespace vx::output {

Printer::~Printer() = default;
Printers::~Printers() = default;

}  // namespace vx::output
