#pragma once
// Everything the archive layer keeps for the life of the process, in one
// place: installation settings, the open-archive table, the placeholders a
// caller sets before opening a company- or year-dependent archive, the
// procedure trace and the record buffers of field access. A fresh
// ArchiveState is a fresh start.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "archive/record_repository.h"
#include "archive/trace.h"

namespace vx::archive {

// Number bases run from 1 to 600; 0 stands for "every archive" and 16 is the
// semaphore file.
inline constexpr int kMaxNumeroBase = 600;
inline constexpr int kSemaphoreBase = 16;

// Something the archive layer found about the installation that the
// operator must be told at the end of every run: an archive that is missing
// and was read as empty, or a damaged archive whose damage does not stop the
// program at once.
struct ArchiveFinding {
  bool damage = false;   // true: a listing may leave someone out
  std::string path;      // the archive file, as the program names it
  std::string company;   // the company code concerned, if any
  std::string employee;  // the employee code concerned, if any
  std::string message;   // what was found and what the program did about it
  bool operator==(const ArchiveFinding&) const = default;
};

struct ArchiveState {
  // Installation: names, folders, terminal and the installation's holder.
  std::string NomeProgramma;
  std::string NomeProgetto;
  std::string PERCORSOARCHIVI;    // no trailing backslash
  std::string PERCORSOPROGRAMMI;
  std::string RigaTask;           // first line of the task file
  std::string CodiceTerminale;    // its first two characters, trimmed
  std::string RagioneSocialeInst;
  std::string PartitaIvaInst;

  // Open-archive table, by number base 0..600.
  std::array<int16_t, kMaxNumeroBase + 1> CanaleFile{};   // 0: not open
  std::array<double, kMaxNumeroBase + 1> LunghezzaRec{};  // record length
  std::array<std::string, kMaxNumeroBase + 1> BufferRec;  // the record read
  std::array<double, kMaxNumeroBase + 1> UltimoRec{};     // last record moved
  std::array<std::string, kMaxNumeroBase + 1> NomeArchivio;  // file opened, for messages

  // Placeholders of archive names, consumed by the next resolution.
  std::string DITTAOPEN;      // "###", three digits
  std::string ANNOOPEN;       // "**", two digits
  std::string REGIONEOPEN;    // "@@", two digits
  std::string PROVINCIAOPEN;  // "%%", exactly two characters
  std::string DRIVEOPEN;      // "!:\"

  double LunghezzaRecord = 0;  // record length found by the last resolution
  std::string BufferSemaforo;  // first bytes of the semaphore file
  double FineFile = 0;         // 1 when the last record read went past the end

  // Procedure trace: slots 1..10, IndiceTraccia the newest (0: none yet).
  TraceRing UltimeProcedure;
  int16_t IndiceTraccia = 0;

  // Record buffers of field access, one per record prefix.
  RecordBuffers RecordRepository;

  // What the operator must be told about the installation, each finding
  // once, kept for the life of the process.
  std::vector<ArchiveFinding> Rilievi;
};

}  // namespace vx::archive
