// The one-level undo copy (taken after a load and before a change, restored
// as often as asked, marking the sheet modified) and clearing the selected
// cells (computed columns recomputed, the totals line, memo rows, the used
// rows).
#include "sheet/undo_clear.h"

#include <gtest/gtest.h>

#include "edit_fixture.h"
#include "sheet/cell_commit.h"

namespace kv::test {
namespace {

class UndoTest : public EditFixture {
 protected:
  // A loaded sheet of two item rows and its closing record, the copy taken
  // as a load takes it.
  void Loaded() {
    Sheet({Row(' ', {{kName, "上"}, {kQty, "2"}, {kPrice, "10"}, {kAmount, "20"}}),
           Row(' ', {{kName, "下"}, {kQty, "3"}, {kPrice, "10"}, {kAmount, "30"}})});
    st.SheetTotalRecord = Row('G', {{kAmount, "50"}});
    Cursor(kQty, 2);
    engine.UndoSave(st);
    loaded_ = {st.SheetRows[1], st.SheetRows[2], st.SheetTotalRecord};
  }
  void ExpectLoadedSheet() {
    EXPECT_EQ(st.SheetRows[1], loaded_[0]);
    EXPECT_EQ(st.SheetRows[2], loaded_[1]);
    EXPECT_EQ(st.SheetTotalRecord, loaded_[2]);
    EXPECT_EQ(st.UsedRows, 2);
    for (int r = 3; r <= st.Imax; ++r) EXPECT_EQ(st.SheetRows[size_t(r)], Blank()) << r;
  }

