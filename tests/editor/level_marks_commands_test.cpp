// Clearing the non-print level-row marks of a whole estimate on disk (only
// the "I" print marks change, a file that cannot be read stops the clearing
// and is reported, the shown sheet is read back from the files), and the
// checks before a text search of the estimate starts.
#include "editor/level_marks_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/record_file.h"
#include "storage/file_commands_double.h"
#include "storage/level_fixture.h"
#include "storage/level_marks_clear.h"
#include "storage/level_read.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

// The page numbers written, then what befalls the files.
class PagesEditor : public RecordingEditor {
 public:
  std::function<void()> onPageNumbers;
  void PageNumbersWrite(ProgramState& st) override {
    RecordingEditor::PageNumbersWrite(st);
    if (onPageNumbers) onPageNumbers();
  }
};

class LevelMarksClearTest : public LevelFixture {
 protected:
  FileCommandsDouble files;
  RecordingSheet engine;
  PagesEditor editor;

  LevelMarksClearTest() {
    st.fileCommands = &files;
    st.sheetEngine = &engine;
    st.editor = &editor;
  }

  // Sets byte 2 of record `record` (1-based) of a level file.
  void SetMark(int level, int record, char mark) {
    std::string bytes = ReadAll(LevelPath(level));
    bytes[size_t(record - 1) * size_t(st.DataLen) + 1] = mark;
    app.Write(LevelPath(level).lexically_relative(app.path()).string(), bytes);
  }
  // The level file with every "I" print mark blanked by hand.
  std::string Cleared(std::string bytes) const {
    const size_t len = size_t(st.DataLen);
    for (size_t at = 1; at + len - 1 < bytes.size(); at += len)
      if (bytes[at] == 'I') bytes[at] = ' ';
    return bytes;
  }

  // Two levels: the top sheet's rows 1 and 2 own breakdowns (the second
  // marked "I", the first "U"), row 3 is plain; below, one breakdown whose
  // second row is marked "I".
  void TwoLevels() {
    Configure(256, "10", 2);
    WriteLevel(1, {{' ', 0, 2, 1, "P1"}, {' ', 0, 3, 3, "P2"}, {' ', 0, 4, kNoRecord, "P3"}, {'G', 0, kNoRecord}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, "C1", '@'}, {' ', 0, 5, kNoRecord, "C2"}, {' ', 0, 4, kNoRecord, "D1", '@'},
                   {'G', 0, kNoRecord}, {'G', 0, kNoRecord}});
    SetMark(1, 1, 'U');
    SetMark(1, 2, 'I');
    SetMark(2, 2, 'I');
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
  }
};

// Only the "I" print marks of whole records change, in every level file
// that exists; an "I" elsewhere in a record, the other marks and a partial
// tail stay as they are.
TEST_F(LevelMarksClearTest, OnlyThePrintMarksIOfWholeRecordsChange) {
  Configure(256, "10", 4);
  WriteLevel(1, {{' ', 0, 2, kNoRecord, "I I I"}, {'I', 0, 3}, {' ', 0, 4}, {'G', 0, kNoRecord}});
  WriteLevel(3, {{' ', 0, 2, kNoRecord, "ITEM", '@'}, {'G', 0, kNoRecord}});
  WriteLevel(4, {{' ', 0, kNoRecord, kNoRecord, "x", '@'}});
  SetMark(1, 1, 'I');
  SetMark(1, 2, 'U');
  SetMark(1, 3, 'I');
  SetMark(3, 1, 'I');
  // Level 4 ends in a partial record whose second byte is an "I".
  app.Write(LevelPath(4).lexically_relative(app.path()).string(), ReadAll(LevelPath(4)) + " I tail");
  const std::string before[] = {"", ReadAll(LevelPath(1)), "", ReadAll(LevelPath(3)), ReadAll(LevelPath(4))};

  const LevelMarksClearResult r = NotPrnLevelLineClear(st, st.WorkFileBase, st.DataLen, 'I', 2);

  EXPECT_TRUE(r.ok);
  EXPECT_FALSE(std::filesystem::exists(LevelPath(2)));  // missing: skipped, not made
  for (int level : {1, 3, 4}) {
    SCOPED_TRACE(level);
    EXPECT_EQ(ReadAll(LevelPath(level)), Cleared(before[level]).substr(0, before[level].size() - (level == 4 ? 7 : 0)) +
                                             (level == 4 ? " I tail" : ""));
  }
  const std::vector<std::string> top = ReadLevel(1);
  EXPECT_EQ(top[0][1], ' ');
  EXPECT_EQ(top[1][1], 'U');
  EXPECT_EQ(Text(top[0]), Pad("I I I"));
  EXPECT_EQ(top[1][2], 'I');  // the row kind byte is no print mark
}

