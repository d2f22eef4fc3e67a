#include "platform/single_instance.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/scratch_prefix.h"

namespace vx::platform {
namespace {

using testing::ScratchPrefix;

// Runs TryAcquire in a child process: 1 when it got the lock, 0 when not.
int AcquireInChild(const WinePrefix& prefix, const char* program) {
  pid_t pid = ::fork();
  if (pid == 0) ::_exit(SingleInstance::TryAcquire(prefix, program) ? 1 : 0);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(SingleInstance, SecondProcessOnTheSamePrefixIsRefused) {
  ScratchPrefix s;
  auto first = SingleInstance::TryAcquire(s.Prefix(), "VXOREL");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(AcquireInChild(s.Prefix(), "VXOREL"), 0);
  // The same prefix spelt another way is the same machine.
  EXPECT_EQ(AcquireInChild(WinePrefix(s.Root() / "drive_c" / ".."), "VXOREL"), 0);
  first.reset();
  EXPECT_EQ(AcquireInChild(s.Prefix(), "VXOREL"), 1);
}

TEST(SingleInstance, OtherPrefixOrProgramIsIndependent) {
  ScratchPrefix a, b;
  auto first = SingleInstance::TryAcquire(a.Prefix(), "VXOREL");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(AcquireInChild(b.Prefix(), "VXOREL"), 1);
  EXPECT_EQ(AcquireInChild(a.Prefix(), "OTHER"), 1);
}

TEST(SingleInstance, LockDiesWithItsProcess) {
  ScratchPrefix s;
  pid_t pid = ::fork();
  if (pid == 0) {
    auto held = SingleInstance::TryAcquire(s.Prefix(), "VXOREL");
    ::_exit(held ? 0 : 1);  // ends without releasing anything itself
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_NE(SingleInstance::TryAcquire(s.Prefix(), "VXOREL"), nullptr);
}

}  // namespace
}  // namespace vx::platform
