#pragma once
// Spoils the bank coordinates of a few employees of a demo installation, the
// way they go wrong in real archives, so that a newcomer sees what the
// coordinate checks report.

#include <cstdint>
#include <string>
#include <vector>

#include "installation_builder.h"

namespace vx::demo {

// Spoils one coordinate of `count` employees drawn (the same for a seed)
// from `candidates`, in turn: a changed IBAN check digit, a CIN that does not
// match its account (the IBAN check digits made to match it), a malformed
// BIC, a missing account, a mistyped account digit. Returns the spoiled
// employees' codes in code order. Throws std::invalid_argument when there
// are fewer candidates than `count`.
std::vector<std::string> SpoilCoordinates(InstallationBuilder& builder, std::vector<std::string> candidates,
                                          int count, uint64_t seed);

}  // namespace vx::demo
