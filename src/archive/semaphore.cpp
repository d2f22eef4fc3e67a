#include "archive/payroll_archives.h"

#include <thread>

namespace vx::archive {

void PayrollArchives::APRISEMA() {
  Guarded([&] {
    TRACCIA("APRISEMA");
    NUOVOCANALE(kSemaphoreBase);
    const int channel = state.CanaleFile[kSemaphoreBase];
    const std::string name = state.PERCORSOARCHIVI + "\\SLSEMA.DAT";
    // Another program of the payroll holds the semaphore while it updates an
    // index: wait for it as long as it takes.
    for (;;) {
      try {
        files_.OpenBinary(channel, name, platform::Access::ExclusiveLock);
        break;
      } catch (const platform::RuntimeError& error) {
        if (error.number != 70 && error.number != 75) throw;
      }
      std::this_thread::sleep_for(semaphore_pause_);
    }
    state.BufferSemaforo.assign(2000, ' ');
    files_.Get(channel, 1, state.BufferSemaforo);
  });
}

void PayrollArchives::CHIUDISEMA() { CHIUDI(kSemaphoreBase); }

}  // namespace vx::archive
