// Moving down into breakdown sheets and back up, on small level files of a
// three-level estimate written in a temporary work folder, with the sheet
// engine drawing into a plain grid model.
#include "sheet/level_navigation.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "calc/equipment/equipment_recalc.h"
#include "calc/recalc_all_levels.h"
#include "core/record_file.h"
#include "core/sjis_text.h"
#include "editor/page_numbers.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"
#include "sheet/edit_tree.h"
#include "sheet/level_bar_layout.h"
#include "sheet/row_commands.h"
#include "sheet/sheet_engine.h"
#include "state/column_numbers.h"
#include "storage/compaction.h"
#include "storage/file_commands_double.h"
#include "storage/flush_levels.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

std::string J(const char* text) { return ToAnsiBytes(text); }

class Panels : public StatusBarPort {
 public:
  std::array<std::string, 7> panels;
  void StatusPanelSet(int panel, const std::string& text) override {
    if (panel >= 1 && panel <= 6) panels[size_t(panel)] = text;
  }
};

// The window's level bar: its captions and how many pairs were last placed
// visible.
class BarDouble : public LevelBarPort {
 public:
  std::vector<std::string> captionLog;  // "level:caption" in order
  std::array<std::string, 9> captions;
  int shown = -1;
  int placed = 0;
  LevelBarFrame Measures() override { return {}; }
  void PlaceLevelBar(const std::vector<LevelBarPlace>& pairs) override {
    ++placed;
    shown = 0;
    for (const LevelBarPlace& p : pairs) shown += p.visible ? 1 : 0;
  }
  void PlaceGrid(const GridPlace&) override {}
  void SetLevelCaption(int level, const std::string& caption) override {
    captions[size_t(level)] = caption;
    captionLog.push_back(std::to_string(level) + caption);
  }
};

class CalcDouble : public RecordingCalc {
 public:
  void TotalRowsMask(ProgramState&, int rows) override { Add("TotalRowsMask(" + std::to_string(rows) + ")"); }
  void RecalcEquipmentTotals(ProgramState&, bool paint) override {
    Add(std::string("RecalcEquipmentTotals(") + (paint ? "paint" : "quiet") + ")");
  }
  void RowCalc(ProgramState&, std::string&) override { Add("RowCalc()"); }
  void LevelRecalcAndShow(ProgramState&, std::string&, int, int rows) override {
    Add("LevelRecalcAndShow(" + std::to_string(rows) + ")");
  }
};

// The estimate "EST" of three levels:
//   level 1: 工事 (no breakdown), 躯体 (-> level 2 sheet 1), a total row "#",
//            a blank row owning level 2 sheet 2, closing;
//   level 2: sheet 1 = 基礎, 柱 (-> level 3 sheet 1), closing (records 1-3);
//            sheet 2 = 空下, closing (records 4-5);
//   level 3: 型枠, closing.
// Column A is the heading column; the levels' columns lie at different
// byte positions: level 1 A at 20, B at 30; level 2 B at 20, A at 40.
class LevelNavTest : public LevelFixture {
 protected:
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  Panels panels;
  SheetEngine engine{grid, &panels};
  BarDouble bar;
  FileCommandsDouble files;
  RecordingEditor editor;
  CalcDouble calc;