// A level file read in several pieces is cleared across their seams, and a
// record file that read it before the clearing reads the cleared marks.
TEST_F(LevelMarksClearTest, LargeFilesAreClearedWholeAndReadBackCleared) {
  Configure(256, "10", 1);
  std::string bytes;
  for (int n = 1; n <= 9000; ++n) {
    std::string rec(256, '.');
    if (n % 7 == 0 || n == 4096 || n == 4097) rec[1] = 'I';  // on either side of a piece's end
    bytes += rec;
  }
  app.Write(LevelPath(1).lexically_relative(app.path()).string(), bytes);
  std::this_thread::sleep_for(std::chrono::milliseconds(150));  // settled: its records are cached
  RecordFile reader(LevelPath(1), 256, RecordFileMode::ReadOnly);
  std::string rec;
  ASSERT_TRUE(reader.GetRecordText(4097, rec));
  ASSERT_EQ(rec[1], 'I');

  ASSERT_TRUE(NotPrnLevelLineClear(st, st.WorkFileBase, st.DataLen, 'I', 2).ok);

  EXPECT_EQ(ReadAll(LevelPath(1)), Cleared(bytes));
  for (int n : {4096, 4097, 8995}) {
    ASSERT_TRUE(reader.GetRecordText(n, rec));
    EXPECT_EQ(rec, std::string(256, '.').replace(1, 1, " ")) << n;
  }
}

// A level file that cannot be read stops the clearing there: the levels
// before it are cleared, those after it untouched, and the file is named.
TEST_F(LevelMarksClearTest, AnUnreadableFileStopsTheClearingAndIsNamed) {
  Configure(256, "10", 3);
  WriteLevel(1, {{' ', 0, 2}, {'G', 0, kNoRecord}});
  WriteLevel(3, {{' ', 0, 2, kNoRecord, "", '@'}, {'G', 0, kNoRecord}});
  SetMark(1, 1, 'I');
  SetMark(3, 1, 'I');
  std::filesystem::create_directory(LevelPath(2));
  const std::string level3 = ReadAll(LevelPath(3));

  const LevelMarksClearResult r = NotPrnLevelLineClear(st, st.WorkFileBase, st.DataLen, 'I', 2);

  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.file, LevelPath(2));
  EXPECT_EQ(ReadLevel(1)[0][1], ' ');
  EXPECT_EQ(ReadAll(LevelPath(3)), level3);
}

TEST_F(LevelMarksClearTest, NotPrintLvlClrRecordsClearsAndShowsTheLevelAgain) {
  TwoLevels();
  st.SheetRows[3][1] = 'I';  // marked in memory, not yet recorded
  st.SheetModified = false;

  NotPrintLvlClr(st);

  for (int level : {1, 2})
    for (const std::string& rec : ReadLevel(level)) EXPECT_NE(rec[1], 'I') << "level " << level;
  EXPECT_EQ(ReadLevel(1)[0][1], 'U');
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(st.SheetRows[1][1], 'U');
  EXPECT_EQ(st.SheetRows[2][1], ' ');
  EXPECT_EQ(st.SheetRows[3][1], ' ');
  EXPECT_TRUE(st.SheetModified);
  EXPECT_TRUE(ui.MessageTexts().empty());
  EXPECT_EQ(editor.calls.back(), "PageNumbersWrite()");
  // After the recording: the page lines, the grid set up, placed and
  // repainted with what the file now holds.
  ASSERT_GE(engine.calls.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(engine.calls.end() - 5, engine.calls.end()),
            (std::vector<std::string>{"PageLinesDraw()", "SheetGridInit(1)", "EdtSheet_Pos()", "DMButtonsLayout()",
                                      "SheetRedisplay(1,3)"}));
  EXPECT_FALSE(st.SheetLoading);
  EXPECT_FALSE(ui.Busy());
}

