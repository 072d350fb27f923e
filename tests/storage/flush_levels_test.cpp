#include "storage/flush_levels.h"

#include <filesystem>
#include <functional>
#include <string>
#include <utility>

#include "storage/file_commands_double.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"

namespace kv::test {
namespace {

class FlushLevelsTest : public LevelFixture {
 protected:
  FileCommandsDouble files;

  // A path of `depth` levels: on each level the sheet's first row P<level>
  // holds the breakdown below it; each sheet is record 1 (row) + 2 (closing)
  // of its file, padded to `records` records on level `bigLevel`.
  void BuildPath(int depth, int bigLevel = 0, int records = 0) {
    Configure(256, "10", depth);
    for (int level = 1; level <= depth; ++level) {
      std::vector<Rec> recs = level == bigLevel ? Filler(records) : Filler(2);
      recs[0] = {' ', 0, 2, level < depth ? 1 : kNoRecord, "P" + std::to_string(level), level > 1 ? '@' : ' '};
      recs[1] = {'G', 0, kNoRecord, kNoRecord, ""};
      WriteLevel(level, recs);
    }
    for (int level = 1; level <= depth; ++level) {
      st.CurrentLevel = level;
      if (level > 1) SetParent(level, 1);
      ASSERT_TRUE(LevelRowsRead(st, level));
    }
  }
};

TEST_F(FlushLevelsTest, WritesTheSheetAndEveryLevelAboveThenReadsThePathBack) {
  BuildPath(2);
  SetRow(1, "changed");
  SetRow(2, "added");

  ASSERT_TRUE(FlushLevels(st, &files));

  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("changed"));
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("added"));
  std::vector<std::string> level2 = ReadLevel(2);
  ASSERT_EQ(level2.size(), 3u);
  EXPECT_EQ(RecordByte(level2[2], kKindPos), 'G');
  std::vector<std::string> level1 = ReadLevel(1);
  ASSERT_EQ(level1.size(), 2u);
  EXPECT_EQ(Child(level1[0]), 1);
  EXPECT_EQ(files.calls, (std::vector<std::string>{"SaveSheetObjects(" + st.WorkFileBase + ")"}));
  EXPECT_FALSE(ui.Busy());
}

// A level above the current one cannot be written (its file is full): the
// levels below it are written, the path is read back so the sheet in memory
// is the current level's again, and the failure is reported.
TEST_F(FlushLevelsTest, FailureAboveTheCurrentLevelReadsThePathBack) {
  BuildPath(4, 3, 9801);
  SetRow(1, "edited");
  std::string level2Before = ReadAll(LevelPath(2));
  ui.AnswerMsgBox(vbOK, "記録できる最大行数を越えました。");

  EXPECT_FALSE(FlushLevels(st, &files));

  EXPECT_EQ(st.CurrentLevel, 4);
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("edited"));
  EXPECT_EQ(Text(ReadLevel(4)[0]), Pad("edited"));
  EXPECT_EQ(ReadAll(LevelPath(2)), level2Before);
  EXPECT_FALSE(ui.Busy());
}

// The current level itself cannot be written: its sheet stays in memory,
// edits and all, and is not replaced by what is on disk.
TEST_F(FlushLevelsTest, FailureAtTheCurrentLevelKeepsTheSheetInMemory) {
  BuildPath(3, 3, 9801);
  SetRow(1, "edited");
  SetRow(2, "more");
  ui.AnswerMsgBox(vbOK, "記録できる最大行数を越えました。");

  EXPECT_FALSE(FlushLevels(st, &files));

  EXPECT_EQ(Text(st.SheetRows[1]), Pad("edited"));
  EXPECT_EQ(Text(st.SheetRows[2]), Pad("more"));
  EXPECT_EQ(Text(ReadLevel(3)[0]), Pad("P3"));
  EXPECT_EQ(files.Count("SaveSheetObjects"), 0);
  EXPECT_FALSE(ui.Busy());
}

// The current sheet is written, then a sheet above it cannot be read (here:
// cut short by then): one level up it stops the way up, told once; two levels
// up the writing of level 2 refuses it and the path cannot be read back, each
// telling the user. Either way the sheet in memory is the current level's as
// written, never a parent's rows.
TEST_F(FlushLevelsTest, APathThatCannotBeReadBackLeavesTheCurrentSheetAsWritten) {
  class CuttingFiles : public FileCommandsDouble {
   public:
    std::function<void()> afterObjects;
    void SaveSheetObjects(ProgramState& s, const std::string& workBase) override {
      FileCommandsDouble::SaveSheetObjects(s, workBase);
      if (afterObjects) afterObjects();
    }
  };
  for (const auto& [cut, messages] : {std::pair{2, 1}, std::pair{1, 2}}) {
    SCOPED_TRACE(cut);
    BuildPath(3);
    SetRow(1, "edited");
    SetRow(2, "more");
    CuttingFiles cutting;
    cutting.afterObjects = [&] {
      std::filesystem::resize_file(LevelPath(cut), std::filesystem::file_size(LevelPath(cut)) - 100);
    };
    for (int m = 0; m < messages; ++m) ui.AnswerMsgBox(vbOK, "[ EST.Y" + std::to_string(cut) + " ] が壊れています。");

    EXPECT_FALSE(FlushLevels(st, &cutting));

    ui.ExpectAllAnswered();
    EXPECT_EQ(st.CurrentLevel, 3);
    EXPECT_EQ(st.UsedRows, 2);
    EXPECT_EQ(Text(st.SheetRows[1]), Pad("edited"));
    EXPECT_EQ(Text(st.SheetRows[2]), Pad("more"));
    EXPECT_EQ(Text(ReadLevel(3)[1]), Pad("more"));
    EXPECT_FALSE(ui.Busy());
  }
}

// An emptied top sheet of a named estimate goes to the confirmed discard; the
// estimate file is never deleted here.
TEST_F(FlushLevelsTest, EmptyTopSheetOfANamedEstimateGoesToTheConfirmedDiscard) {
  BuildPath(1);
  std::filesystem::create_directories(app.path() / "DATA");
  app.Write("DATA/EST.YZH", "packed");
  SetRow(1, "");
  for (bool answer : {false, true}) {
    files.discardResult = answer;
    EXPECT_EQ(FlushLevels(st, &files), answer);
    EXPECT_EQ(ReadAll(app.path() / "DATA/EST.YZH"), "packed");
  }
  EXPECT_EQ(files.Count("EmptyFileDiscard"), 2);
  EXPECT_FALSE(FlushLevels(st));  // no one to confirm: refused
  EXPECT_EQ(ReadAll(app.path() / "DATA/EST.YZH"), "packed");
}

TEST_F(FlushLevelsTest, EmptyTopSheetOfTheUntitledEstimateStartsAfresh) {
  BuildPath(1);
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  st.CurrentFilePath = st.WorkFileBase;
  st.SheetModified = true;
  SetRow(1, "");
  EXPECT_TRUE(FlushLevels(st, &files));
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(files.calls.empty());
}

}  // namespace
}  // namespace kv::test
