#pragma once
// The payroll archive layer: finds the installation, opens the product's
// archives read-only, moves records, searches the employee index, reads
// fields, and reports every run-time error with the procedure trace.
//
// Numbers cross these operations as doubles, as the archives and their
// callers hold them. A run-time error inside an operation goes to
// GESTIERRORE, which either retries or skips the failed step (printer
// errors, on the operator's word) or reports the error and ends the program
// by throwing platform::ProgramEnd. Validation messages that end the program
// throw ProgramEnd too, after every file has been closed.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "archive/archive_state.h"
#include "platform/errors.h"
#include "platform/files.h"
#include "platform/message_box.h"
#include "platform/registry.h"
#include "platform/wine_prefix.h"

namespace vx::platform {
class SingleInstance;
}

namespace vx::archive {

// What the error routine tells the failed operation to do next.
enum class ErrorOutcome { Retry, Skip };

// How a search waits for the semaphore while another program of the payroll
// holds it. By default it waits as long as it takes, without a word.
struct SemaphoreWait {
  // The pause between two attempts.
  std::chrono::milliseconds pause{50};
  // How long the wait lasts before `waiting` is told.
  std::chrono::milliseconds notice_after{2000};
  // Given up after this long; none waits as long as it takes.
  std::optional<std::chrono::milliseconds> give_up_after;
  // Told once per wait, when it has lasted `notice_after`, with the
  // semaphore file's path.
  std::function<void(const std::string& path)> waiting;
  // Told when a wait that was announced ends with the semaphore taken.
  std::function<void()> taken;
  // Asked at every pause: false gives the wait up at once (the operator
  // cancelled). Also the place where a window keeps its events flowing.
  std::function<bool()> keep_waiting;
};

// A wait for the semaphore that was given up: the time ran out, or the
// operator cancelled. The search did not run.
struct SemaphoreNotTaken : std::runtime_error {
  SemaphoreNotTaken(std::string path, bool cancelled, std::chrono::milliseconds waited)
      : std::runtime_error("semaphore not taken: " + path), path(std::move(path)), cancelled(cancelled),
        waited(waited) {}
  std::string path;  // the semaphore file, as the program names it
  bool cancelled;    // true: the operator gave up; false: the time ran out
  std::chrono::milliseconds waited;
};

// The exit status of a program that found itself already running.
inline constexpr int kStatusAlreadyRunning = 3;

// The product whose installation this program serves, as message titles name it.
inline constexpr std::string_view kProductName = "Velmora";

class PayrollArchives {
 public:
  PayrollArchives(const platform::WinePrefix& prefix, platform::Files& files,
                  const platform::Registry& registry, platform::MessageBoxes& boxes);
  ~PayrollArchives();
  PayrollArchives(const PayrollArchives&) = delete;
  PayrollArchives& operator=(const PayrollArchives&) = delete;

  ArchiveState state;

  platform::Files& Files() { return files_; }
  const platform::WinePrefix& Prefix() const { return prefix_; }
  platform::MessageBoxes& Boxes() { return boxes_; }

  // How FAIOPEN opens archives. ReadShared (the default) lets nothing this
  // program does change an archive's bytes; scratch installations of the
  // tests use ReadWriteShared to exercise SCRIVIREC.
  void SetArchiveAccess(platform::Access access) { archive_access_ = access; }
  // How another running instance of the program is detected; by default the
  // platform's single-instance lock, taken once and held for the process.
  void SetInstanceCheck(std::function<bool()> another_instance_running);
  // How a search waits for a busy semaphore.
  void SetSemaphoreWait(SemaphoreWait wait) { semaphore_wait_ = std::move(wait); }
  const SemaphoreWait& GetSemaphoreWait() const { return semaphore_wait_; }

  // ---- Trace and error routine --------------------------------------------
  void TRACCIA(std::string_view name);
  // Reports a run-time error. Printer error 482: asks whether to retry, then
  // whether to close the program, and returns Retry or Skip unless the
  // operator chose to close. Any other error: shows it with the trace, asks
  // for the task to be restarted, closes every file and throws ProgramEnd.
  ErrorOutcome GESTIERRORE(const platform::RuntimeError& error);
  // Runs one step under the error routine: a run-time error is reported and
  // the step is run again or given up as GESTIERRORE decides.
  template <typename Step>
  void Guarded(Step&& step) {
    for (;;) {
      try {
        step();
        return;
      } catch (const platform::RuntimeError& error) {
        if (GESTIERRORE(error) == ErrorOutcome::Skip) return;
      }
    }
  }
  // As above; an error is first completed by `describe`, which names the
  // file and the work where the code that failed did not.
  template <typename Step, typename Describe>
  void Guarded(Step&& step, Describe&& describe) {
    for (;;) {
      try {
        step();
        return;
      } catch (platform::RuntimeError& error) {
        describe(error);
        if (GESTIERRORE(error) == ErrorOutcome::Skip) return;
      }
    }
  }
  // Closes every file and ends the program (ProgramEnd with `status`).
  [[noreturn]] void EndProgram(std::string reason, int status = 1);