  void SetUp() override {
    LevelFixture::SetUp();
    grid.SetFontMetrics(&metrics);
    grid.SetTotalsLine(true);
    st.sheetEngine = &engine;
    engine.SetLevelBar(&bar);
    st.fileCommands = &files;
    st.editor = &editor;
    st.calc = &calc;
    st.SheetModified = st.PackPending = false;
    editor.calls.clear();
    st.FontName = "ＭＳ 明朝";
    st.KVDisp = "縦";
    st.ToTalNameColmun = 2;
    st.CaptionColmun1 = st.CaptionColmun2 = 1;
    st.DownCopyColmun1 = st.DownCopyColmun2 = 1;
    st.ColStart[2][1] = 40;
    st.ColStart[2][2] = 20;
    for (int l = 1; l <= 3; ++l) {
      st.FormatMasks[l] = MakeColumnMasks(st, l);
      st.LevelCaption[l] = std::string(256, ' ');
    }
    WriteLevel(1, {{' ', 0, 2, kNoRecord, J("工事")},
                   {' ', 0, 3, 1, J("躯体")},
                   {'#', 0, 4, kNoRecord, J("計")},
                   {' ', 0, 5, 4, ""},
                   {'G'}});
    WriteLevel(2, {{' ', 0, 2, kNoRecord, std::string(20, ' ') + J("基礎"), '@'},
                   {' ', 0, 3, 1, std::string(20, ' ') + J("柱")},
                   {'G'},
                   {' ', 0, 5, kNoRecord, std::string(20, ' ') + J("空下"), '@'},
                   {'G'}});
    WriteLevel(3, {{' ', 0, 2, kNoRecord, J("型枠"), '@'}, {'G'}});
    OpenLevelOne();
  }
  void TearDown() override { grid.SetFontMetrics(nullptr); }

  void OpenLevelOne() {
    st.CurrentLevel = 1;
    ASSERT_TRUE(LevelRowsRead(st, 1));
    engine.SheetGridInit(st, 1);
    engine.SheetRedisplay(st, 1, st.UsedRows);
  }

  // F9 on a row of the sheet shown.
  void DownFrom(int row) {
    st.CurrentRow = row;
    grid.SetCurrentRow(row);
    LevelDown(st, &bar);
  }

  // Column A of a sheet row at the current level's positions.
  std::string Heading(int row) const {
    const int start = st.ColStart[st.CurrentLevel][1];
    return ToUnicodeStr(st.SheetRows[size_t(row)].substr(size_t(start - 1), 10));
  }
  std::string FileHeading(int level, int record) const {
    const int start = st.ColStart[level][1];
    return ToUnicodeStr(ReadLevel(level).at(size_t(record - 1)).substr(size_t(start - 1), 10));
  }
  void Edit(int row, const char* text) {
    const int start = st.ColStart[st.CurrentLevel][1];
    st.SheetRows[size_t(row)].replace(size_t(start - 1), 10, Pad(J(text)));
    st.SheetModified = true;
  }
};

