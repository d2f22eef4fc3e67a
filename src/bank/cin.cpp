#include "bank/cin.h"

#include <string>

#include "bank/sepa.h"

namespace vx::bank {

std::optional<char> ItalianCin(std::string_view abi, std::string_view cab, std::string_view account) {
  // Characters in odd positions (counting from 1) weigh by this table, those
  // in even positions by their own value; a digit stands for the letter of
  // the same rank (0 for A, 1 for B...).
  static constexpr int kOddWeights[26] = {1,  0, 5,  7,  9,  13, 15, 17, 19, 21, 2,  4,  18,
                                          20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
  if (!MatchesBbanFormat(abi, "5n") || !MatchesBbanFormat(cab, "5n") || !MatchesBbanFormat(account, "12c")) {
    return std::nullopt;
  }
  const std::string body = std::string(abi) + std::string(cab) + std::string(account);
  int sum = 0;
  for (size_t i = 0; i < body.size(); ++i) {
    const int rank = body[i] <= '9' ? body[i] - '0' : body[i] - 'A';
    sum += i % 2 == 0 ? kOddWeights[rank] : rank;
  }
  return static_cast<char>('A' + sum % 26);
}

Verdict ValidateItalianBban(std::string_view bban) {
  if (bban.size() != 23) return {Failure::InvalidLength, "23"};
  if (!MatchesBbanFormat(bban, "1a5n5n12c")) return {Failure::InvalidFormat, {}};
  const char cin = *ItalianCin(bban.substr(1, 5), bban.substr(6, 5), bban.substr(11));
  if (bban[0] != cin) return {Failure::InvalidChecksum, std::string(1, cin)};
  return {};
}

}  // namespace vx::bank
