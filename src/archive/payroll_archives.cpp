#include "archive/payroll_archives.h"

#include <cmath>

#include "platform/single_instance.h"

namespace vx::archive {

PayrollArchives::PayrollArchives(const platform::WinePrefix& prefix, platform::Files& files,
                                 const platform::Registry& registry,
                                 platform::MessageBoxes& boxes)
    : prefix_(prefix), files_(files), registry_(registry), boxes_(boxes) {}

PayrollArchives::~PayrollArchives() = default;

void PayrollArchives::SetInstanceCheck(std::function<bool()> another_instance_running) {
  another_instance_running_ = std::move(another_instance_running);
}

bool PayrollArchives::AnotherInstanceRunning() {
  if (another_instance_running_) return another_instance_running_();
  // The lock is taken once and kept until the process ends.
  if (instance_lock_) return false;
  instance_lock_ = platform::SingleInstance::TryAcquire(prefix_, state.NomeProgramma);
  return instance_lock_ == nullptr;
}

void PayrollArchives::EndAsSecondInstance() {
  // Said rather than ending without a word: an operator who sees nothing
  // happen starts the program again, or thinks the listing was made.
  platform::MessageBox box;
  box.title = ApplicationTitle();
  box.text = "VXOREL \xE8 gi\xE0 in esecuzione per questo utente su questa installazione";
  box.icon = platform::Icon::Warning;
  boxes_.Show(box);
  EndProgram(box.text, kStatusAlreadyRunning);
}

size_t PayrollArchives::Slot(double numero_base) {
  if (!(numero_base > -0.5 && numero_base < kMaxNumeroBase + 0.5)) {
    throw platform::MakeRuntimeError(9);
  }
  return static_cast<size_t>(std::nearbyint(numero_base));
}

std::string PayrollArchives::ApplicationTitle() const {
  // Boxes without a title of their own carry the project's name, as the
  // payroll programs' boxes do.
  return state.NomeProgetto.empty() ? state.NomeProgramma : state.NomeProgetto;
}

void PayrollArchives::Message(std::string text) {
  platform::MessageBox box;
  box.title = ApplicationTitle();
  box.text = std::move(text);
  boxes_.Show(box);
}

void PayrollArchives::MessageAndEnd(std::string text) {
  Message(text);
  EndProgram(std::move(text));
}

void PayrollArchives::EndProgram(std::string reason, int status) {
  try {
    files_.CloseAll();
  } catch (const platform::RuntimeError&) {
    // The program is ending already; a file that fails to close cannot stop it.
  }
  state.CanaleFile.fill(0);
  throw platform::ProgramEnd(std::move(reason), status);
}

void PayrollArchives::TRACCIA(std::string_view name) {
  archive::TRACCIA(state.UltimeProcedure, state.IndiceTraccia, name);
}

}  // namespace vx::archive
