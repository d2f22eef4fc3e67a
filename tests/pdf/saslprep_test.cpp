// Password preparation for AES-256 protection, judged by Python's own
// stringprep tables and Unicode normalisation.

#include "pdf/saslprep.h"

#include <gtest/gtest.h>

#include "pdf_oracles.h"

namespace vx::pdf {
namespace {

// SASLprep as its tables define it, applied by Python to every password
// given (cp1252 bytes in hexadecimal, the undefined bytes as the C1 controls
// Windows makes of them); prints the UTF-8 result in hexadecimal, or
// "refused".
const char kOracle[] = R"PY(
import stringprep as sp, sys, unicodedata
def text(b):
    return "".join(bytes([x]).decode("cp1252", errors="ignore") or chr(x) for x in b)
def saslprep(s):
    s = "".join(" " if sp.in_table_c12(c) else c for c in s if not sp.in_table_b1(c))
    s = unicodedata.normalize("NFKC", s)
    tables = (sp.in_table_c12, sp.in_table_c21_c22, sp.in_table_c3, sp.in_table_c4,
              sp.in_table_c5, sp.in_table_c6, sp.in_table_c7, sp.in_table_c8,
              sp.in_table_c9, sp.in_table_a1)
    if any(t(c) for c in s for t in tables):
        return None
    if any(sp.in_table_d1(c) for c in s) and (any(sp.in_table_d2(c) for c in s)
                                             or not sp.in_table_d1(s[0])
                                             or not sp.in_table_d1(s[-1])):
        return None
    return s
for arg in sys.argv[1:]:
    r = saslprep(text(bytes.fromhex(arg)))
    print("refused" if r is None else r.encode().hex())
)PY";

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
  }
  return out;
}

TEST(SaslPrep, AgreesWithTheStringprepTablesOnEveryCp1252Character) {
  std::vector<std::string> passwords;
  for (int byte = 0; byte < 256; ++byte) passwords.push_back("a" + std::string(1, char(byte)) + "Z9");
  passwords.push_back("perch\xE9 \xA0\xAD\x80");
  std::string command = "/usr/bin/python3 -c " + oracles::Quote(kOracle);
  for (const std::string& password : passwords) command += " " + Hex(password);
  const oracles::CommandResult oracle = oracles::RunCommand(command);
  ASSERT_EQ(oracle.status, 0);

  std::string ours;
  for (const std::string& password : passwords) {
    const PreparedPassword prepared = SaslPrep(password);
    ours += prepared.problem == PasswordProblem::None ? Hex(prepared.utf8) : "refused";
    ours += '\n';
  }
  EXPECT_EQ(ours, oracle.output);
}

TEST(SaslPrep, NamesWhatItRefusesAndCutsAt127Bytes) {
  const PreparedPassword tab = SaslPrep("ab\tc");
  EXPECT_EQ(tab.problem, PasswordProblem::ForbiddenCharacter);
  EXPECT_EQ(tab.character, '\t');
  EXPECT_EQ(SaslPrep("\x8D").character, 0x8D);  // undefined in cp1252
  EXPECT_EQ(SaslPrep("\xAD\xAD").problem, PasswordProblem::NothingLeft);
  EXPECT_EQ(SaslPrep("").problem, PasswordProblem::None);
  // 126 letters and a two-byte character: readers keep its first byte.
  const PreparedPassword cut = SaslPrep(std::string(126, 'x') + "\xE9");
  EXPECT_EQ(cut.utf8, std::string(126, 'x') + "\xC3");
}

}  // namespace
}  // namespace vx::pdf
