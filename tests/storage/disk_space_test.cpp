#include "storage/disk_space.h"

#include "storage/level_fixture.h"

namespace kv::test {
namespace {

// A file system of the given kind with `clusters` free clusters of `size`
// bytes (nullopt: its free space cannot be learnt).
DiskProbe Disk(fs::DriveKind kind, std::optional<fs::DiskSpace> space) {
  return {[kind](const std::filesystem::path&) { return kind; },
          [space](const std::filesystem::path&) { return space; }};
}
DiskProbe Local(std::uint64_t clusters, std::uint64_t size) {
  return Disk(fs::DriveKind::Fixed, fs::DiskSpace{clusters, size});
}

class DiskSpaceTest : public LevelFixture {};

TEST_F(DiskSpaceTest, FreeSpaceCheckIsMadeOnlyOnANearlyFullLocalDisk) {
  st.DataLen = 512;  // 512,000 bytes needed
  EXPECT_TRUE(FreeSpaceCheck(st, Local(1001, 1)));   // more than 1000 clusters: no check
  EXPECT_TRUE(FreeSpaceCheck(st, Local(1000, 512)));  // checked: exactly enough
  EXPECT_TRUE(FreeSpaceCheck(st, Disk(fs::DriveKind::Remote, fs::DiskSpace{0, 0})));

  ui.AnswerMsgBox(vbOK, "]のﾃﾞｨｽｸの空き容量が有りません");
  EXPECT_FALSE(FreeSpaceCheck(st, Local(1000, 400)));  // 400,000 bytes
  EXPECT_EQ(ui.Prompts().back().text.rfind("[ /", 0), 0u) << ui.Prompts().back().text;
  EXPECT_EQ(ui.Prompts().back().style, vbOKOnly);
  EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");

  ui.AnswerMsgBox(vbOK, "空き容量");
  EXPECT_FALSE(FreeSpaceCheck(st, Disk(fs::DriveKind::Fixed, std::nullopt)));  // unknown: full
}

TEST_F(DiskSpaceTest, DiskFreeGetNeedsTheComponentFiles) {
  st.CompFileCount = 3;
  st.CompFileExt[1] = ".Y1";
  st.CompFileExt[2] = ".Y2";
  st.CompFileExt[3] = ".INI";
  app.Write("WORK/EST.Y1", std::string(3000, ' '));
  app.Write("WORK/est.ini", std::string(1000, ' '));
  EXPECT_TRUE(DiskFreeGet(st, st.WorkFileBase, "/target/X.YZH", Local(1000, 4)));
  EXPECT_FALSE(DiskFreeGet(st, st.WorkFileBase, "/target/X.YZH", Local(999, 4)));
  EXPECT_TRUE(DiskFreeGet(st, st.WorkFileBase, "/target/X.YZH", Local(1001, 1)));
}

// Levels 2 and deeper: their length, plus 256 bytes for every chain end of
// the older 256-byte form, plus 256.
TEST_F(DiskSpaceTest, DiskSpaceChkMakesRoomForAClosingRecordOfEverySheet) {
  WriteLevel(1, Filler(10));  // level 1 is not counted
  WriteLevel(2, {{' ', 0, 2}, {' ', 0, kNoRecord}, {' ', 0, 4}, {' ', 0, kNoRecord}});
  WriteLevel(3, {{' ', 0, kNoRecord}});
  // 5 × 256 + 3 × 256 + 256 = 2304 bytes
  EXPECT_TRUE(DiskSpaceChk(st, st.WorkFileBase, Local(1000, 2304) /* 2,304,000 */));
  EXPECT_TRUE(DiskSpaceChk(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed, fs::DiskSpace{1, 2304})));
  ui.AnswerMsgBox(vbOK, "空スペースが無いのでディスクに書き込めません\nユーティリティーなどでディスクの整理をして下さい！！");
  EXPECT_FALSE(DiskSpaceChk(st, st.WorkFileBase, Disk(fs::DriveKind::Fixed, fs::DiskSpace{1, 2303})));
  EXPECT_FALSE(ui.Busy());
}

}  // namespace
}  // namespace kv::test
