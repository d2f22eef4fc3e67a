#pragma once
// What the main window keeps between start-up and the runs: the payroll date
// record, the current year's extraction and the company list shown to the
// operator. A fresh FormState is a window that has not started yet.

#include <cstdint>
#include <string>
#include <vector>

namespace vx::app {

// The extraction holds at most this many employee codes, in slots 1..10000.
inline constexpr std::size_t kSlotsEstrazione = 10000;

// Caption of the main window, also the title of its messages.
inline constexpr const char* kCaptionFinestra = "Stampa Pagamento in C/C";

struct FormState {
  // Employee codes of the extraction from slot 1; the first empty slot ends
  // the list. Slot 0 is not used.
  std::vector<std::string> ElencoEstrazione = std::vector<std::string>(kSlotsEstrazione + 1);
  // 1 when the current year has no extraction.
  int16_t EstrazioneMancante = 0;
  // Record 1 of the payroll date archive as read at start-up (positions 3-4
  // the month, 5-8 the year).
  std::string DataPaghe;
  // One cp1252 line per company: code, name, ten-character company code.
  std::vector<std::string> List1;
};

}  // namespace vx::app
