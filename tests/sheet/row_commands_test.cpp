// Whole-row commands over the sheet in memory and the grid in step: rows
// move with bytes 2.. (byte 1 stays with the position), the breakdown
// question is asked once, the row limit and the paste refusals, header
// texts and colours, and the popup edit menu's dispatch.
#include "sheet/row_commands.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "edit_fixture.h"
#include "sheet/edit_popup_menu.h"
#include "sheet/undo_clear.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class RowCommandsTest : public EditFixture {
 protected:
  RowCommandsTest() {
    st.LevelCount = 1;
    grid.SetTotalsLine(true);  // as the editor's sheet grid has it
    SheetGridInit(st, grid, 1);
  }

  // Rows named "r1" .. "rN" with quantity and price; byte 1 of each
  // position holds a mark of its own so that its moving would show.
  void Rows(int n) {
    std::vector<std::string> rows;
    for (int i = 1; i <= n; ++i) rows.push_back(Row(' ', {{kName, "r" + std::to_string(i)}, {kQty, "1"}, {kPrice, std::to_string(i)}, {kAmount, std::to_string(i)}}));
    Sheet(rows);
    for (int r = 1; r <= st.Imax; ++r) st.SheetRows[size_t(r)][0] = char('a' + r % 26);
    calc.LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
  }
  void Select(int top, int bottom) {
    st.SelLeft = 1;
    st.SelRight = 10;
    st.SelTop = top;
    st.SelBottom = bottom;
  }
  void WithBreakdown(int row, int link) { SetLinkField(st.SheetRows[size_t(row)], kChildPos, link, false); }
  char Mark(int row) const { return st.SheetRows[size_t(row)][0]; }
  static char MarkOf(int row) { return char('a' + row % 26); }
  std::string Total() const { return Cell(0, kAmount); }
};

TEST_F(RowCommandsTest, DeleteMovesRowsUpAndKeepsByteOneWithThePosition) {
  Rows(10);
  Cursor(kName, 3);
  Select(3, 5);
  RowCopy(st);
  RowDelete(st, grid);

  EXPECT_EQ(st.UsedRows, 7);
  for (int r = 1; r <= 7; ++r) {
    const int from = r < 3 ? r : r + 3;
    EXPECT_EQ(Cell(r, kName), "r" + std::to_string(from)) << r;
    EXPECT_EQ(Shown(kName, r), "r" + std::to_string(from) + std::string(10 - 1 - std::to_string(from).size(), ' ')) << r;
    EXPECT_EQ(Shown(0, r), RowNumberText(r) + " ") << r;
  }
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(Mark(r), MarkOf(r)) << r;
  for (int r = 8; r <= 10; ++r) {
    EXPECT_EQ(st.SheetRows[size_t(r)].substr(1), Blank().substr(1)) << r;
    EXPECT_EQ(Shown(0, r), RowNumberText(r) + " ");
    EXPECT_EQ(grid.CellColour(0, r), 7);
    EXPECT_EQ(Shown(kName, r), "");
  }
  EXPECT_EQ(Total(), "43");  // 1+2+6+7+8+9+10, recalculated
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(bar.panels[2], " 7 行");
  // The deleted rows are in the row clipboard and paste back.
  EXPECT_EQ(st.RowClipTop, 3);
  EXPECT_EQ(st.RowClipBottom, 5);
  Cursor(kName, 3);
  RowPaste(st, grid);
  EXPECT_EQ(st.UsedRows, 10);
  for (int r = 1; r <= 10; ++r) EXPECT_EQ(Cell(r, kName), "r" + std::to_string(r)) << r;
  EXPECT_EQ(Total(), "55");
}

TEST_F(RowCommandsTest, DeleteAsksOnceForRowsWithABreakdown) {
  for (int answer : {vbCancel, vbOK}) {
    SCOPED_TRACE(answer);
    Rows(6);
    WithBreakdown(3, 5);
    WithBreakdown(4, 9);
    const auto before = st.SheetRows;
    Select(2, 4);
    ui.AnswerMsgBox(answer, kBreakdownDeleteQuestion);
    RowDelete(st, grid);
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().style, vbOKCancel + vbExclamation);
    EXPECT_EQ(ui.Prompts().back().title, "TheKorvane");
    if (answer == vbCancel) {
      EXPECT_EQ(st.SheetRows, before);
      EXPECT_EQ(st.UsedRows, 6);
    } else {
      EXPECT_EQ(st.UsedRows, 3);
      EXPECT_EQ(Cell(2, kName), "r5");
    }
  }
}

