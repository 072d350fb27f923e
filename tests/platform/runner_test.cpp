#include "platform/runner.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "platform/machine.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

TEST(Runner, SplitsCommandLinesAtBlanksOutsideQuotes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(SplitCommandLine("/app/DOZUR3.exe MP_INFO.DAT"), (V{"/app/DOZUR3.exe", "MP_INFO.DAT"}));
  EXPECT_EQ(SplitCommandLine("  a   b  "), (V{"a", "b"}));
  EXPECT_EQ(SplitCommandLine("\"/my app/x\" \"a b\" c"), (V{"/my app/x", "a b", "c"}));
  EXPECT_EQ(SplitCommandLine("x \"\""), (V{"x", ""}));
  EXPECT_EQ(SplitCommandLine(""), V{});
}

TEST(Runner, WaitsForAShortLivedProgram) {
  std::error_code ec;
  auto t0 = Clock::now();
  long pid = StartProgram("/bin/sh", {"-c", "sleep 0.3"}, {}, ec);
  ASSERT_GT(pid, 0) << ec.message();
  EXPECT_TRUE(ProcessRunning(pid));
  EXPECT_FALSE(WaitProcessEnd(pid, 50));
  while (!WaitProcessEnd(pid, 200)) {
  }
  EXPECT_GE(SecondsSince(t0), 0.25);
  EXPECT_LT(SecondsSince(t0), 3.0);
  EXPECT_FALSE(ProcessRunning(pid));
  // Reaped: no zombie is left behind.
  EXPECT_EQ(::waitpid(static_cast<pid_t>(pid), nullptr, WNOHANG), -1);
}

TEST(Runner, DeadOrInvalidProcessIdsReturnAtOnce) {
  std::error_code ec;
  long pid = StartProgram("/bin/true", {}, {}, ec);
  ASSERT_GT(pid, 0);
  while (!WaitProcessEnd(pid, 200)) {
  }
  auto t0 = Clock::now();
  EXPECT_TRUE(WaitProcessEnd(pid, 5000));
  EXPECT_TRUE(WaitProcessEnd(0, 5000));    // never the process group
  EXPECT_TRUE(WaitProcessEnd(-1, 5000));   // never every process
  EXPECT_LT(SecondsSince(t0), 0.5);
  EXPECT_FALSE(ProcessRunning(0));
  EXPECT_FALSE(ProcessRunning(-1));
}

TEST(Runner, ProgramThatCannotStartIsReported) {
  std::error_code ec;
  EXPECT_EQ(StartProgram("/no/such/program", {}, {}, ec), -1);
  EXPECT_EQ(ec, std::errc::no_such_file_or_directory);
}

TEST(Runner, RunsInTheFolderGiven) {
  test::TempFolder t;
  std::error_code ec;
  long pid = StartProgram("/bin/sh", {"-c", "pwd > where.txt"}, t.path(), ec);
  ASSERT_GT(pid, 0) << ec.message();
  while (!WaitProcessEnd(pid, 200)) {
  }
  EXPECT_EQ(test::ReadAll(t / "where.txt"), std::filesystem::canonical(t.path()).string() + "\n");
}

TEST(Machine, NameIsTheHostName) {
  std::ifstream in("/proc/sys/kernel/hostname");
  std::string host;
  std::getline(in, host);
  EXPECT_FALSE(LocalMachineName().empty());
  if (!host.empty()) {
    EXPECT_EQ(LocalMachineName(), host);
  }
}

}  // namespace
}  // namespace kv
