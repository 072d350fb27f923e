// The lock file tells other programs that an estimate is being edited. A
// lock taken wrongly lets two editors overwrite each other's work; a lock
// deleted wrongly leaves an estimate unguarded.
#include "storage/lan_lock.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "state/program_state.h"
#include "support/lock_lines.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using test::LockMachine;
using test::ReadAll;

void Configure(ProgramState& s, const std::string& machine) {
  s.MachineName = machine;
  s.PackedExt = ".YZH";
  s.LevelExt[1] = ".Y1";
  s.CompFileCount = 1;
  s.CompFileExt[1] = ".Y1";
}

class LanLockTest : public ::testing::Test {
 protected:
  void SetUp() override { Configure(st, "MACHINE-A"); }
  std::string Path(const std::string& file) const { return (dir.path() / file).string(); }
  // Every name in the folder, hidden ones too.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
      names.push_back(e.path().filename());
    return names;
  }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(LanLockTest, AFreeLockNamesMachineAndHolderAndNothingElseIsLeft) {
  EXPECT_EQ(LockFilePath(st, Path("見積A.YZH")), Path("見積A.$$$"));
  EXPECT_TRUE(LanLockAcquire(st, Path("見積A.YZH")));
  const std::string bytes = ReadAll(Path("見積A.$$$"));
  EXPECT_EQ(bytes, "MACHINE-A\r\n" + st.LockHolderLine + "\r\n");
  // The holder: user name, this process, a token.
  EXPECT_NE(st.LockHolderLine.find(" " + std::to_string(::getpid()) + " "), std::string::npos);
  EXPECT_TRUE(LockIsOurs(st, Path("見積A.$$$")));
  EXPECT_EQ(Names(), std::vector<std::string>{"見積A.$$$"});  // no temporary stays
}