  // ---- Installation --------------------------------------------------------
  std::string LEGGIREGISTRO(std::string_view subkey, std::string_view value_name);
  std::string LEGGIVALOREREGISTRO(const platform::RegKey& key, std::string_view value_name);
  void bControlloInstallazione_REGISTRO();
  void CARICAINST();
  // Hands the terminal back to the task launcher, closes every archive and
  // ends the program normally (ProgramEnd with status 0).
  [[noreturn]] void CHIUDIPROGRAMMA();
  // The task file chosen by the program's name.
  std::string TaskFileName() const;

  // ---- Archive files -------------------------------------------------------
  std::string DAMMIFILE(double numero_base, bool& with_folder);
  double FAIOPEN(double numero_base);
  void FAIOPENIO(double numero_base, int16_t mode);
  void FAIOPENNUOVO(double numero_base);
  double VERBASE(double numero_base);
  void ELIMINA(double numero_base);
  void NUOVOCANALE(double numero_base);
  void CHIUDI(double numero_base);
  // Takes the semaphore, waiting as SetSemaphoreWait says; throws
  // SemaphoreNotTaken when the wait is given up. Without a semaphore file
  // nobody is there to wait for, and the search runs unlocked (noted once
  // for the operator).
  void APRISEMA();
  void CHIUDISEMA();

  // Opens an archive the payroll may not have written yet (printer settings,
  // installation holder, fiscal record, archives this program does not
  // read). A missing one is not created: it is noted for the operator and
  // false comes back, so the caller reads it as empty. The placeholders are
  // consumed as by FAIOPEN.
  bool OpenIfPresent(double numero_base);
  // True when the archive's file is missing, which is then noted as above.
  bool NoteIfMissing(double numero_base);
  // The file of an open archive, as the program names it.
  const std::string& ArchiveName(double numero_base) const;
  // The archive catalogue, as the program names it.
  std::string Catalogue() const { return state.PERCORSOARCHIVI + "\\SLBASE.DAT"; }
  // Whether the open archive's length is a whole number of records, as the
  // payroll always writes it; a file cut short is not.
  bool WholeRecords(double numero_base);
  // Notes a finding for the operator; a finding already noted is not repeated.
  void Note(ArchiveFinding finding);

  // ---- Records and index ---------------------------------------------------
  double LEGGIREC(double numero_base, double record);
  void SCRIVIREC(double numero_base, double record, const std::string& text);
  double ISAM(double numero_base, const std::string& key, double code, double record);

  // ---- Field access --------------------------------------------------------
  std::string RepoR(std::string_view descriptor, int16_t occurrence, std::string_view record = {});
  double RepoN(std::string_view descriptor, int16_t occurrence, std::string_view record = {});
  int16_t RepoSpostamento(std::string_view descriptor, int16_t occurrence);

  // ---- Utilities -----------------------------------------------------------
  // -1 when the file can be opened for reading (so not when another program
  // holds its exclusive lock), else 0.
  int16_t ESISTEFILE(std::string_view name);
  void INFOPROGRAMMA();

 private:
  // The index of a number base in the open-archive table (error 9 outside 0..600).
  static size_t Slot(double numero_base);
  // The title of the layer's own validation messages.
  std::string ApplicationTitle() const;
  void Message(std::string text);
  [[noreturn]] void MessageAndEnd(std::string text);
  void ReadTaskFile();
  void ReadInstallationHolder();
  bool AnotherInstanceRunning();
  // Says that the program already runs for this user on this installation,
  // and ends it with kStatusAlreadyRunning.
  [[noreturn]] void EndAsSecondInstance();
  std::string Resolve(double numero_base, bool& with_folder);
  // FAIOPEN; with `if_present`, a missing file is noted and not opened
  // (false comes back).
  bool Open(double numero_base, bool if_present);
  // The file last opened for a number base, or nothing for one outside the
  // table: for messages, which must not fail themselves.
  std::string NameForMessages(double numero_base) const;
  // What every LEGGIREC does before reading: the record becomes the last
  // one moved, the trace notes it, the buffer must have the record's length.
  // Returns the record's 1-based byte position.
  int64_t BeginRead(double numero_base, double record);
  double ReadRecord(double numero_base, double record);
  // LEGGIREC of `record` with one read that also takes the record after
  // it, left in `next` with whether the file held it whole.
  double ReadRecordAndNext(double numero_base, double record, std::string& next, bool& next_whole);
  // LEGGIREC of `record` whose bytes a read of the record before it brought.
  double TakeRecord(double numero_base, double record, const std::string& bytes, bool whole);
  // The shift of a repeated field, telling the operator about a "DI2X$"
  // descriptor whose group cannot be told.
  int16_t ShiftOf(std::string_view descriptor, int16_t occurrence);
  double SearchIndex(double numero_base, const std::string& key, double code, double record);

  const platform::WinePrefix& prefix_;
  platform::Files& files_;
  const platform::Registry& registry_;
  platform::MessageBoxes& boxes_;
  platform::Access archive_access_ = platform::Access::ReadShared;
  SemaphoreWait semaphore_wait_;
  std::function<bool()> another_instance_running_;
  std::unique_ptr<platform::SingleInstance> instance_lock_;
  std::string read_pair_;     // two records read at once
  std::string next_record_;   // the second of them, during one index search
};

}  // namespace vx::archive