TEST_F(LevelNavTest, RefusalsAreSilentAndABlankRowWithABreakdownOpens) {
  struct Case {
    const char* name;
    std::function<void()> arrange;
    int row;
    int level;  // the level after F9
  };
  const std::vector<Case> cases = {
      {"row past Imax", [&] { st.SheetRows[201] = st.SheetRows[2]; }, 201, 1},
      {"deepest level", [&] { st.CurrentLevel = 3; }, 2, 3},
      {"total row", [] {}, 3, 1},
      {"blank row without a breakdown", [&] { SetRow(6, ""); }, 6, 1},
      {"empty sheet", [&] { st.UsedRows = 0; }, 2, 1},
      {"blank row with a breakdown", [] {}, 4, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    OpenLevelOne();
    c.arrange();
    // A refusal comes before the record question.
    st.SheetModified = c.level == 1 || c.level == 3;
    DownFrom(c.row);
    EXPECT_EQ(st.CurrentLevel, c.level);
  }
  EXPECT_EQ(Heading(1), "空下      ");
  EXPECT_TRUE(ui.Prompts().empty());
  EXPECT_EQ(ReadLevel(2).size(), 5u);

  // A row whose only data lies beyond byte 249 is not blank: it is asked
  // about as a row never recorded.
  OpenLevelOne();
  st.SheetRows[6] = std::string(254, ' ') + "x ";
  ui.AnswerMsgBox(vbNo, "記録後に下の階層へ移動して下さい");
  DownFrom(6);
  ui.ExpectAllAnswered();
}

TEST_F(LevelNavTest, GoingDownOpensTheBreakdownWithTheCursorOnRowOne) {
  st.CurrentCol = 1;
  SetTopCell32(grid, 0, 1, 2);
  DownFrom(2);
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Heading(1), "基礎      ");
  EXPECT_EQ(Own(st.ParentRows[1]), 2);
  EXPECT_EQ(st.PathRows[1], 2);
  EXPECT_EQ(st.PathCols[1], 1);
  EXPECT_EQ(st.PathTopCells[1].row, 2);
  EXPECT_EQ(st.CurrentRow, 1);
  EXPECT_EQ(st.CurrentCol, 2);
  EXPECT_EQ(grid.CurrentRow(), 1);
  EXPECT_EQ(grid.CurrentCol(), 2);
  EXPECT_EQ(GetTextData32(grid, 1, 2), "柱        ");  // level 2's column A is grid column 1
  EXPECT_EQ(bar.shown, 1);
  EXPECT_EQ(bar.captions[1], ":躯体      ");
  EXPECT_EQ(panels.panels[2], " 2 行");
  EXPECT_EQ(st.UndoRowCount, 2);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_FALSE(calc.Has("TotalRowsMask(2)"));
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(LevelNavTest, TheCustomerVariantRecalculatesTheBreakdownItOpens) {
  st.CustomerVariant2 = true;
  DownFrom(2);
  EXPECT_EQ(calc.Count("RowCalc()"), 2);
  EXPECT_TRUE(calc.Has("LevelRecalcAndShow(2)"));
}

// Recording on the way down closes the tree's branch of the sheet and opens
// it again read afresh, so a row added to the sheet appears in it.
TEST_F(LevelNavTest, RecordingOnTheWayDownRefreshesTheOpenTreeBranch) {
  TreeModel tree;
  st.TreeShown = true;
  EditTreeConnect(st, tree);
  EditTreeBuild(st);
  tree.UserToggle("Y12   ");
  DownFrom(2);
  ASSERT_EQ(tree.Find("Y12   ")->children.size(), 2u);
  SetRow(3, J("梁"));
  st.UsedRows = 3;
  st.SheetModified = true;
  ui.AnswerMsgBox(vbYes, "記録後に下の階層に移動しますか?");
  DownFrom(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(tree.Find("Y12   ")->children.size(), 3u);
  EXPECT_TRUE(tree.Expanded("Y12   "));
  st.EditTree = nullptr;
}

// A breakdown visited for the first time starts as one row holding the
// parent's heading at the parent level's byte positions; nothing to record.
TEST_F(LevelNavTest, AFirstVisitCopiesTheParentsHeading) {
  st.ReCalcFlag = false;
  DownFrom(1);
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(ToUnicodeStr(st.SheetRows[1].substr(19, 10)), "工事      ");
  EXPECT_EQ(st.SheetRows[1].substr(39, 10), std::string(10, ' '));
  EXPECT_FALSE(st.SheetModified);
  // The heading stands in the label while the breakdown is read, then the
  // path caption replaces it.
  EXPECT_EQ(bar.captionLog, (std::vector<std::string>{"1:工事      ", "1", "1:工事      "}));
  EXPECT_TRUE(calc.Has("TotalRowsMask(1)"));
  EXPECT_EQ(ReadLevel(2).size(), 5u);  // nothing written
}

TEST_F(LevelNavTest, TheHeadingSwitchRewritesADifferingFirstRow) {
  st.DownCopyColmunSw = -1;
  DownFrom(2);  // 躯体 over 基礎
  EXPECT_EQ(Heading(1), "躯体      ");
  EXPECT_EQ(ToUnicodeStr(st.SheetRows[1].substr(19, 12)), "            ");
  EXPECT_TRUE(st.SheetModified);

  // The same heading already there: nothing changes.
  ui.AnswerMsgBox(vbNo, "階層目に移動しますか?");
  int one = 1;
  LevelJump(st, one, &bar);
  WriteLevel(2, {{' ', 0, 2, kNoRecord, std::string(20, ' ') + J("躯体"), '@'}, {'G'}});
  DownFrom(2);
  EXPECT_EQ(Heading(1), "躯体      ");
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(LevelNavTest, AModifiedSheetIsOfferedForRecordingBeforeGoingDown) {
  for (int answer : {vbCancel, vbNo, vbYes}) {
    SCOPED_TRACE(answer);
    SetUp();
    Edit(1, "改工事");
    ui.AnswerMsgBox(answer, "記録後に下の階層に移動しますか?");
    DownFrom(2);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
    EXPECT_EQ(ui.Prompts().back().style & kMsgButtonsMask, vbYesNoCancel);
    EXPECT_EQ(st.CurrentLevel, answer == vbCancel ? 1 : 2);
    EXPECT_EQ(st.SheetModified, answer == vbCancel);
    EXPECT_EQ(FileHeading(1, 1), answer == vbYes ? "改工事    " : "工事      ");
    EXPECT_EQ(st.PackPending, answer == vbYes);
    EXPECT_EQ(editor.Has("PageNumbersWrite()"), answer == vbYes);
    if (answer == vbCancel) {
      EXPECT_EQ(Heading(1), "改工事    ");
    }
  }
}

TEST_F(LevelNavTest, ARowNeverRecordedMustBeRecordedFirst) {
  for (int answer : {vbNo, vbYes}) {
    SCOPED_TRACE(answer);
    SetUp();
    SetRow(5, J("新規"));
    st.UsedRows = 5;
    ui.AnswerMsgBox(answer, "記録後に下の階層へ移動して下さい");
    DownFrom(5);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().style, vbYesNo + vbExclamation);
    if (answer == vbNo) {
      EXPECT_EQ(st.CurrentLevel, 1);
      EXPECT_EQ(ReadLevel(1).size(), 5u);
      continue;
    }
    // The new row was written as record 5 and is the parent of a first visit.
    EXPECT_EQ(st.CurrentLevel, 2);
    EXPECT_EQ(Own(st.ParentRows[1]), 5);
    EXPECT_EQ(FileHeading(1, 5), "新規      ");
    EXPECT_EQ(st.UsedRows, 1);
    EXPECT_EQ(ToUnicodeStr(st.SheetRows[1].substr(19, 10)), "新規      ");
    EXPECT_TRUE(st.PackPending);
  }
}

TEST_F(LevelNavTest, AParentNumberNamingNoRecordIsReportedAndNothingMoves) {
  st.SheetRows[2].replace(3, 4, "  99");
  ui.AnswerMsgBox(vbOK, "EST.Y1");
  DownFrom(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(Heading(1), "工事      ");
}

TEST_F(LevelNavTest, JumpingUpAsksToRecordAModifiedSheet) {
  for (int answer : {vbCancel, vbNo, vbYes}) {
    SCOPED_TRACE(answer);
    SetUp();
    DownFrom(2);
    Edit(1, "改基礎");
    ui.AnswerMsgBox(answer);
    int n = 1;
    LevelJump(st, n, &bar);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().text, "記録後に  1 階層目に移動しますか?");
    EXPECT_EQ(ui.Prompts().back().style & kMsgButtonsMask, vbYesNoCancel);
    EXPECT_EQ(st.SheetModified, answer == vbCancel);
    EXPECT_EQ(st.PackPending, answer == vbYes);
    if (answer == vbCancel) {
      EXPECT_EQ(st.CurrentLevel, 2);
      EXPECT_EQ(Heading(1), "改基礎    ");
      continue;
    }
    EXPECT_EQ(st.CurrentLevel, 1);
    EXPECT_EQ(Heading(2), "躯体      ");
    DownFrom(2);  // what the level file holds now
    EXPECT_EQ(Heading(1), answer == vbYes ? "改基礎    " : "基礎      ");
  }
}

TEST_F(LevelNavTest, ReturningPutsTheCursorAndTopRowBack) {
  SetTopCell32(grid, 0, 1, 2);
  DownFrom(2);
  DownFrom(2);  // into 柱's breakdown
  ASSERT_EQ(st.CurrentLevel, 3);
  EXPECT_EQ(bar.shown, 2);
  SetTopCell32(grid, 0, 1, 1);
  DMLabel_Click(st, 1, &bar);
  EXPECT_EQ(st.CurrentLevel, 1);
  int col = 0, row = 0;
  GetTopCell32(grid, 0, col, row);
  EXPECT_EQ(row, 2);
  EXPECT_EQ(col, 1);
  EXPECT_EQ(st.CurrentRow, 2);
  EXPECT_EQ(grid.CurrentRow(), 2);
  EXPECT_EQ(grid.CurrentCol(), 2);
  EXPECT_EQ(Heading(2), "躯体      ");
  EXPECT_EQ(bar.shown, 0);
  EXPECT_EQ(panels.panels[2], " 4 行");
  EXPECT_FALSE(st.CommandBusy);
  EXPECT_EQ(editor.Count("ToolBarStateSet(1)"), 1);
  EXPECT_EQ(editor.Count("ToolBarStateSet(0)"), 1);
}

TEST_F(LevelNavTest, TheQuietJumpReturnsToLevelOneWithoutRepaint) {
  DownFrom(2);
  panels.panels[2] = "kept";
  bar.captionLog.clear();
  int n = 0;
  LevelJump(st, n, &bar);
  EXPECT_EQ(n, 1);
  EXPECT_EQ(st.CurrentLevel, 1);
  EXPECT_EQ(st.UsedRows, 4);
  EXPECT_EQ(bar.shown, 0);
  EXPECT_TRUE(bar.captionLog.empty());
  EXPECT_EQ(panels.panels[2], "kept");
  EXPECT_EQ(st.CurrentRow, 1);  // left where going down put it

  // A level outside the path does nothing.
  for (int level : {2, -1, 9}) {
    int m = level;
    LevelJump(st, m, &bar);
    EXPECT_EQ(st.CurrentLevel, 1);
  }
  EXPECT_TRUE(ui.Prompts().empty());
}

// A level above cannot be written (its file is past the record limit): the
// move ends with the current sheet, edits and all, in memory and on screen.
TEST_F(LevelNavTest, AFailedRecordKeepsTheCurrentSheet) {
  st.LevelCount = 4;
  st.FormatMasks[4] = MakeColumnMasks(st, 4);
  st.LevelCaption[4] = std::string(256, ' ');
  std::vector<Rec> level3 = {{' ', 0, 2, 1, J("型枠"), '@'}, {'G'}};
  const std::vector<Rec> filler = Filler(9799);
  level3.insert(level3.end(), filler.begin(), filler.end());
  WriteLevel(3, level3);
  WriteLevel(4, {{' ', 0, 2, kNoRecord, J("底"), '@'}, {'G'}});
  DownFrom(2);
  DownFrom(2);
  DownFrom(1);
  ASSERT_EQ(st.CurrentLevel, 4);
  Edit(1, "改底");
  ui.AnswerMsgBox(vbYes, "記録後に  1 階層目に移動しますか?");
  ui.AnswerMsgBox(vbOK, "記録できる最大行数を越えました。");
  int n = 1;
  LevelJump(st, n, &bar);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 4);
  EXPECT_EQ(Heading(1), "改底      ");
  EXPECT_EQ(GetTextData32(grid, 1, 1), "改底      ");
  EXPECT_EQ(Own(st.ParentRows[3]), 1);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(st.PackPending);
  EXPECT_FALSE(ui.Busy());
}

class AskLevelUpTest : public LevelNavTest {
 protected:
  // Level 3 on screen, nothing modified.
  void ToLevelThree() {
    DownFrom(2);
    DownFrom(2);
    ASSERT_EQ(st.CurrentLevel, 3);
  }
  void Answer(const char* window, std::function<void()> play) { ui.AnswerModal(window, std::move(play)); }
};

TEST_F(AskLevelUpTest, OnlyYesAndBackToLevelOneMove) {
  struct Case {
    const char* name;
    std::function<void(ProgramState&)> play;
    int level;
  };
  const std::vector<Case> cases = {
      {"one level up", [](ProgramState& s) { s.Select2Result = 0; }, 2},
      {"no", [](ProgramState& s) { s.Select2Result = 1; }, 3},
      {"back to level one", [](ProgramState& s) { s.Select2Result = 2; }, 1},
      {"Esc", [](ProgramState& s) { s.Select2Result = 1; }, 3},
      {"the title bar's close", [](ProgramState&) {}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetUp();
    ToLevelThree();
    Answer("Select_1", [&] { st.Select2Result = 0; });
    Answer("Select_2", [&] { c.play(st); });
    AskLevelUp(st, &bar);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.CurrentLevel, c.level);
    EXPECT_FALSE(st.CommandBusy);
    EXPECT_EQ(ui.WindowText("Select_2"), "上階層に移動しますか");
    EXPECT_EQ(ui.WindowText("Select_2", "S_Label"), "2階層目に移動しますか？");
    EXPECT_EQ(ui.WindowText("Select_2", "S_Button(2)"), "1階層に戻る");
    EXPECT_TRUE(ui.ControlEnabled("Select_2", "S_Button(2)"));
    if (c.level < 3) {
      EXPECT_EQ(st.CurrentRow, 2);
    }
  }
}

TEST_F(AskLevelUpTest, RecordingIsOfferedFirstAndLevelOneAsksOnlyWhenModified) {
  // Level 2: the record question whatever the state; back to level 1 is not
  // offered.
  DownFrom(2);
  Edit(1, "改基礎");
  Answer("Select_1", [&] { st.Select2Result = 0; });
  Answer("Select_2", [&] { st.Select2Result = 1; });
  AskLevelUp(st, &bar);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_FALSE(st.SheetModified);
  EXPECT_TRUE(st.PackPending);
  EXPECT_FALSE(ui.ControlEnabled("Select_2", "S_Button(2)"));
  EXPECT_EQ(ui.WindowText("Select_2", "S_Label"), "1階層目に移動しますか？");

  // Level 1 unmodified: nothing is shown.
  int one = 1;
  LevelJump(st, one, &bar);
  DownFrom(2);
  EXPECT_EQ(Heading(1), "改基礎    ");
  LevelJump(st, one, &bar);
  const size_t shown = ui.Prompts().size();
  AskLevelUp(st, &bar);
  EXPECT_EQ(ui.Prompts().size(), shown);
  // Modified: the record question only.
  Edit(1, "改工事");
  Answer("Select_1", [&] { st.Select2Result = 1; });
  AskLevelUp(st, &bar);
  ui.ExpectAllAnswered();
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.CurrentLevel, 1);
}

