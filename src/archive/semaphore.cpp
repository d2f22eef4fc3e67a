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
    // index: wait for it as long as it takes. The platform reports a lock held
    // elsewhere as error 70 only; a 75 here means the file itself cannot be
    // opened for writing (read-only folder, wrong owner), which no amount of
    // waiting cures, so it goes to the error routine instead of hanging the
    // run without a word.
    for (;;) {
      try {
        files_.OpenBinary(channel, name, platform::Access::ExclusiveLock);
        break;
      } catch (const platform::RuntimeError& error) {
        if (error.number != 70) throw;
      }
      std::this_thread::sleep_for(semaphore_pause_);
    }
    state.BufferSemaforo.assign(2000, ' ');
    files_.Get(channel, 1, state.BufferSemaforo);
  });
}

void PayrollArchives::CHIUDISEMA() { CHIUDI(kSemaphoreBase); }

}  // namespace vx::archive
