#pragma once
// The bank coordinates of the employees one company listed, checked before
// the money moves: what cannot be right goes into the run report, in the
// operator's words, with the value found and the value expected.

#include <optional>
#include <string>
#include <vector>

#include "app/listed_employee.h"
#include "app/run_report.h"

namespace vx::app {

// Checks every employee of `listed` (one company's, in listing order) and
// adds one entry per problem under the topic "Coordinate", then says how
// many employees were checked. Errors: an IBAN, CIN or BIC that cannot be
// right, an account or IBAN left blank. Notices: two employees of the
// company sharing an IBAN (joint accounts are common), a net pay that
// transfers nothing.
void CheckListedCoordinates(const std::string& company_code, const std::vector<ListedEmployee>& listed,
                            RunReport& report);

// What is wrong with an employee's BIC (trimmed) for a transfer to `iban`,
// in the operator's words, or nothing: a BIC of the wrong shape, or of
// another country than the IBAN's. A blank BIC, or one of zeros, is none:
// nothing is wrong with it.
std::optional<std::string> BicProblem(const std::string& bic, const std::string& iban);

}  // namespace vx::app
