#include "platform/instance_lock.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/runner.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using Result = InstanceLock::Result;

TEST(InstanceLock, SecondInstanceIsRefusedUntilTheFirstLetsGo) {
  test::TempFolder t;
  InstanceLock first(t / "korvane.lock");
  InstanceLock second(t / "korvane.lock");
  EXPECT_EQ(first.TryAcquire(), Result::Acquired);
  EXPECT_EQ(second.TryAcquire(), Result::HeldByOther);
  EXPECT_FALSE(second.Held());
  first.Release();
  EXPECT_EQ(second.TryAcquire(), Result::Acquired);
  {
    InstanceLock third(t / "korvane.lock");
    EXPECT_EQ(third.TryAcquire(), Result::HeldByOther);
  }
  EXPECT_TRUE(second.Held());
}

TEST(InstanceLock, DestructionReleases) {
  test::TempFolder t;
  { InstanceLock a(t / "k.lock"); ASSERT_EQ(a.TryAcquire(), Result::Acquired); }
  InstanceLock b(t / "k.lock");
  EXPECT_EQ(b.TryAcquire(), Result::Acquired);
}

TEST(InstanceLock, CrashedHolderLeavesItFree) {
  test::TempFolder t;
  const auto path = t / "k.lock";
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    InstanceLock held(path);
    char c = held.TryAcquire() == Result::Acquired ? 'y' : 'n';
    (void)::write(ready[1], &c, 1);
    ::pause();  // killed below, never releasing the lock itself
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  ASSERT_EQ(c, 'y');
  InstanceLock mine(path);
  EXPECT_EQ(mine.TryAcquire(), Result::HeldByOther);
  ::kill(child, SIGKILL);
  ::waitpid(child, nullptr, 0);
  EXPECT_EQ(mine.TryAcquire(), Result::Acquired);
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST(InstanceLock, StartedProgramDoesNotInheritTheLock) {
  test::TempFolder t;
  InstanceLock a(t / "k.lock");
  ASSERT_EQ(a.TryAcquire(), Result::Acquired);
  std::error_code ec;
  long pid = StartProgram("/bin/sh", {"-c", "sleep 2"}, {}, ec);
  ASSERT_GT(pid, 0) << ec.message();
  a.Release();
  InstanceLock b(t / "k.lock");
  EXPECT_EQ(b.TryAcquire(), Result::Acquired);
  ::kill(static_cast<pid_t>(pid), SIGKILL);
  WaitProcessEnd(pid, 5000);
}

TEST(InstanceLock, LockFileLivesInTheRuntimeFolder) {
  const char* old = std::getenv("XDG_RUNTIME_DIR");
  std::string saved = old ? old : "";
  ::setenv("XDG_RUNTIME_DIR", "/run/user/1234", 1);
  EXPECT_EQ(InstanceLockPath(), "/run/user/1234/korvane.lock");
  ::unsetenv("XDG_RUNTIME_DIR");
  EXPECT_EQ(InstanceLockPath(), "/tmp/korvane-" + std::to_string(::getuid()) + ".lock");
  if (old) ::setenv("XDG_RUNTIME_DIR", saved.c_str(), 1);
}

TEST(InstanceLock, UnopenableLockFileTellsNothing) {
  test::TempFolder t;
  InstanceLock a(t / "no/such/folder/k.lock");
  EXPECT_EQ(a.TryAcquire(), Result::Unavailable);
}

}  // namespace
}  // namespace kv
