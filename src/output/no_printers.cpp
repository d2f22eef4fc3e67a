#include "output/no_printers.h"

#include "platform/errors.h"

namespace vx::output {

namespace {
[[noreturn]] void Fail() { throw vx::platform::MakeRuntimeError(kPrinterError); }
}  // namespace

void MissingPrinter::SetFontName(const std::string&) { Fail(); }
void MissingPrinter::SetFontSize(double) { Fail(); }
void MissingPrinter::SetFontBold(bool) { Fail(); }
void MissingPrinter::SetCurrentX(double) { Fail(); }
void MissingPrinter::SetCurrentY(double) { Fail(); }
void MissingPrinter::SetOrientation(int) { Fail(); }
void MissingPrinter::Print(const std::string&) { Fail(); }
void MissingPrinter::Box(double, double, double, double) { Fail(); }
void MissingPrinter::NewPage() { Fail(); }
void MissingPrinter::EndDoc() { Fail(); }

void NoPrinters::SetCurrent(std::size_t) { Fail(); }

}  // namespace vx::output