TEST_F(AskLevelUpTest, NothingStartsWhileACommandRuns) {
  ToLevelThree();
  st.CommandBusy = true;
  AskLevelUp(st, &bar);
  DMLabel_Click(st, 1, &bar);
  DM_Button_Click(st, 1, &bar);
  EXPECT_EQ(st.CurrentLevel, 3);
  EXPECT_TRUE(st.CommandBusy);  // the running command keeps its lock
  EXPECT_TRUE(ui.Prompts().empty());
  DMLabel_DblClick(st, 1);
  EXPECT_EQ(st.CurrentLevel, 3);
}

TEST_F(LevelNavTest, AButtonEndsTheMarkingModesBeforeJumping) {
  DownFrom(2);
  st.NotPrintLineMode = st.NotPrintLvlLineMode = true;
  std::vector<std::string> toggled;
  MarkingModeToggles toggles{[&] {
                               toggled.push_back("rows");
                               st.NotPrintLineMode = false;
                             },
                             [&] {
                               toggled.push_back("levels");
                               st.NotPrintLvlLineMode = false;
                             }};
  DM_Button_Click(st, 1, &bar, toggles);
  EXPECT_EQ(toggled, (std::vector<std::string>{"rows", "levels"}));
  EXPECT_EQ(st.CurrentLevel, 1);
}

