#include "core/run_and_wait.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>

#include "platform/runner.h"
#include "support/temp_folder.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point t0) {
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

TEST(WaitForProcess, KeepsTheWindowsAliveWhileTheProgramRuns) {
  test::ScriptedUi ui;
  std::error_code ec;
  long pid = StartProgram("/bin/sh", {"-c", "sleep 0.5"}, {}, ec);
  ASSERT_GT(pid, 0) << ec.message();
  auto t0 = Clock::now();
  WaitForProcess(ui, pid);
  double s = SecondsSince(t0);
  EXPECT_GE(s, 0.4);
  EXPECT_LT(s, 3.0);
  // One event pass per 200 ms wait that timed out.
  EXPECT_GE(ui.ProcessEventsCount(), 1);
  EXPECT_LE(ui.ProcessEventsCount(), 3);
  EXPECT_FALSE(ProcessRunning(pid));
}

TEST(WaitForProcess, DeadProcessReturnsAtOnce) {
  test::ScriptedUi ui;
  std::error_code ec;
  long pid = StartProgram("/bin/true", {}, {}, ec);
  ASSERT_GT(pid, 0);
  WaitForProcess(ui, pid);
  auto t0 = Clock::now();
  WaitForProcess(ui, pid);
  WaitForProcess(ui, 0);
  EXPECT_LT(SecondsSince(t0), 0.1);
}

TEST(RunAndWait, RunsTheProgramInItsOwnFolderAndWaits) {
  test::TempFolder t;
  std::filesystem::create_directory(t / "my app");
  auto tool = t.Write("my app/tool.sh", "#!/bin/sh\nsleep 0.3\npwd > \"$1\"\n");
  ::chmod(tool.c_str(), 0755);
  test::ScriptedUi ui;
  auto t0 = Clock::now();
  std::error_code ec = RunAndWait(ui, "\"" + tool.string() + "\" MP_INFO.DAT", 1);
  EXPECT_FALSE(ec) << ec.message();
  EXPECT_GE(SecondsSince(t0), 0.25);
  EXPECT_EQ(test::ReadAll(t / "my app/MP_INFO.DAT"),
            std::filesystem::canonical(t / "my app").string() + "\n");
}

TEST(RunAndWait, ProgramThatCannotStartIsReturnedToTheCaller) {
  test::ScriptedUi ui;
  EXPECT_EQ(RunAndWait(ui, "/no/such/DOZUR3.exe MP_INFO.DAT", 1), std::errc::no_such_file_or_directory);
  EXPECT_TRUE(RunAndWait(ui, "   ", 1));
  EXPECT_EQ(ui.ProcessEventsCount(), 0);
}

}  // namespace
}  // namespace kv