 private:
  std::array<std::string, 3> loaded_;
};

TEST_F(UndoTest, NothingBeforeAnyCopy) {
  Sheet({Row(' ', {{kName, "上"}})});
  const std::string row = st.SheetRows[1];
  UndoRestore(st, grid);
  EXPECT_EQ(st.SheetRows[1], row);
  EXPECT_FALSE(st.SheetModified);
}

TEST_F(UndoTest, AfterALoadTheLoadedSheetComesBack) {
  Loaded();
  ASSERT_TRUE(CellCommit(st, grid, "7"));  // takes a copy of its own
  UndoRestore(st, grid);
  ExpectLoadedSheet();
  EXPECT_EQ(Shown(kQty, 2), "3.00");
  EXPECT_EQ(Shown(kAmount, 2), "30");
}

TEST_F(UndoTest, AfterAnEntryThatGrewTheSheetTheNewRowsGo) {
  Loaded();
  Cursor(kName, 6);
  ASSERT_TRUE(CellCommit(st, grid, ToSjis("追加")));
  ASSERT_EQ(st.UsedRows, 6);
  UndoRestore(st, grid);
  ExpectLoadedSheet();
  EXPECT_EQ(Shown(kName, 6), "");
  EXPECT_EQ(grid.CellColour(0, 6), 7);
  EXPECT_EQ(st.CurrentRow, 6);  // the cursor where the copy was taken
  EXPECT_EQ(grid.CurrentRow(), 6);
  EXPECT_EQ(bar.panels[2], " 2 行");
}

TEST_F(UndoTest, TheFirstEntryIntoAnEmptySheetIsUndone) {
  Sheet({});
  engine.UndoSave(st);  // as a load of the empty sheet takes it
  Cursor(kName, 1);
  ASSERT_TRUE(CellCommit(st, grid, ToSjis("最初")));
  ASSERT_EQ(st.UsedRows, 1);
  UndoRestore(st, grid);
  EXPECT_EQ(st.SheetRows[1], Blank());
  EXPECT_EQ(st.UsedRows, 0);
  EXPECT_EQ(Shown(kName, 1), "");
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(UndoTest, TwiceIsOnce) {
  Loaded();
  ASSERT_TRUE(CellCommit(st, grid, "7"));
  const std::string afterCommit1 = st.UndoRows[2];
  UndoRestore(st, grid);
  const std::string once = st.SheetRows[2];
  UndoRestore(st, grid);
  EXPECT_EQ(st.SheetRows[2], once);
  EXPECT_EQ(st.UndoRows[2], afterCommit1);
  ExpectLoadedSheet();
}

TEST_F(UndoTest, AfterARecordTheSheetIsModifiedAgain) {
  Loaded();
  ASSERT_TRUE(CellCommit(st, grid, "7"));
  st.SheetModified = false;  // the sheet was recorded with the 7
  UndoRestore(st, grid);
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(UndoTest, TopCellAndCursorComeBack) {
  Loaded();
  grid.SetViewportSize(300, 120);
  SetTopCell32(grid, 0, 2, 2);
  Cursor(kPrice, 1);
  ASSERT_TRUE(CellCommit(st, grid, "5"));
  int col = 0, row = 0;
  GetTopCell32(grid, 0, col, row);
  const SheetTopCell saved = st.UndoTopCell;
  EXPECT_EQ(saved.col, col);
  EXPECT_EQ(saved.row, row);
  SetTopCell32(grid, 0, 1, 1);
  Cursor(kName, 2);
  UndoRestore(st, grid);
  GetTopCell32(grid, 0, col, row);
  EXPECT_EQ(col, saved.col);
  EXPECT_EQ(row, saved.row);
  EXPECT_EQ(grid.CurrentCol(), kPrice);
  EXPECT_EQ(grid.CurrentRow(), 1);
}

class ClearSelCellsTest : public UndoTest {
 protected:
  void Select(int left, int top, int right, int bottom) {
    st.SelLeft = left;
    st.SelTop = top;
    st.SelRight = right;
    st.SelBottom = bottom;
    SetSelect32(grid, left, top, right, bottom);
  }
};

TEST_F(ClearSelCellsTest, ComputedColumnsStayAndAreRecomputed) {
  Loaded();
  Cursor(kQty, 1);
  Select(kQty, 1, kAmount, 1);
  ClearSelCells(st, grid);
  EXPECT_EQ(Cell(1, kQty), "");
  EXPECT_EQ(Cell(1, kPrice), "");
  EXPECT_EQ(Cell(1, kAmount), "");  // its row definition now gives 0
  EXPECT_EQ(Cell(2, kAmount), "30");
  EXPECT_EQ(Cell(0, kAmount), "30");
  EXPECT_EQ(Shown(kAmount, st.Imax + 1), "30");
  EXPECT_EQ(Cell(1, kName), "上");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(grid.HasSelection());
  UndoRestore(st, grid);
  ExpectLoadedSheet();
}

TEST_F(ClearSelCellsTest, TotalsLineBlanksTheClosingRecordsColumn) {
  Loaded();
  st.SheetTotalRecord = Row('G', {{kName, "合計"}, {kAmount, "50"}});
  Select(kName, st.Imax + 1, kName, st.Imax + 1);
  ClearSelCells(st, grid);
  EXPECT_EQ(Cell(0, kName), "");
  EXPECT_EQ(Cell(0, kAmount), "50");
  EXPECT_EQ(Shown(kName, st.Imax + 1), "");
}

TEST_F(ClearSelCellsTest, MemoRowKeepsWholeCharacters) {
  // The memo text runs across the fields: お takes bytes 29-30, across the
  // edge of the name field (20-29) and the detail field (30-49).
  const std::string text = "xあいうえおかきくけ";
  Sheet({Row(' ', {{kName, "上"}}), MemoRow('1', text)});
  Select(kDetail, 2, kDetail, 2);
  ClearSelCells(st, grid);
  EXPECT_EQ(st.SheetRows[2].substr(19, 40), ToSjis("xあいうえ") + std::string(31, ' '));
  EXPECT_EQ(Shown(1, 2), "xあいうえ" + std::string(31, ' '));

  st.SheetRows[2] = MemoRow('1', text);
  Select(kName, 2, kName, 2);
  ClearSelCells(st, grid);
  EXPECT_EQ(st.SheetRows[2].substr(19, 40), std::string(11, ' ') + ToSjis("かきくけ") + std::string(21, ' '));
}

TEST_F(ClearSelCellsTest, BottomRowsClearedLowerTheUsedRows) {
  Loaded();
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = kName;
  st.ABLinkDst[1] = kNote;
  st.SheetRows[2] = Row(' ', {{kName, "下"}, {kNote, "下"}});
  Select(kName, 2, kNote, 2);
  ClearSelCells(st, grid);
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(grid.CellColour(0, 2), 7);
  EXPECT_EQ(bar.panels[2], " 1 行");

  // Clearing a link's source leaves its destination.
  st.SheetRows[1] = Row(' ', {{kName, "上"}, {kNote, "上"}});
  Select(kName, 1, kName, 1);
  ClearSelCells(st, grid);
  EXPECT_EQ(Cell(1, kNote), "上");
}

}  // namespace
}  // namespace kv::test
