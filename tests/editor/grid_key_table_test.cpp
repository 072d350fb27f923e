// The sheet grid's key table, the rows of editing: which row decides for a
// key, modifiers, row kind and column, and whether the key is consumed; then
// the held text (Shift+Home, Home), F2, Backspace and Delete at work.
#include "editor/grid_key_table.h"

#include "editing_keys_fixture.h"
#include "editor/edit_menu.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"

namespace kv::test {
namespace {

using namespace gridkey;

class GridKeyTableTest : public EditingKeysFixture {
 protected:
  GridKeyTableTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kQty, "2"}, {kPrice, "1234"}}), Row(' ', {{kName, "型枠"}}),
           MemoRow(kMemoKind, "メモ行"), Row('Q', {{kAmount, "77"}}), Row(' ', {})});
    st.SheetTotalRecord = Row('G', {{kName, "合計"}});
  }
};

TEST_F(GridKeyTableTest, TheFirstMatchingRowDecides) {
  struct Case {
    int key;
    bool shift, ctrl;
    int col, row;
    bool committing;
    const char* rowId;
    bool consumed;
  };
  const Case cases[] = {
      {kShift, true, false, kName, 2, false, "1", false},
      {kControl, false, true, kName, 2, true, "1", false},   // before the commit guard
      {'A', false, false, kName, 2, true, "2", true},        // any key during a commit
      {kHome, true, false, kName, 2, false, "8", false},
      {kHome, true, true, kName, 2, false, "8", false},
      {kHome, false, false, kName, 2, false, "9", false},
      {kF2, false, false, kName, 3, false, "10", false},     // a memo row
      {kReturn, false, false, kName, 2, false, "11", true},
      {kReturn, true, true, kName, 2, false, "11", true},
      {kLeft, false, false, kName, 2, false, "12", false},
      {kEnd, false, true, kName, 2, false, "12", false},
      {kPageDown, true, false, kName, 2, false, "12", false},
      {kInsert, false, false, kName, 2, false, "12", false},
      {kDelete, false, false, kName, 2, false, "13", true},
      {kBack, false, false, kName, 2, false, "14", false},
      {kTab, false, false, kName, 2, false, "15", true},
      {kTab, true, false, kName, 2, false, "15", true},
      {kF2, false, false, kAmount, 2, false, "18a", true},   // a total definition: refused
      {kF2, false, false, kName, 2, false, "18a", true},
      {kF2, true, false, kName, 2, false, "21", false},      // Shift+F2: a later row
      {kF9, false, false, kName, 2, false, "21", false},
      {'A', false, false, kName, 2, false, "21", false},
      {kEscape, false, false, kName, 2, false, "21", false},
  };
  for (const Case& c : cases) {
    MoveTo(c.col, c.row);
    grid.CancelEdit();
    box.shown = false;
    memo.visible = false;
    st.CellCommitting = c.committing;
    int key = c.key;
    const std::string id = EdtSheet_KeyDown2(g, key, c.shift, c.ctrl);
    EXPECT_EQ(id, c.rowId) << "key " << c.key << " shift " << c.shift << " ctrl " << c.ctrl;
    EXPECT_EQ(key == 0, c.consumed) << "key " << c.key << " row " << id;
    st.CellCommitting = false;
  }
  // The table keeps its order for the rows still to come.
  std::vector<std::string> ids;
  for (const KeyTableRow& r : EditorKeyTable()) ids.push_back(r.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "8", "9", "10", "11", "12", "13", "14", "15", "18a", "21"}));
}

TEST_F(GridKeyTableTest, ShiftHomeHoldsTheShownTextAndHomeWritesItAsANumber) {
  MoveTo(kPrice, 1);
  EXPECT_FALSE(Press(kHome, true));
  EXPECT_EQ(st.HeldCellText, "1,234");
  EXPECT_EQ(bar.panels[1], "[1,234]");
  MoveTo(kPrice, 2);
  EXPECT_FALSE(Press(kHome));
  EXPECT_EQ(Field(2, kPrice), "      1234");
  EXPECT_EQ(Shown(kPrice, 2), "1,234");
  EXPECT_EQ(st.HeldCellText, "1,234");
  EXPECT_TRUE(st.SheetModified);
  // The same text again into another row: Home keeps it.
  MoveTo(kPrice, 5);
  Press(kHome);
  EXPECT_EQ(Cell(5, kPrice), "1234");
  EXPECT_EQ(st.UsedRows, 5);
  EXPECT_EQ(bar.panels[2], " 5 行");
}

