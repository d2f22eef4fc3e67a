#pragma once
// What the listing passes keep while they walk the companies and their
// employees. One object per window (or batch run): the passes clear only
// what they are meant to clear, so a count can carry over from one company
// to the next, and from one run to the next, exactly as the listing expects.

#include <cstdint>
#include <string>
#include <vector>

#include "app/sorted_list.h"

namespace vx::app {

struct PassState {
  int16_t IndiceDitta = 0;       // line of List1 being processed
  int16_t IndiceDipendente = 0;  // line of List2 being processed
  int16_t ContoDipendente = 0;   // bank slot of the employee examined
  // Candidates added to List2. Cleared only when a simplified pass starts,
  // so it counts the candidates of every company processed so far in the
  // run; the simplified listing skips companies while it is still 0.
  // Wider than the other counters: a company listed twice in List1 counts
  // its candidates twice, and the sum must not overflow.
  int32_t DipendentiInElenco = 0;
  double RecordDipendente = 0;   // record in archive 2, -1 when not found
  std::string CodiceDipendente;  // code of the employee examined
  SortedList List2;              // the candidates of one company, sorted
  // Bank keys of the company's qualifying employees, in order of first
  // appearance (the grouped detailed listing). Not capped: every bank of a
  // company is listed, however many there are.
  std::vector<std::string> ElencoBanche;
  std::string ChiaveBanca;
};

}  // namespace vx::app