TEST_F(RowCommandsTest, DeleteDoesNothingBelowTheRowsAndCutsASelectionReachingBelow) {
  Rows(4);
  const auto before = st.SheetRows;
  Select(5, 8);
  RowDelete(st, grid);
  EXPECT_EQ(st.SheetRows, before);

  Select(3, 9);
  RowDelete(st, grid);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Cell(2, kName), "r2");
  EXPECT_EQ(Cell(3, kName), "");

  // The only row of a sheet, blank in every byte, stays.
  Sheet({Blank()});
  st.UsedRows = 1;
  st.SheetModified = false;
  Select(1, 1);
  RowDelete(st, grid);
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(RowCommandsTest, DeletingTheLastRowRecountsFromTheBottom) {
  Sheet({Row(' ', {{kName, "a"}}), Blank(), Blank(), Row(' ', {{kName, "d"}})});
  Select(4, 4);
  RowDelete(st, grid);
  EXPECT_EQ(st.UsedRows, 1);
  for (int r = 2; r <= 4; ++r) EXPECT_EQ(grid.CellColour(0, r), 7) << r;
}

TEST_F(RowCommandsTest, InsertOpensBlankRowsAndMovesTheRestDown) {
  Rows(5);
  WithBreakdown(4, 7);
  RowDisplay(st, grid, 4, 4);
  Cursor(kName, 3);
  Select(3, 4);
  EXPECT_EQ(RowInsert(st, grid), RowInsertResult::Inserted);
  EXPECT_EQ(st.UsedRows, 7);
  EXPECT_EQ(Cell(2, kName), "r2");
  EXPECT_EQ(st.SheetRows[3].substr(1), Blank().substr(1));
  EXPECT_EQ(st.SheetRows[4].substr(1), Blank().substr(1));
  EXPECT_EQ(Cell(5, kName), "r3");
  EXPECT_EQ(Cell(6, kName), "r4");
  EXPECT_EQ(Cell(7, kName), "r5");
  for (int r = 1; r <= 7; ++r) EXPECT_EQ(Mark(r), MarkOf(r)) << r;
  // The grid moved with the rows; the headers label the new positions.
  EXPECT_EQ(Shown(kName, 3), "");
  EXPECT_EQ(RTrimBlanks(Shown(kName, 6)), "r4");
  EXPECT_EQ(Shown(0, 6), RowNumberText(6) + " ");  // r4 owns a breakdown
  EXPECT_EQ(grid.CellColour(0, 6), 14);
  EXPECT_EQ(Shown(0, 7), RowNumberText(7) + " ");
  EXPECT_EQ(bar.panels[2], " 7 行");
}

