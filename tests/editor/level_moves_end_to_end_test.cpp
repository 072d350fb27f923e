// A three-level estimate on the default layout, written with the level
// writer and packed, opened by a program, walked through the sheet grid's
// events: F9 twice down to the breakdown of a breakdown, a price typed there,
// Esc answered to record and go up (twice), a row-header click down again,
// Esc back, File > Save; a program started afresh reads the new total at the
// top sheet.
#include <gtest/gtest.h>

#include "calc/calc_engine.h"
#include "editor_grid_fixture.h"
#include "editor/level_estimate.h"
#include "platform/grid/grid_keys.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_fields.h"
#include "state/column_defs.h"
#include "storage/file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv::test {
namespace {

constexpr int kName = kLayoutName, kPrice = kLayoutPrice, kAmount = kLayoutAmount;

std::string Cell(const ProgramState& st, int row, int col) {
  const std::string& rec = row == 0 ? st.SheetTotalRecord : st.SheetRows[size_t(row)];
  std::string s = FieldText(st, rec, col, st.CurrentLevel);
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

TEST(LevelMovesEndToEnd, APriceTypedTwoLevelsDownReachesTheTopSheetsTotal) {
  TempFolder shared;
  std::filesystem::create_directories(shared.path() / "DATA");
  const std::string file = (shared.path() / "DATA" / "港北ビル改修.YZH").string();
  {
    // 躯体工事 (1) -> 基礎 (1) -> 型枠: 2 at 1000.
    Program w("MACHINE-A");
    CalcEngine calc;
    w.st.calc = &calc;
    w.st.ReCalcFlag = true;
    ASSERT_TRUE(SumColumnFind(w.st));
    ASSERT_GE(w.st.LevelCount, 3);
    w.st.CurrentFilePath = file;
    w.st.WorkFileBase = w.Work() + "/港北ビル改修";
    w.st.KVData = (shared.path() / "DATA").string();
    WriteLevelSheet(w, 1, {PricedRow(w.st, 1, "躯体工事", "1", "")});
    WriteLevelSheet(w, 2, {PricedRow(w.st, 2, "基礎", "1", "")});
    WriteLevelSheet(w, 3, {PricedRow(w.st, 3, "型枠", "2", "1000")});
    ASSERT_EQ(PackEstimateFile(w.st, file, true), kEstimatePacked);
  }

  {
    Program p("MACHINE-B");
    ProgramState& st = p.st;
    CalcEngine calc;
    st.calc = &calc;
    st.ReCalcFlag = true;
    st.AutoDownFlag = 0;
    UiGridFontMetrics metrics{p.ui};
    GridModel grid, rowSheet;
    grid.SetFontMetrics(&metrics);
    grid.SetTotalsLine(true);
    SheetEngine engine{grid, nullptr};
    st.sheetEngine = &engine;
    CalcBoxDouble box;
    MemoDouble memo;
    EditorGrids g{st, grid, rowSheet, box, memo};
    WireEditorGridEvents(g);
    p.ui.AnswerOpenDialog(file);
    FileOpen(st);
    ASSERT_EQ(st.CurrentFilePath, file);
    ASSERT_EQ(st.CurrentLevel, 1);

    grid.SetCursor(kName, 1);
    grid.KeyDown(gridkey::kF9, false, false);
    ASSERT_EQ(st.CurrentLevel, 2);
    EXPECT_EQ(Cell(st, 1, kName), "基礎");
    grid.SetCursor(kName, 1);
    grid.KeyDown(gridkey::kF9, true, true);  // any modifiers
    ASSERT_EQ(st.CurrentLevel, 3);
    EXPECT_EQ(Cell(st, 1, kName), "型枠");
    EXPECT_FALSE(st.CommandBusy);

    grid.SetCursor(kPrice, 1);
    ASSERT_TRUE(grid.StartEditByTyping('1', ""));
    grid.CommitEdit("1500");
    EXPECT_EQ(Cell(st, 1, kAmount), "3000");
    ASSERT_TRUE(st.SheetModified);

    // Esc: record (Yes), one level up (Yes); then from level 2 without
    // recording, up again.
    p.ui.AnswerModal("Select_1", [&] { st.Select2Result = 0; });
    p.ui.AnswerModal("Select_2", [&] { st.Select2Result = 0; });
    grid.KeyDown(gridkey::kEscape, false, false);
    ASSERT_EQ(st.CurrentLevel, 2);
    EXPECT_EQ(Cell(st, 1, kPrice), "3000");
    p.ui.AnswerModal("Select_1", [&] { st.Select2Result = 1; });
    p.ui.AnswerModal("Select_2", [&] { st.Select2Result = 0; });
    grid.KeyDown(gridkey::kEscape, false, false);
    ASSERT_EQ(st.CurrentLevel, 1);
    EXPECT_EQ(Cell(st, 1, kAmount), "3000");
    EXPECT_EQ(Cell(st, 0, kAmount), "3000");
    EXPECT_EQ(RTrimBlanks(grid.CellText(kAmount, st.Imax + 1)), "3,000");

    // A click on the row's header goes down too; Esc (No, Yes) comes back.
    grid.LeftButtonDown(1, 0, 1, false);
    ASSERT_EQ(st.CurrentLevel, 2);
    EXPECT_FALSE(st.CommandBusy);
    p.ui.AnswerModal("Select_1", [&] { st.Select2Result = 1; });
    p.ui.AnswerModal("Select_2", [&] { st.Select2Result = 0; });
    grid.KeyDown(gridkey::kEscape, false, false);
    ASSERT_EQ(st.CurrentLevel, 1);

    EXPECT_EQ(FileSaveRun(st), SaveResult::Saved);
    FileNew(st);  // closes it
    p.ui.ExpectAllAnswered();
    st.sheetEngine = nullptr;
    grid.SetFontMetrics(nullptr);
  }

  Program next("MACHINE-C");
  next.ui.AnswerOpenDialog(file);
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, file);
  EXPECT_EQ(Cell(next.st, 1, kPrice), "3000");
  EXPECT_EQ(Cell(next.st, 1, kAmount), "3000");
  EXPECT_EQ(Cell(next.st, 0, kAmount), "3000");
}

}  // namespace
}  // namespace kv::test