// The top level is cleared, the level below cannot be read: the user is told
// which file, and the sheet shown is what the top level file now holds.
TEST_F(LevelMarksClearTest, NotPrintLvlClrReportsAFailingFileAndShowsWhatTheFilesHold) {
  TwoLevels();
  std::filesystem::remove(LevelPath(2));
  std::filesystem::create_directory(LevelPath(2));
  st.SheetModified = false;
  ui.AnswerMsgBox(vbOK, "作業ファイル [ EST.Y2 ] を読み書きできませんでした。");

  NotPrintLvlClr(st);

  const std::vector<std::string> messages = ui.MessageTexts();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].rfind("作業ファイル [ EST.Y2 ] を読み書きできませんでした。", 0), 0u) << messages[0];
  EXPECT_EQ(ReadLevel(1)[1][1], ' ');
  EXPECT_EQ(st.SheetRows[2][1], ' ');
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(engine.calls.back(), "SheetRedisplay(1,3)");
}

// The levels are recorded and cleared, then the sheet cannot be read back
// (cut short by then): the user is told once, and the sheet stays as it was
// recorded, not repainted.
TEST_F(LevelMarksClearTest, NotPrintLvlClrKeepsTheSheetWhenItCannotBeReadBack) {
  TwoLevels();
  st.SheetModified = false;
  editor.onPageNumbers = [&] {
    std::filesystem::resize_file(LevelPath(1), std::filesystem::file_size(LevelPath(1)) - 100);
  };
  ui.AnswerMsgBox(vbOK, "[ EST.Y1 ] が壊れています。");

  NotPrintLvlClr(st);

  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.MessageTexts().size(), 1u);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Text(st.SheetRows[1]), Pad("P1"));
  EXPECT_NE(engine.calls.back(), "SheetRedisplay(1,3)");
}

// Nothing is cleared when the sheet cannot be recorded first (here: the
// top sheet was emptied and the user keeps the estimate's file).
TEST_F(LevelMarksClearTest, NotPrintLvlClrStopsWhenTheRecordingFails) {
  TwoLevels();
  const std::string level1 = ReadAll(LevelPath(1));
  for (int row = 1; row <= 3; ++row) st.SheetRows[row].assign(size_t(st.DataLen), ' ');
  st.UsedRows = 0;
  st.SheetModified = false;
  files.discardResult = false;

  NotPrintLvlClr(st);

  EXPECT_EQ(ReadAll(LevelPath(1)), level1);
  EXPECT_FALSE(st.SheetModified);
}

// The refusals of a search start, each case failing only the check named and
// the ones after it: the first failing check speaks.
TEST(SchPreCheck, RefusesInOrder) {
  struct Case {
    const char* what;
    bool searchServesReference;
    bool untitled;
    bool differ;
    int col;
    bool widthDiffers;
    const char* message;  // "" when the search may start
  };
  const Case cases[] = {
      {"reference search", true, true, true, 9, true, "参考画面検索で実行中です"},
      {"untitled", false, true, true, 9, true, "ﾌｧｲﾙを保存後に実行して下さい."},
      {"column past a level", false, false, true, 4, true, "検索の位置が無効です"},
      {"width differs", false, false, true, 2, true, "各階層の整合が異なります"},
      {"columns agree", false, false, true, 3, false, ""},
      {"levels alike: any column", false, false, false, 9, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedUi ui;
    ProgramState st{ui};
    st.WorkFileBase = c.untitled ? "/w/WORK/無題" : "/w/WORK/EST";
    st.SearchSheetLoaded = true;
    st.SearchTitle = c.searchServesReference ? "参考画面検索" : "";
    st.LevelsDifferInCols = c.differ;
    st.LevelCount = 3;
    st.CurrentLevel = 2;
    st.CurrentCol = c.col;
    if (*c.message != '\0') ui.AnswerMsgBox(vbOK, c.message);
    for (int l = 1; l <= 3; ++l) {
      st.ColCount[l] = l == 3 ? 3 : 4;
      for (int k = 1; k <= 4; ++k) {
        st.ColStart[l][k] = 20 + 10 * (k - 1);
        st.ColWidth[l][k] = 10;
      }
    }
    if (c.widthDiffers) st.ColWidth[3][2] = 8;
    EXPECT_EQ(SchPreCheck(st), *c.message == '\0');
    const std::vector<std::string> shown = ui.MessageTexts();
    if (*c.message == '\0')
      EXPECT_TRUE(shown.empty());
    else
      EXPECT_EQ(shown, std::vector<std::string>{c.message});
  }
}

}  // namespace
}  // namespace kv::test