// The sheet engine's record closes the tree's branch around the write and
// brings the equipment totals up to date before each level's write.
TEST_F(LevelNavTest, TheEngineRecordRecalculatesEquipmentTotalsBeforeEachWrite) {
  DownFrom(2);
  Edit(1, "改基礎");
  calc.calls.clear();
  EXPECT_TRUE(engine.LevelSheetRecord(st));
  st.SheetModified = false;
  std::vector<std::string> equipment;
  for (const std::string& c : calc.calls)
    if (c.rfind("RecalcEquipmentTotals", 0) == 0) equipment.push_back(c);
  EXPECT_EQ(equipment, (std::vector<std::string>{"RecalcEquipmentTotals(paint)", "RecalcEquipmentTotals(quiet)",
                                                 "RecalcEquipmentTotals(quiet)"}));
  int one = 1;
  LevelJump(st, one, &bar);
  DownFrom(2);
  EXPECT_EQ(Heading(1), "改基礎    ");
}

// Giving the edits up on the way to level 1 when level 1 cannot be read: the
// user stays on the breakdown with the edits as they were, told why, and
// nothing is written.
TEST_F(LevelNavTest, GivingEditsUpWhenLevelOneCannotBeReadKeepsTheBreakdown) {
  DownFrom(2);
  ASSERT_EQ(st.CurrentLevel, 2);
  Edit(1, "改");
  std::filesystem::resize_file(LevelPath(1), std::filesystem::file_size(LevelPath(1)) - 100);
  const std::vector<std::string> files = {ReadAll(LevelPath(1)), ReadAll(LevelPath(2)), ReadAll(LevelPath(3))};
  ui.AnswerMsgBox(vbNo, "1 階層目に移動しますか?");
  ui.AnswerMsgBox(vbOK, "作業ファイル [ EST.Y1 ] が壊れています。");
  int n = 1;
  LevelJump(st, n, &bar);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.CurrentLevel, 2);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(Heading(1), "改        ");
  EXPECT_EQ((std::vector<std::string>{ReadAll(LevelPath(1)), ReadAll(LevelPath(2)), ReadAll(LevelPath(3))}), files);
}

