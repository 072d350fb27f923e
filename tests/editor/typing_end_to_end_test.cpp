// Typed into level 1 of the default layout through the sheet grid's events,
// saved with the file commands, and read by a program started afresh: the
// texts, the formula's quantity, the computed amount and its total are there.
#include <gtest/gtest.h>

#include "calc/calc_engine.h"
#include "editor_grid_fixture.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_fields.h"
#include "storage/file_command_fixture.h"
#include "storage/file_new.h"
#include "storage/file_open.h"
#include "storage/file_save.h"

namespace kv::test {
namespace {

// Columns of level 1 of the default layout.
constexpr int kName = 1, kFormula = 3, kQty = 4, kUnit = 5, kPrice = 6, kAmount = 7;

std::string Cell(const ProgramState& st, int row, int col) {
  const std::string& rec = row == 0 ? st.SheetTotalRecord : st.SheetRows[size_t(row)];
  std::string s = FieldText(st, rec, col, 1);
  const size_t a = s.find_first_not_of(' ');
  if (a == std::string::npos) return "";
  return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

TEST(TypingEndToEnd, WhatIsTypedThroughTheGridIsWhatTheNextProgramReads) {
  TempFolder shared;
  const std::string file = (shared.path() / "港北ビル改修.YZH").string();
  {
    Program p("MACHINE-A");
    CalcEngine calc;
    p.st.calc = &calc;
    p.st.ReCalcFlag = true;
    p.st.AutoDownFlag = 0;
    UiGridFontMetrics metrics{p.ui};
    GridModel grid, rowSheet;
    grid.SetFontMetrics(&metrics);
    grid.SetTotalsLine(true);
    SheetEngine engine{grid, nullptr};
    p.st.sheetEngine = &engine;
    CalcBoxDouble box;
    MemoDouble memo;
    EditorGrids g{p.st, grid, rowSheet, box, memo};
    WireEditorGridEvents(g);
    SheetGridInit(p.st, grid, 1);

    auto type = [&](int col, int row, const std::string& text) {
      grid.SetCursor(col, row);
      ASSERT_EQ(grid.EditMode(), 9) << col;
      ASSERT_TRUE(grid.StartEditByTyping(text.empty() ? 0 : text[0], ""));
      grid.CommitEdit(text);
    };
    type(kName, 1, "鉄骨工事");
    type(kFormula, 1, "12.5*4");
    type(kUnit, 1, "ｍ");
    type(kPrice, 1, "1200");
    type(kName, 2, "塗装");
    type(kQty, 2, "3");
    type(kPrice, 2, "1,000");
    EXPECT_EQ(Cell(p.st, 1, kQty), "50.00");
    EXPECT_EQ(Cell(p.st, 1, kAmount), "60000");
    EXPECT_EQ(RTrimBlanks(grid.CellText(kAmount, 1)), "60,000");
    EXPECT_EQ(RTrimBlanks(grid.CellText(kAmount, p.st.Imax + 1)), "63,000");
    EXPECT_EQ(p.st.UsedRows, 2);
    EXPECT_TRUE(p.st.SheetModified);

    p.ui.AnswerSaveDialog(file);
    ASSERT_TRUE(FileSaveAsRun(p.st, false));
    FileNew(p.st);  // closes it
    p.st.sheetEngine = nullptr;
    grid.SetFontMetrics(nullptr);
    p.ui.ExpectAllAnswered();
  }

  Program next("MACHINE-B");
  next.ui.AnswerOpenDialog(file);
  FileOpen(next.st);
  ASSERT_EQ(next.st.CurrentFilePath, file);
  EXPECT_EQ(next.st.UsedRows, 2);
  EXPECT_EQ(Cell(next.st, 1, kName), "鉄骨工事");
  EXPECT_EQ(Cell(next.st, 1, kFormula), "12.5*4");
  EXPECT_EQ(Cell(next.st, 1, kQty), "50.00");
  EXPECT_EQ(Cell(next.st, 1, kUnit), "ｍ");
  EXPECT_EQ(Cell(next.st, 1, kPrice), "1200");
  EXPECT_EQ(Cell(next.st, 1, kAmount), "60000");
  EXPECT_EQ(Cell(next.st, 2, kName), "塗装");
  EXPECT_EQ(Cell(next.st, 2, kPrice), "1000");
  EXPECT_EQ(Cell(next.st, 0, kAmount), "63000");
}

}  // namespace
}  // namespace kv::test