// The page field (bytes 16-19) stays with the sheet's first row: whatever
// row 1 becomes holds the sheet's first page, and a row moved off row 1 (or
// pasted back) holds none.
TEST_F(RowCommandsTest, ThePageFieldStaysOnTheFirstRowOnly) {
  const struct {
    const char* name;
    std::function<void()> command;
    const char* firstName;  // the name on row 1 afterwards
  } cases[] = {
      {"insert above row 1",
       [this] {
         Cursor(kName, 1);
         Select(1, 2);
         EXPECT_EQ(RowInsert(st, grid), RowInsertResult::Inserted);
       },
       ""},
      {"delete row 1",
       [this] {
         Cursor(kName, 1);
         Select(1, 1);
         RowDelete(st, grid);
       },
       "r2"},
      {"paste row 1 below, then row 3 at row 1",
       [this] {
         Select(1, 1);
         RowCopy(st);
         Cursor(kName, 4);
         RowPaste(st, grid);
         Select(3, 3);
         RowCopy(st);
         Cursor(kName, 1);
         RowPaste(st, grid);
       },
       "r3"},
      {"insert lower down", [this] {
         Cursor(kName, 3);
         Select(3, 3);
         RowInsert(st, grid);
       },
       "r1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Rows(5);
    st.SheetRows[1].replace(15, 4, "  6h");
    c.command();
    EXPECT_EQ(Cell(1, kName), c.firstName);
    EXPECT_EQ(st.SheetRows[1].substr(15, 4), "  6h");
    for (int r = 2; r <= st.Imax; ++r) EXPECT_EQ(st.SheetRows[size_t(r)].substr(15, 4), "    ") << r;
  }
}

TEST_F(RowCommandsTest, InsertIsRefusedAtTheRowLimitAndIdleBelowTheRows) {
  Rows(29);
  Cursor(kName, 2);
  Select(2, 3);
  const auto before = st.SheetRows;
  ui.AnswerMsgBox(vbOK, kRowLimitMessage);
  EXPECT_EQ(RowInsert(st, grid), RowInsertResult::Refused);
  EXPECT_EQ(ui.CallsStartingWith("Beep").size(), 1u);
  EXPECT_EQ(st.SheetRows, before);

  Rows(5);
  Cursor(kName, 8);
  Select(8, 8);
  st.UndoTaken = false;
  EXPECT_EQ(RowInsert(st, grid), RowInsertResult::NothingDone);
  EXPECT_TRUE(st.UndoTaken);  // the undo copy is taken all the same
  EXPECT_EQ(st.UsedRows, 5);
}

TEST_F(RowCommandsTest, PastedRowsKeepMarkKindAndColumnsButNoLinks) {
  Rows(5);
  std::string& copied = st.SheetRows[2];
  copied[1] = 'U';
  copied[2] = '#';
  SetLinkField(copied, kOwnPos, 12, false);
  SetLinkField(copied, kNextPos, 13, false);
  SetLinkField(copied, kChildPos, 40, false);
  copied.replace(15, 4, "  3P");
  Select(2, 2);
  RowCopy(st);
  Cursor(kName, 5);
  RowPaste(st, grid);

  const std::string& pasted = st.SheetRows[5];
  EXPECT_EQ(pasted[0], MarkOf(5));
  EXPECT_EQ(pasted[1], 'U');
  EXPECT_EQ(pasted[2], '#');
  EXPECT_EQ(pasted.substr(3, 16), std::string(16, ' '));
  EXPECT_EQ(Cell(5, kName), "r2");
  EXPECT_EQ(Cell(6, kName), "r5");
  EXPECT_EQ(st.UsedRows, 6);
  EXPECT_EQ(Shown(0, 5), "  .#");
}

TEST_F(RowCommandsTest, PasteRefusals) {
  struct Case {
    const char* name;
    char firstKind, secondKind;
    int usedRows, cursorRow;
    const char* message;  // nullptr: pasted
  };
  const Case cases[] = {
      {"a copied total as the first row on row 1", '#', ' ', 5, 1, kComputedFirstRowMessage},
      {"a tax row as the first row on row 1", '\xBC', ' ', 5, 1, kComputedFirstRowMessage},
      {"a total as the second row on row 1", ' ', '#', 5, 1, nullptr},
      {"a total as the first row on row 2", '#', ' ', 5, 2, nullptr},
      {"more rows than the sheet holds", ' ', ' ', 29, 2, kRowLimitMessage},
      {"below the rows, reaching past the last row", ' ', ' ', 5, 30, kRowLimitMessage},
      {"below the rows, ending on the last row", ' ', ' ', 5, 29, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Rows(c.usedRows);
    st.SheetRows[1][2] = c.firstKind;
    st.SheetRows[2][2] = c.secondKind;
    Select(1, 2);
    RowCopy(st);
    Cursor(kName, c.cursorRow);
    const auto before = st.SheetRows;
    if (c.message != nullptr) ui.AnswerMsgBox(vbOK, c.message);
    RowPaste(st, grid);
    ui.ExpectAllAnswered();
    if (c.message != nullptr) {
      EXPECT_EQ(st.SheetRows, before);
      EXPECT_EQ(st.UsedRows, c.usedRows);
    } else {
      EXPECT_EQ(Cell(c.cursorRow + 1, kName), "r2");
      EXPECT_EQ(st.UsedRows, std::max(c.usedRows, c.cursorRow) + (c.cursorRow <= c.usedRows ? 2 : 1));
    }
  }
}

TEST_F(RowCommandsTest, PasteWithAnEmptyClipboardOnlyBeepsAndTheClipboardOutlivesTheSheet) {
  Rows(3);
  Cursor(kName, 2);
  RowPaste(st, grid);
  EXPECT_EQ(ui.CallsStartingWith("Beep").size(), 1u);
  EXPECT_EQ(st.UsedRows, 3);

  // Copied from one sheet, pasted byte for byte into another one.
  Select(1, 2);
  RowCopy(st);
  const std::string copied = st.SheetRows[2].substr(19);
  Sheet({Row(' ', {{kName, "other"}})});
  Cursor(kName, 1);
  RowPaste(st, grid);
  EXPECT_EQ(st.SheetRows[2].substr(19), copied);
  EXPECT_EQ(Cell(3, kName), "other");
}

TEST_F(RowCommandsTest, PasteBelowTheRowsWritesAtTheCursorAndColoursTheRowsBetween) {
  Rows(3);
  Select(1, 1);
  RowCopy(st);
  Cursor(kName, 7);
  RowPaste(st, grid);
  EXPECT_EQ(st.UsedRows, 7);
  EXPECT_EQ(Cell(7, kName), "r1");
  for (int r = 4; r <= 7; ++r) EXPECT_EQ(grid.CellColour(0, r), 0) << r;
  EXPECT_EQ(grid.CellColour(0, 8), 7);
}

// After each command the grid shows what a fresh repaint of the sheet in
// memory shows: texts, colours and memo rows of every row, the headers
// included.
TEST_F(RowCommandsTest, TheGridStaysInStepWithTheRecords) {
  Rows(8);
  st.SheetRows[3] = MemoRow(kMemoKind, "メモ");
  st.SheetRows[5][1] = 'U';
  WithBreakdown(6, 4);
  SheetRedisplay(st, grid, 1, st.UsedRows);
  auto expectInStep = [&](const char* step) {
    SCOPED_TRACE(step);
    GridModel fresh;
    fresh.SetFontMetrics(&metrics);
    fresh.SetTotalsLine(true);
    SheetGridInit(st, fresh, 1);
    SheetRedisplay(st, fresh, 1, st.UsedRows);
    for (int r = 1; r <= st.Imax; ++r) {
      EXPECT_EQ(grid.MemoRow(r), fresh.MemoRow(r)) << r;
      for (int c = 0; c <= 10; ++c) {
        if (fresh.MemoRow(r) && c > 1) continue;
        // A blank cell may hold blanks or nothing: it shows the same.
        EXPECT_EQ(RTrimBlanks(grid.CellText(c, r)), RTrimBlanks(fresh.CellText(c, r))) << c << "," << r;
        EXPECT_EQ(grid.CellColour(c, r), fresh.CellColour(c, r)) << c << "," << r;
      }
    }
    fresh.SetFontMetrics(nullptr);
  };
  Cursor(kName, 2);
  Select(2, 3);
  RowCopy(st);
  RowDelete(st, grid);
  expectInStep("delete");
  Cursor(kName, 4);
  Select(4, 5);
  RowInsert(st, grid);
  expectInStep("insert");
  Cursor(kName, 1);
  RowPaste(st, grid);
  expectInStep("paste");
  Cursor(kName, 12);
  RowPaste(st, grid);
  expectInStep("paste below the rows");
}

TEST_F(RowCommandsTest, UndoAfterADeleteBringsTheRowsBack) {
  Rows(4);
  const auto before = st.SheetRows;
  Select(2, 3);
  RowDelete(st, grid);
  UndoRestore(st, grid);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(st.SheetRows[size_t(r)], before[size_t(r)]) << r;
  EXPECT_EQ(st.UsedRows, 4);
  EXPECT_EQ(RTrimBlanks(Shown(kName, 3)), "r3");
}

TEST_F(RowCommandsTest, PopupMenuRunsItsCommands) {
  Rows(4);
  Cursor(kName, 2);
  grid.SetSelection(1, 2, 10, 3);
  mnuSysInfo_Click(st, grid, 5);  // 行削除
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(st.RowClipTop, 2);
  Cursor(kName, 1);
  mnuSysInfo_Click(st, grid, 9);  // 行貼付け
  EXPECT_EQ(Cell(1, kName), "r2");
  EXPECT_EQ(st.UsedRows, 4);

  grid.SetSelection(kName, 1, kName, 2);
  mnuSysInfo_Click(st, grid, 1);  // コピー
  EXPECT_EQ(ui.clipboard, "r2        \r\nr3        \r\n");
  EXPECT_FALSE(grid.HasSelection());
  grid.SetSelection(kName, 1, kName, 1);
  mnuSysInfo_Click(st, grid, 0);  // 切り取り
  EXPECT_EQ(Cell(1, kName), "");
  Cursor(kName, 4);
  mnuSysInfo_Click(st, grid, 2);  // 貼り付け
  EXPECT_EQ(Cell(4, kName), "r2");

  const auto before = st.SheetRows;
  for (int separator : {4, 7, 10}) mnuSysInfo_Click(st, grid, separator);
  EXPECT_EQ(st.SheetRows, before);
}

}  // namespace
}  // namespace kv::test