TEST_F(LanLockTest, UntitledEstimatesHaveNoLock) {
  EXPECT_EQ(LockFilePath(st, Path("無題")), "");
  EXPECT_TRUE(LanLockAcquire(st, Path("無題")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(LanLockTest, OurLockAndAThisMachineLockOfAnotherInstallationAreTakenWithoutAsking) {
  ASSERT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  const std::string ours = ReadAll(Path("A.$$$"));
  EXPECT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_EQ(ReadAll(Path("A.$$$")), ours);

  dir.Write("B.$$$", "MACHINE-A\r\n");  // no second line
  EXPECT_TRUE(LanLockAcquire(st, Path("B.YZH")));
  EXPECT_TRUE(LockIsOurs(st, Path("B.$$$")));
  EXPECT_TRUE(ui.Prompts().empty());
}

// Locks of another holder, and locks that name no holder one can tell.
struct ForeignCase {
  const char* name;
  std::string content;
};

class ForeignLock : public LanLockTest, public ::testing::WithParamInterface<ForeignCase> {};

TEST_P(ForeignLock, GivingUpKeepsTheLock) {
  dir.Write("A.$$$", GetParam().content);
  ui.AnswerModal("LAN_Msg_frm", [&] {
    EXPECT_EQ(st.LanMsgFileName, Path("A"));
    st.LanMsgAnswer = 0;
  });
  EXPECT_FALSE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_EQ(ReadAll(Path("A.$$$")), GetParam().content);
  EXPECT_TRUE(ui.MessageTexts().empty());
}

TEST_P(ForeignLock, ForcingTakesTheLock) {
  dir.Write("A.$$$", GetParam().content);
  ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 1; });
  EXPECT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_TRUE(LockIsOurs(st, Path("A.$$$")));
}

TEST_P(ForeignLock, IsNeverReleasedByThisProgram) {
  dir.Write("A.$$$", GetParam().content);
  st.CurrentFilePath = Path("A.YZH");
  LanLockRelease(st);
  EXPECT_EQ(ReadAll(Path("A.$$$")), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(
    Locks, ForeignLock,
    ::testing::Values(ForeignCase{"OtherMachine", "MACHINE-B\r\n"},
                      ForeignCase{"OtherMachineWithHolder", test::HolderLock("MACHINE-B", 1)},
                      // Another program of this machine that still runs (this very process).
                      ForeignCase{"ThisMachineLiveHolder", test::HolderLock("MACHINE-A", ::getpid())},
                      ForeignCase{"NamePrefix", "MACHINE-AB\r\n"}, ForeignCase{"Empty", ""},
                      ForeignCase{"Binary", std::string("\0\xFF\x81MACHINE-A", 12)},
                      ForeignCase{"BlankLine", "\r\nMACHINE-A\r\n"}),
    [](const auto& info) { return info.param.name; });

TEST_F(LanLockTest, AStaleLockOfThisMachineIsTakenOverWithAWord) {
  const std::string stale = test::HolderLock("MACHINE-A", test::EndedProcessId());
  dir.Write("A.$$$", stale);
  EXPECT_EQ(LockOwnerOf(st, Path("A.$$$")), LockOwner::Stale);
  ui.AnswerMsgBox(vbOK, StaleLockText(Path("A")));
  EXPECT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_TRUE(LockIsOurs(st, Path("A.$$$")));
  // The same holder on another machine is another machine's lock.
  dir.Write("B.$$$", test::HolderLock("MACHINE-B", test::EndedProcessId()));
  EXPECT_EQ(LockOwnerOf(st, Path("B.$$$")), LockOwner::Other);
}

TEST_F(LanLockTest, AnUnknownMachineOwnsNoLock) {
  st.MachineName = "";
  dir.Write("A.$$$", "\r\n");
  ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(st, Path("A.YZH")));
}

TEST_F(LanLockTest, UnreadableLockCountsAsForeign) {
  std::filesystem::create_directory(Path("A.$$$"));  // cannot be read as a file
  ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_TRUE(std::filesystem::is_directory(Path("A.$$$")));
}

TEST_F(LanLockTest, ReleaseDeletesOnlyOurLock) {
  ASSERT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  st.CurrentFilePath = Path("A.YZH");
  LanLockRelease(st);
  EXPECT_FALSE(std::filesystem::exists(Path("A.$$$")));
  LanLockRelease(st);  // nothing there: nothing to say
  dir.Write("A.$$$", "MACHINE-A\r\n");  // this machine, but not this program
  LanLockRelease(st);
  EXPECT_EQ(ReadAll(Path("A.$$$")), "MACHINE-A\r\n");
  EXPECT_TRUE(ui.MessageTexts().empty());
  EXPECT_TRUE(st.LocksHeld.empty());
}

TEST_F(LanLockTest, AFolderWhereNoLockCanBeMadeLetsTheCommandGoOn) {
  EXPECT_TRUE(LanLockAcquire(st, Path("missing/A.YZH")));
  EXPECT_FALSE(std::filesystem::exists(Path("missing")));
  EXPECT_TRUE(ui.MessageTexts().empty());
}

TEST_F(LanLockTest, SameLockComparesTheLockFiles) {
  EXPECT_TRUE(SameLock(st, Path("A.YZH"), Path("A.Y1")));
  EXPECT_FALSE(SameLock(st, Path("A.YZH"), Path("B.YZH")));
  EXPECT_FALSE(SameLock(st, Path("無題"), Path("無題")));
}

// The lock test before a pack over the open estimate: a lock this program
// held and lost is not taken back silently, whatever became of its taker.
struct PackTestCase {
  const char* name;
  bool held;           // this program took the lock before
  std::string now;     // the lock file now ("" none; "stale"; "ours"; or bytes)
  int dialogAnswer;    // -1: no dialog expected
  bool packs;
};

class PackLockTest : public LanLockTest, public ::testing::WithParamInterface<PackTestCase> {};

TEST_P(PackLockTest, WritesOnlyOverOurOwnEstimate) {
  const PackTestCase& c = GetParam();
  st.CurrentFilePath = Path("A.YZH");
  if (c.held) ASSERT_TRUE(LanLockAcquire(st, st.CurrentFilePath));
  std::filesystem::remove(Path("A.$$$"));
  if (c.now == "ours")
    ASSERT_TRUE(LanLockAcquire(st, st.CurrentFilePath));
  else if (c.now == "stale")
    dir.Write("A.$$$", test::HolderLock("MACHINE-A", test::EndedProcessId()));
  else if (!c.now.empty())
    dir.Write("A.$$$", c.now);
  if (!c.held && c.now == "stale") ui.AnswerMsgBox(vbOK, "既に終了しています");
  if (c.dialogAnswer >= 0) ui.AnswerModal("LAN_Msg_frm", [&] { st.LanMsgAnswer = c.dialogAnswer; });

  EXPECT_EQ(LanLockTestForPack(st), c.packs);
  if (c.packs) EXPECT_TRUE(LockIsOurs(st, Path("A.$$$")));
  ui.ExpectAllAnswered();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PackLockTest,
    ::testing::Values(PackTestCase{"HeldAndOurs", true, "ours", -1, true},
                      PackTestCase{"HeldTakenAndGone", true, "", -1, false},
                      PackTestCase{"HeldTakenAndTakerEnded", true, "stale", -1, false},
                      PackTestCase{"HeldTakenGiveUp", true, "MACHINE-B\r\n", 0, false},
                      PackTestCase{"HeldTakenForce", true, "MACHINE-B\r\n", 1, true},
                      PackTestCase{"HeldTakenByOldInstallationHere", true, "MACHINE-A\r\n", 0, false},
                      PackTestCase{"NeverHeldNoLock", false, "", -1, true},
                      PackTestCase{"NeverHeldStale", false, "stale", -1, true},
                      PackTestCase{"NeverHeldOtherGiveUp", false, "MACHINE-B\r\n", 0, false}),
    [](const auto& info) { return info.param.name; });

// Two programs sharing one estimate folder: on two machines, or on one
// machine (two users, or two program folders).
class LanLockTwoPrograms : public ::testing::TestWithParam<const char*> {};

TEST_P(LanLockTwoPrograms, TheSecondIsRefusedOrForcesAndTheFirstKeepsItsLockOtherwise) {
  test::TempFolder shared;
  test::ScriptedUi uiA, uiB;
  ProgramState a(uiA), b(uiB);
  Configure(a, "MACHINE-A");
  Configure(b, GetParam());
  const std::string file = (shared.path() / "共有.YZH").string();
  const std::string lock = (shared.path() / "共有.$$$").string();
  ASSERT_TRUE(LanLockAcquire(a, file));
  a.CurrentFilePath = file;

  uiB.AnswerModal("LAN_Msg_frm", [&] { b.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(b, file));
  EXPECT_TRUE(LockIsOurs(a, lock));
  EXPECT_TRUE(LanLockAcquire(a, file));  // the first goes on without a question

  uiB.AnswerModal("LAN_Msg_frm", [&] { b.LanMsgAnswer = 1; });
  EXPECT_TRUE(LanLockAcquire(b, file));
  b.CurrentFilePath = file;
  EXPECT_EQ(LockMachine(lock), GetParam());
  LanLockRelease(a);  // the first never deletes the second's lock
  EXPECT_TRUE(LockIsOurs(b, lock));
  uiA.AnswerModal("LAN_Msg_frm", [&] { a.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(a, file));
  LanLockRelease(b);
  EXPECT_FALSE(std::filesystem::exists(lock));
  uiA.ExpectAllAnswered();
  uiB.ExpectAllAnswered();
}

INSTANTIATE_TEST_SUITE_P(Machines, LanLockTwoPrograms, ::testing::Values("MACHINE-B", "MACHINE-A"),
                         [](const auto& info) {
                           return std::string(info.param) == "MACHINE-A" ? "SameMachine" : "TwoMachines";
                         });

}  // namespace
}  // namespace kv
