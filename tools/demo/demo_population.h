#pragma once
// The built-in demo installation: Italian companies and employees with
// realistic names, addresses, banks and payment data, the same for a seed.

#include <cstdint>
#include <string>
#include <vector>

#include "installation_builder.h"

namespace vx::demo {

struct DemoOptions {
  int companies = 8;     // 1..999
  int employees = 250;   // 0..9999: an employee number is a 4-digit record number
  uint64_t seed = 1;
  // 0: every employee banks at a branch of his own. N: the employees share
  // N branches, each with one CIN, ABI and CAB, so that a listing grouped
  // by bank has N groups in all.
  int branches = 0;
  // Employees of the default run (this month, main bank) whose coordinates
  // are spoiled afterwards; the rest of the installation is unchanged.
  int faulty = 0;
};

// Fills an empty builder. Among the companies (when there are at least three)
// one is marked deleted ("99" at the start of its record) though its
// employees are still extracted, and one has a PDF password.
// Returns the codes of the employees made faulty, in code order.
// Throws std::invalid_argument for sizes outside the limits.
std::vector<std::string> PopulateDemo(InstallationBuilder& builder, const DemoOptions& options);

}  // namespace vx::demo
