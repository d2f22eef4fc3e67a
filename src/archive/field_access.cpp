#include "archive/payroll_archives.h"

#include "archive/field_value.h"
#include "archive/number_value.h"
#include "archive/repeated_groups.h"
#include "archive/text.h"

namespace vx::archive {

int16_t PayrollArchives::ShiftOf(std::string_view descriptor, int16_t occurrence) {
  const GroupShift shift = archive::RepoSpostamento(descriptor, occurrence);
  if (shift.unknown_id_letter) Message("ERRORE REPOSITORY - LETTERA SCONOSCIUTA");
  return shift.shift;
}

int16_t PayrollArchives::RepoSpostamento(std::string_view descriptor, int16_t occurrence) {
  int16_t shift = 0;
  Guarded([&] {
    shift = ShiftOf(descriptor, occurrence);
  });
  return shift;
}

std::string PayrollArchives::RepoR(std::string_view descriptor, int16_t occurrence,
                                   std::string_view record) {
  std::string field;
  for (;;) {
    try {
      const int16_t shift = ShiftOf(descriptor, occurrence);
      if (!record.empty()) return FieldText(descriptor, shift, record);
      const std::string* buffer = state.RecordRepository.Find(Mid(descriptor, 1, 5));
      if (buffer == nullptr) MessageAndEnd("ERRORE REPOSITORY - STRCOSTANTE");
      return FieldText(descriptor, shift, *buffer);
    } catch (const platform::RuntimeError& error) {
      // Field access leaves no trace of its own unless it fails.
      TRACCIA("RepoR");
      if (GESTIERRORE(error) == ErrorOutcome::Skip) return field;
    }
  }
}

double PayrollArchives::RepoN(std::string_view descriptor, int16_t occurrence,
                              std::string_view record) {
  const std::string text = RepoR(descriptor, occurrence, record);
  double value = 0;
  Guarded([&] { value = NumericValue(text); });
  return value;
}

}  // namespace vx::archive
