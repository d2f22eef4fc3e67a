#include "platform/regional.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <locale.h>
#include <optional>
#include <string>
#include <vector>

#include "platform/scratch_prefix.h"

namespace vx::platform {
namespace {

using testing::ScratchPrefix;

// Sets the locale variables for one test and puts the old ones back.
class LocaleEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* var : kVars) {
      const char* v = std::getenv(var);
      saved_.emplace_back(v != nullptr ? std::optional<std::string>(v) : std::nullopt);
      ::unsetenv(var);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < kVars.size(); ++i) {
      if (saved_[i]) ::setenv(kVars[i], saved_[i]->c_str(), 1);
      else ::unsetenv(kVars[i]);
    }
  }
  static constexpr std::array<const char*, 3> kVars = {"LC_ALL", "LC_NUMERIC", "LANG"};
  std::vector<std::optional<std::string>> saved_;
  ScratchPrefix s_;
};

TEST_F(LocaleEnvironment, RegistrySettingWins) {
  s_.Write("user.reg",
           "WINE REGISTRY Version 2\n\n[Control Panel\\\\International] 1\n\"sDecimal\"=\",\"\n");
  ::setenv("LC_ALL", "C", 1);
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), ',');
  s_.Write("user.reg",
           "WINE REGISTRY Version 2\n\n[Control Panel\\\\International] 1\n\"sDecimal\"=\".\"\n");
  ::setenv("LC_ALL", "it_IT.UTF-8", 1);
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), '.');
}

TEST_F(LocaleEnvironment, WithoutSettingTheEnvironmentLocaleDecides) {
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), '.');
  // An empty setting says nothing either.
  s_.Write("user.reg", "WINE REGISTRY Version 2\n\n[Control Panel\\\\International] 1\n\"sDecimal\"=\"\"\n");
  ::setenv("LANG", "it_IT.UTF-8", 1);
  locale_t italian = ::newlocale(LC_NUMERIC_MASK, "it_IT.UTF-8", static_cast<locale_t>(nullptr));
  if (italian == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "the Italian locale is not installed";
  ::freelocale(italian);
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), ',');
  // LC_NUMERIC outranks LANG, LC_ALL outranks both.
  ::setenv("LC_NUMERIC", "C", 1);
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), '.');
  ::setenv("LC_ALL", "it_IT.UTF-8", 1);
  EXPECT_EQ(DecimalSeparator(s_.Prefix()), ',');
}

}  // namespace
}  // namespace vx::platform
