#include "archive/payroll_archives.h"

#include "archive/number_value.h"

namespace vx::archive {

namespace {

// The 1-based byte where a record starts; record numbers run from 1 to the
// largest the payroll programs can address (error 63 outside).
int64_t RecordPosition(double record, double length) {
  if (!(record >= 0.5 && record < 2147483647.5)) throw platform::MakeRuntimeError(63);
  const auto number = static_cast<int64_t>(WholeNumber(record, 1, 2147483647));
  const auto size = static_cast<int64_t>(length);
  return size * number - size + 1;
}

std::string TraceEntry(const char* operation, double numero_base, double record) {
  std::string entry = operation;
  entry += " (";
  entry += NumberText(numero_base);
  entry += '-';
  entry += NumberText(record);
  entry += ')';
  return entry;
}

// What a record operation was doing, for the error routine.
std::string Doing(const char* what, double numero_base, double record) {
  return std::string(what) + " del record " + NumberText(record) + " dell'archivio " + NumberText(numero_base);
}

}  // namespace

int64_t PayrollArchives::BeginRead(double numero_base, double record) {
  const size_t slot = Slot(numero_base);
  state.UltimoRec[slot] = record;
  TRACCIA(TraceEntry("LEGGIREC", numero_base, record));
  if (static_cast<double>(state.BufferRec[slot].size()) != state.LunghezzaRec[slot]) {
    throw platform::MakeRuntimeError(59);
  }
  return RecordPosition(record, state.LunghezzaRec[slot]);
}

double PayrollArchives::ReadRecord(double numero_base, double record) {
  const int64_t position = BeginRead(numero_base, record);
  const size_t slot = Slot(numero_base);
  return files_.Get(state.CanaleFile[slot], position, state.BufferRec[slot]) ? 1 : 0;
}

double PayrollArchives::ReadRecordAndNext(double numero_base, double record, std::string& next,
                                          bool& next_whole) {
  const int64_t position = BeginRead(numero_base, record);
  const size_t slot = Slot(numero_base);
  RecordPosition(record + 1, state.LunghezzaRec[slot]);  // error 63 before anything is read
  std::string& buffer = state.BufferRec[slot];
  const size_t length = buffer.size();
  read_pair_.resize(2 * length);
  const size_t got = files_.ReadAt(state.CanaleFile[slot], position, read_pair_);
  buffer.assign(read_pair_, 0, length);
  next.assign(read_pair_, length, length);
  next_whole = got == 2 * length;
  return got < length ? 1 : 0;
}

double PayrollArchives::TakeRecord(double numero_base, double record, const std::string& bytes, bool whole) {
  BeginRead(numero_base, record);
  state.BufferRec[Slot(numero_base)] = bytes;
  return whole ? 0 : 1;
}

double PayrollArchives::LEGGIREC(double numero_base, double record) {
  double end_of_file = 0;
  Guarded([&] { end_of_file = ReadRecord(numero_base, record); },
          [&](platform::RuntimeError& error) {
            error.About(NameForMessages(numero_base), Doing("lettura", numero_base, record));
          });
  return end_of_file;
}

void PayrollArchives::SCRIVIREC(double numero_base, double record, const std::string& text) {
  Guarded([&] {
    const size_t slot = Slot(numero_base);
    state.UltimoRec[slot] = record;
    TRACCIA(TraceEntry("SCRIVIREC", numero_base, record));
    std::string& buffer = state.BufferRec[slot];
    if (static_cast<double>(buffer.size()) != state.LunghezzaRec[slot]) {
      throw platform::MakeRuntimeError(59);
    }
    // An empty text writes the buffer as the caller left it.
    if (!text.empty()) {
      if (static_cast<double>(text.size()) != state.LunghezzaRec[slot]) {
        throw platform::MakeRuntimeError(59);
      }
      buffer = text;
    }
    const int64_t position = RecordPosition(record, state.LunghezzaRec[slot]);
    files_.Put(state.CanaleFile[slot], position, buffer);
  }, [&](platform::RuntimeError& error) {
    error.About(NameForMessages(numero_base), Doing("scrittura", numero_base, record));
  });
}

}  // namespace vx::archive