TEST_F(GridKeyTableTest, HomeWritesNothingIntoMemoClosingOrComputedCellsButStillAdvances) {
  st.HeldCellText = "999";
  st.AutoDownFlag = 1;
  const std::string memoRow = st.SheetRows[3];
  MoveTo(kPrice, 3);
  Press(kHome);
  EXPECT_EQ(st.SheetRows[3], memoRow);
  EXPECT_EQ(grid.CurrentRow(), 4);  // the cursor advanced all the same
  const std::string before = st.SheetRows[1];
  MoveTo(kAmount, 1);
  Press(kHome);
  EXPECT_EQ(st.SheetRows[1], before);
  EXPECT_EQ(grid.CurrentRow(), 2);
  const std::string closing = st.SheetTotalRecord;
  MoveTo(kName, st.Imax + 1);
  Press(kHome);
  EXPECT_EQ(st.SheetTotalRecord, closing);
}

TEST_F(GridKeyTableTest, HomeCutsALongTextWithoutSplittingACharacter) {
  st.HeldCellText = "ABCDEFGHI漢字";  // 漢 would take bytes 10 and 11 of a 10-byte column
  MoveTo(kName, 2);
  Press(kHome);
  EXPECT_EQ(Field(2, kName), "ABCDEFGHI ");
  EXPECT_EQ(Field(2, kDetail).substr(0, 4), "    ");
}

TEST_F(GridKeyTableTest, HomeLooksACodeUpAndAnUnknownCodeBlanksCodeAndName) {
  st.HeldCellText = "B02";
  MoveTo(kCode, 2);
  Press(kHome);
  EXPECT_EQ(Cell(2, kCode), "B02");
  EXPECT_EQ(Cell(2, kCodeName), "木材");
  EXPECT_EQ(Shown(kCodeName, 2), "木材");
  st.HeldCellText = "ZZZ";
  MoveTo(kCode, 2);
  Press(kHome);
  EXPECT_EQ(Cell(2, kCode), "");
  EXPECT_EQ(Cell(2, kCodeName), "");
  EXPECT_EQ(Shown(kCode, 2), "");
  EXPECT_EQ(Shown(kCodeName, 2), "");
  EXPECT_EQ(st.HeldCellText, "");
  // A master that does not exist finds nothing either.
  st.HeldCellText = "A01";
  st.SheetRows[2] = Row(' ', {{kCode9, "X"}, {kNote, "残す"}});
  MoveTo(kCode9, 2);
  Press(kHome);
  EXPECT_EQ(Cell(2, kCode9), "");
  EXPECT_EQ(Cell(2, kNote), "");
}

TEST_F(GridKeyTableTest, F2EditsTheStoredTextOrTheClosingRecordAndOpensTheMemoEditor) {
  MoveTo(kName, 1);
  EXPECT_TRUE(Press(kF2));
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.CellText(kName, 1), "基礎      ");  // stored, blank padded
  EXPECT_TRUE(st.CellEditActive);
  grid.CancelEdit();
  st.CellEditActive = false;
  MoveTo(kAmount, 1);  // a total definition on an item row: nothing
  EXPECT_TRUE(Press(kF2));
  EXPECT_FALSE(grid.Editing());
  EXPECT_FALSE(st.CellEditActive);
  MoveTo(kAmount, 4);  // on a "Q" row it edits, without trailing blanks
  Press(kF2);
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.CellText(kAmount, 4), "          77");
  grid.CancelEdit();
  MoveTo(kName, st.Imax + 1);
  Press(kF2);
  EXPECT_TRUE(grid.Editing());
  EXPECT_EQ(grid.CellText(kName, st.Imax + 1), "合計      ");
  grid.CommitEdit("総計");
  EXPECT_EQ(Cell(0, kName), "総計");
  // A memo row: the memo editor, the key left to the grid.
  MoveTo(kName, 3);
  EXPECT_FALSE(Press(kF2));
  EXPECT_TRUE(memo.visible);
  EXPECT_FALSE(grid.Editing());
}

TEST_F(GridKeyTableTest, BackspaceBlanksTheCellThroughTheCommit) {
  MoveTo(kPrice, 1);
  Press(kBack);
  EXPECT_EQ(Cell(1, kPrice), "");
  EXPECT_EQ(Shown(kPrice, 1), "");
  EXPECT_FALSE(st.CellCommitting);
  Menu_2Sub_Click(st, grid, kEditUndoItem);  // the commit took an undo copy
  EXPECT_EQ(Cell(1, kPrice), "1234");
}

TEST_F(GridKeyTableTest, DeleteClearsTheSelectedCells) {
  MoveTo(kName, 1);
  SetSelect32(grid, kName, 1, kName, 2);
  EXPECT_TRUE(Press(kDelete));
  EXPECT_EQ(Cell(1, kName), "");
  EXPECT_EQ(Cell(2, kName), "");
  EXPECT_EQ(Cell(1, kPrice), "1234");
  EXPECT_FALSE(grid.HasSelection());
}

}  // namespace
}  // namespace kv::test
