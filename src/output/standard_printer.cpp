// The payroll suite's standard printer, chosen once at start-up.

#include "archive/payroll_archives.h"
#include "output/output.h"
#include "platform/errors.h"

namespace vx::output {

namespace {
constexpr double kPrinterSettings = 280;
}  // namespace

void Output::LEGGISTAMPANTESTD() {
  archive_.TRACCIA("LEGGISTAMPANTESTD");
  // Any error goes to the error routine, which ends the program unless it is
  // a printer error; then the operator may have the step tried again, or the
  // routine ends here leaving the current printer as it was.
  auto attempt = [this](auto&& step) {
    for (;;) {
      try {
        step();
        return true;
      } catch (const vx::platform::RuntimeError& error) {
        if (archive_.GESTIERRORE(error) == vx::archive::ErrorOutcome::Skip) return false;
      }
    }
  };

  const bool read = attempt([this] {
    state.StampanteStd.clear();
    if (archive_.VERBASE(kPrinterSettings) != 1) {
      archive_.NoteIfMissing(kPrinterSettings);  // an empty one is nothing to report
      return;
    }
    archive_.FAIOPENIO(kPrinterSettings, 0);
    const int channel = archive_.state.CanaleFile[static_cast<size_t>(kPrinterSettings)];
    auto& files = archive_.Files();
    files.LineInput(channel);  // the first line is not this program's
    if (!files.Eof(channel)) state.StampanteStd = files.LineInput(channel);
    archive_.CHIUDI(kPrinterSettings);
  });
  if (!read) return;

  // The name must match exactly, case and trailing blanks included; with two
  // printers of that name the first listed wins. No match leaves the
  // system's default printer current, and so does an empty name.
  attempt([this] {
    if (state.StampanteStd.empty()) return;
    const auto names = printers_.Names();
    for (std::size_t i = 0; i < names.size(); ++i) {
      if (names[i] == state.StampanteStd) {
        printers_.SetCurrent(i);
        return;
      }
    }
  });
}

}  // namespace vx::output
