// Programs of one machine that take the same lock at the same instant: one
// gets it, the other is asked, every time; and the lock is never seen
// half-written.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "state/program_state.h"
#include "storage/lan_lock.h"
#include "support/lock_lines.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

// A user who gives up whenever asked, and acknowledges every message.
class GivingUpUi : public test::ScriptedUi {
 public:
  ProgramState* st = nullptr;
  int asked = 0;
  int MsgBox(std::string_view, int, std::string_view) override { return vbOK; }
  void ShowModal(std::string_view) override {
    ++asked;
    st->LanMsgAnswer = kLanAnswerGiveUp;
  }
};

struct RaceCase {
  const char* name;
  std::string before;  // the lock file before the start ("" none; "stale"; or bytes)
};

class LanLockRace : public ::testing::TestWithParam<RaceCase> {};

TEST_P(LanLockRace, FiftyPairsWithOneMachineNameGiveExactlyOneHolderEachTime) {
  constexpr int kPairs = 50;
  for (int pair = 0; pair < kPairs; ++pair) {
    test::TempFolder dir;
    const std::string file = (dir.path() / "共有.YZH").string();
    const std::string lock = (dir.path() / "共有.$$$").string();
    if (GetParam().before == "stale")
      dir.Write("共有.$$$", test::HolderLock("HOST", test::EndedProcessId()));
    else if (!GetParam().before.empty())
      dir.Write("共有.$$$", GetParam().before);

    GivingUpUi ui[2];
    ProgramState one(ui[0]), two(ui[1]);
    ProgramState* programs[2] = {&one, &two};
    bool took[2] = {false, false};
    std::atomic<int> ready{0};
    std::thread threads[2];
    for (int i = 0; i < 2; ++i) {
      ProgramState& s = *programs[i];
      s.MachineName = "HOST";
      s.PackedExt = ".YZH";
      ui[i].st = &s;
      threads[i] = std::thread([&, i] {
        ++ready;
        while (ready.load() < 2) {
        }
        took[i] = LanLockAcquire(*programs[i], file);
      });
    }
    for (std::thread& t : threads) t.join();

    const int holders = int(LockIsOurs(one, lock)) + int(LockIsOurs(two, lock));
    ASSERT_EQ(holders, 1) << "pair " << pair;
    const int winner = LockIsOurs(one, lock) ? 0 : 1;
    EXPECT_TRUE(took[winner]) << "pair " << pair;
    EXPECT_FALSE(took[1 - winner]) << "pair " << pair;
    EXPECT_EQ(ui[1 - winner].asked, 1) << "pair " << pair;
    EXPECT_EQ(ui[winner].asked, 0) << "pair " << pair;
    // Nothing but the lock stays in the folder.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++files;
    EXPECT_EQ(files, 1) << "pair " << pair;
  }
}

INSTANTIATE_TEST_SUITE_P(Starts, LanLockRace,
                         ::testing::Values(RaceCase{"NoLock", ""}, RaceCase{"StaleLock", "stale"},
                                           RaceCase{"OtherInstallationOfThisMachine", "HOST\r\n"}),
                         [](const auto& info) { return info.param.name; });

// While one program takes and releases a lock over and over, another reads it:
// it finds the lock whole or finds none, never an empty or partial one.
TEST(LanLockReaders, NeverSeeAnEmptyLock) {
  test::TempFolder dir;
  const std::string file = (dir.path() / "共有.YZH").string();
  const std::string lock = (dir.path() / "共有.$$$").string();
  test::ScriptedUi ui;
  ProgramState holder(ui);
  holder.MachineName = "HOST";
  holder.PackedExt = ".YZH";
  ASSERT_TRUE(LanLockAcquire(holder, file));
  const std::string whole = test::ReadAll(lock);
  LanLockReleaseOf(holder, file);

  std::atomic<bool> done{false};
  std::atomic<int> partial{0};
  std::thread reader([&] {
    while (!done.load()) {
      // A lock once opened keeps its bytes, even when it is released meanwhile.
      std::ifstream in(lock, std::ios::binary);
      if (!in) continue;
      const std::string seen(std::istreambuf_iterator<char>(in), {});
      if (seen != whole) ++partial;
    }
  });
  for (int i = 0; i < 2000; ++i) {
    ASSERT_TRUE(LanLockAcquire(holder, file));
    LanLockReleaseOf(holder, file);
  }
  done = true;
  reader.join();
  EXPECT_EQ(partial.load(), 0);
}

}  // namespace
}  // namespace kv
