// The lock file tells another machine that an estimate is being edited. A
// lock taken wrongly lets two machines overwrite each other's work; a lock
// deleted wrongly leaves an estimate unguarded.
#include "storage/lan_lock.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "state/program_state.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

using test::ReadAll;

class LanLockTest : public ::testing::Test {
 protected:
  void SetUp() override {
    st.MachineName = "MACHINE-A";
    st.PackedExt = ".YZH";
    st.LevelExt[1] = ".Y1";
    st.CompFileCount = 1;
    st.CompFileExt[1] = ".Y1";
  }
  std::string Path(const std::string& file) const { return (dir.path() / file).string(); }

  test::TempFolder dir;
  test::ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(LanLockTest, TakesAFreeLockWithTheMachineName) {
  EXPECT_EQ(LockFilePath(st, Path("見積A.YZH")), Path("見積A.$$$"));
  EXPECT_TRUE(LanLockAcquire(st, Path("見積A.YZH")));
  EXPECT_EQ(ReadAll(Path("見積A.$$$")), "MACHINE-A\r\n");
  EXPECT_TRUE(LockIsMine(st, Path("見積A.$$$")));
}

TEST_F(LanLockTest, UntitledEstimatesHaveNoLock) {
  EXPECT_EQ(LockFilePath(st, Path("無題")), "");
  EXPECT_TRUE(LanLockAcquire(st, Path("無題")));
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

TEST_F(LanLockTest, OwnLockIsTakenAgainWithoutAsking) {
  dir.Write("A.$$$", "MACHINE-A\r\n");
  EXPECT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  EXPECT_EQ(ReadAll(Path("A.$$$")), "MACHINE-A\r\n");
}

// Another machine's lock, and locks that name no machine one can tell.
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
  EXPECT_EQ(ReadAll(Path("A.$$$")), "MACHINE-A\r\n");
}

TEST_P(ForeignLock, IsNeverReleasedByThisMachine) {
  dir.Write("A.$$$", GetParam().content);
  st.CurrentFilePath = Path("A.YZH");
  LanLockRelease(st);
  EXPECT_EQ(ReadAll(Path("A.$$$")), GetParam().content);
}

INSTANTIATE_TEST_SUITE_P(Locks, ForeignLock,
                         ::testing::Values(ForeignCase{"OtherMachine", "MACHINE-B\r\n"},
                                           ForeignCase{"NamePrefix", "MACHINE-AB\r\n"},
                                           ForeignCase{"Empty", ""},
                                           ForeignCase{"Binary", std::string("\0\xFF\x81MACHINE-A", 12)},
                                           ForeignCase{"BlankLine", "\r\nMACHINE-A\r\n"}),
                         [](const auto& info) { return info.param.name; });

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

TEST_F(LanLockTest, ReleaseDeletesOnlyThisMachinesLock) {
  ASSERT_TRUE(LanLockAcquire(st, Path("A.YZH")));
  st.CurrentFilePath = Path("A.YZH");
  LanLockRelease(st);
  EXPECT_FALSE(std::filesystem::exists(Path("A.$$$")));
  LanLockRelease(st);  // nothing there: nothing to say
  EXPECT_TRUE(ui.MessageTexts().empty());
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

// Two machines sharing one estimate folder.
TEST(LanLockMachines, TheSecondIsRefusedOrForcesAndTheFirstKeepsItsLockOtherwise) {
  test::TempFolder shared;
  test::ScriptedUi uiA, uiB;
  ProgramState a(uiA), b(uiB);
  for (ProgramState* s : {&a, &b}) {
    s->PackedExt = ".YZH";
    s->CompFileCount = 0;
  }
  a.MachineName = "MACHINE-A";
  b.MachineName = "MACHINE-B";
  const std::string file = (shared.path() / "共有.YZH").string();
  const std::string lock = (shared.path() / "共有.$$$").string();
  ASSERT_TRUE(LanLockAcquire(a, file));
  a.CurrentFilePath = file;

  uiB.AnswerModal("LAN_Msg_frm", [&] { b.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(b, file));
  EXPECT_EQ(ReadAll(lock), "MACHINE-A\r\n");
  EXPECT_TRUE(LanLockAcquire(a, file));  // the first goes on without a question

  uiB.AnswerModal("LAN_Msg_frm", [&] { b.LanMsgAnswer = 1; });
  EXPECT_TRUE(LanLockAcquire(b, file));
  b.CurrentFilePath = file;
  EXPECT_EQ(ReadAll(lock), "MACHINE-B\r\n");
  LanLockRelease(a);  // the first machine never deletes the second's lock
  EXPECT_EQ(ReadAll(lock), "MACHINE-B\r\n");
  uiA.AnswerModal("LAN_Msg_frm", [&] { a.LanMsgAnswer = 0; });
  EXPECT_FALSE(LanLockAcquire(a, file));
  LanLockRelease(b);
  EXPECT_FALSE(std::filesystem::exists(lock));
}

}  // namespace
}  // namespace kv