// Damaged level files fed to every command that walks chains. The damage
// lies in level 2's file, in or around the sheet of 躯体 (records 1-3) and
// the sheet of the blank row (records 4-5). Each command stops with one
// damaged-file message and leaves every level file as it was (the page
// numbers: every byte but the page fields, which it writes where it can),
// and the sheet in memory is still the one the user was on.
TEST_F(LevelNavTest, DamagedChainsStopEveryCommandThatWalksThem) {
  struct DamageCase {
    const char* name;
    std::function<void()> apply;
    const char* reason;
  };
  auto setNext = [&](int record, int next) {
    RecordFile f(LevelPath(2), st.DataLen);
    std::string rec;
    ASSERT_TRUE(f.GetRecordText(record, rec));
    SetLinkField(rec, kNextPos, next, false);
    f.PutRecordText(record, rec);
    f.Close();
  };
  const std::vector<DamageCase> damages = {
      {"a loop", [&] { setNext(3, 1); }, "レコードのリンクが循環しています"},
      {"a link past the end", [&] { setNext(2, 99); }, "リンク先のレコードがファイルにありません"},
      {"a chain entered in its middle", [&] { setNext(5, 1); }, "一つのレコードが二つのシートからつながっています"},
      {"two chains running into each other", [&] { setNext(4, 2); },
       "一つのレコードが二つのシートからつながっています"},
      {"a record cut short",
       [&] { std::filesystem::resize_file(LevelPath(2), std::filesystem::file_size(LevelPath(2)) - 100); },
       "ファイルの長さがレコード長の倍数ではありません"},
  };

  TreeModel tree;
  // Where the user stands before the files are damaged: level 1, or level 3
  // (躯体 -> 柱).
  auto atLevelThree = [&] {
    DownFrom(2);
    DownFrom(2);
    ASSERT_EQ(st.CurrentLevel, 3);
  };
  struct Command {
    const char* name;
    std::function<void()> before;  // where the user stands
    std::function<void()> run;
    int level;              // the level the user is on afterwards
    bool pageFields = false;  // writes the page fields it can
    const char* question = nullptr;  // asked first, answered No
  };
  const std::vector<Command> commands = {
      {"all-levels recalculation", [] {}, [&] { RecalcAllLevels(st); }, 1},
      {"compaction", [] {}, [&] { EXPECT_FALSE(EstFilePack(st, st.WorkFileBase)); }, 1},
      {"equipment unit/value pair",
       [&] {
         st.SystemKind = 1;
         st.ZokuCount = 1;
         st.ZokuUnitCols[1] = 1;
         st.ZokuValueCols[1] = 2;
         st.ColCarryDef[2][2] = "[[B->[$B";
       },
       [&] {
         std::string rec = st.SheetRows[2];
         EXPECT_TRUE(ZokuPairUpdate(st, rec, 1, 1, 2));
         EXPECT_EQ(rec, st.SheetRows[2]);
       },
       1},
      {"page numbers",
       [&] {
         std::filesystem::create_directories(app.path() / "DATA");
         st.PrintRows[1] = 2;
       },
       [&] { PageNumbersWrite(st); }, 1, true},
      {"tree",
       [&] {
         st.TreeShown = true;
         EditTreeConnect(st, tree);
       },
       [&] { EditTreeBuild(st); }, 1},
      {"level down", [] {}, [&] { DownFrom(2); }, 1},
      {"level up", atLevelThree, [&] {
         int n = 2;
         LevelJump(st, n, &bar);
       },
       3},
      {"level jump giving the edits up", atLevelThree,
       [&] {
         Edit(1, "改");
         int n = 2;
         LevelJump(st, n, &bar);
       },
       1, false, "2 階層目に移動しますか?"},
      {"row delete with record", atLevelThree,
       [&] {
         st.SelTop = st.SelBottom = 1;
         RowDelete(st, grid);
         EXPECT_FALSE(FlushLevels(st));
       },
       3},
      {"row paste with record", atLevelThree,
       [&] {
         st.SelTop = st.SelBottom = 1;
         RowCopy(st);
         st.CurrentRow = 1;
         grid.SetCurrentRow(1);
         RowPaste(st, grid);
         EXPECT_FALSE(FlushLevels(st));
       },
       3},
  };

  const std::vector<std::string> intact = {ReadAll(LevelPath(1)), ReadAll(LevelPath(2)), ReadAll(LevelPath(3))};
  auto files = [&](bool maskPages) {
    std::vector<std::string> out = {ReadAll(LevelPath(1)), ReadAll(LevelPath(2)), ReadAll(LevelPath(3))};
    if (maskPages)
      for (std::string& f : out)
        for (size_t at = 15; at + 4 <= f.size(); at += 256) f.replace(at, 4, "####");
    return out;
  };
  for (const Command& c : commands) {
    for (const DamageCase& d : damages) {
      SCOPED_TRACE(std::string(c.name) + ", " + d.name);
      for (int level = 1; level <= 3; ++level) app.Write("WORK/EST.Y" + std::to_string(level), intact[size_t(level - 1)]);
      st.SystemKind = 0;
      st.TreeShown = false;
      st.SheetModified = false;
      OpenLevelOne();
      c.before();
      d.apply();
      const std::vector<std::string> before = files(c.pageFields);
      const size_t prompts = ui.Prompts().size();
      if (c.question) ui.AnswerMsgBox(vbNo, c.question);
      ui.AnswerMsgBox(vbOK, d.reason);

      c.run();

      ui.ExpectAllAnswered();
      int damaged = 0, others = 0;
      for (size_t i = prompts; i < ui.Prompts().size(); ++i) {
        const Prompt& p = ui.Prompts()[i];
        if (p.kind != PromptKind::MsgBox || (c.question && p.text.find(c.question) != std::string::npos)) continue;
        if (p.text.find("作業ファイル [ EST.Y2 ] が壊れています。\r" + std::string(d.reason)) != std::string::npos)
          ++damaged;
        else
          ++others;
      }
      EXPECT_EQ(damaged, 1);
      EXPECT_EQ(others, 0);
      EXPECT_EQ(files(c.pageFields), before);
      EXPECT_EQ(st.CurrentLevel, c.level);
    }
  }
}

}  // namespace
}  // namespace kv::test
