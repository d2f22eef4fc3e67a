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
    // index: wait for it, as long as the run allows. The platform reports a
    // lock held elsewhere as error 70 only; a 75 here means the file itself
    // cannot be opened for writing (read-only folder, wrong owner), which no
    // amount of waiting cures, so it goes to the error routine instead of
    // hanging the run without a word.
    const SemaphoreWait& wait = semaphore_wait_;
    const auto start = std::chrono::steady_clock::now();
    bool announced = false;
    for (;;) {
      try {
        files_.OpenBinary(channel, name, platform::Access::ExclusiveLock);
        break;
      } catch (platform::RuntimeError& error) {
        // The payroll programs create the semaphore file; without one there
        // is nobody to coordinate with, and this program does not create it.
        if (error.number == 53 || error.number == 76) {
          Note({false, name, {}, {},
                "file del semaforo mancante: le ricerche nell'indice sono state fatte senza attendere gli altri "
                "programmi"});
          return;
        }
        if (error.number != 70) throw error.About(name, "blocco del file del semaforo degli archivi");
      }
      const auto waited =
          std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
      if (!announced && waited >= wait.notice_after) {
        announced = true;
        if (wait.waiting) wait.waiting(name);
      }
      if (wait.give_up_after && waited >= *wait.give_up_after) {
        CHIUDI(kSemaphoreBase);
        throw SemaphoreNotTaken(name, false, waited);
      }
      if (wait.keep_waiting && !wait.keep_waiting()) {
        CHIUDI(kSemaphoreBase);
        throw SemaphoreNotTaken(name, true, waited);
      }
      std::this_thread::sleep_for(wait.pause);
    }
    if (announced && wait.taken) wait.taken();
    // No search reads the semaphore's first bytes; they are read on its
    // first lock only, so that a search costs its lock, its index blocks
    // and its unlock.
    if (state.BufferSemaforo.empty()) {
      state.BufferSemaforo.assign(2000, ' ');
      files_.Get(channel, 1, state.BufferSemaforo);
    }
  });
}

void PayrollArchives::CHIUDISEMA() { CHIUDI(kSemaphoreBase); }

}  // namespace vx::archive
