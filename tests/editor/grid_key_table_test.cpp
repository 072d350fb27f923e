// The sheet grid's key table, the rows of editing: which row decides for a
// key, modifiers, row kind and column, and whether the key is consumed; then
// the held text (Shift+Home, Home), F2, Backspace and Delete at work.
#include "editor/grid_key_table.h"

#include "editing_keys_fixture.h"
#include "editor/edit_menu.h"
#include "editor/file_menu.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "support/recording_services.h"

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
    bool busy = false;  // a command runs: F9 and Esc start nothing
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
      {kEnd, false, true, kName, 2, false, "6", false},
      {kEnd, true, true, kName, 2, false, "12", false},      // Shift too: not a jump
      {kUp, false, true, kName, 2, false, "4", false},
      {kHome, false, true, kName, 2, false, "4", false},
      {kLeft, false, true, kName, 2, false, "5", false},
      {kDown, false, true, kName, 2, false, "6", false},
      {kRight, false, true, kName, 2, false, "7", false},
      {kF9, false, false, kName, 2, false, "3", false, true},
      {kF9, true, true, kName, 2, false, "3", false, true},
      {kF1, true, false, kName, 2, false, "17", true, true},
      {kF1, false, false, kName, 2, false, "17a", false},
      {kF1 + 2, true, true, kName, 2, false, "19", false},
      {kF1 + 3, false, false, kName, 2, false, "20", false},
      {kF1 + 4, false, false, kName, 2, false, "21", false},  // F5
      {kPageDown, true, false, kName, 2, false, "12", false},
      {kInsert, false, false, kName, 2, false, "12", false},
      {kDelete, false, false, kName, 2, false, "13", true},
      {kBack, false, false, kName, 2, false, "14", false},
      {kTab, false, false, kName, 2, false, "15", true},
      {kTab, true, false, kName, 2, false, "15", true},
      {kF2, false, false, kAmount, 2, false, "18a", true},   // a total definition: refused
      {kF2, false, false, kName, 2, false, "18a", true},
      {kF2, true, false, kName, 2, false, "18", true, true},  // Shift+F2
      {'A', false, false, kName, 2, false, "21", false},
      {kEscape, false, false, kName, 2, false, "16", false, true},
  };
  for (const Case& c : cases) {
    MoveTo(c.col, c.row);
    grid.CancelEdit();
    box.shown = false;
    memo.visible = false;
    st.CellCommitting = c.committing;
    st.CommandBusy = c.busy;
    int key = c.key;
    const std::string id = EdtSheet_KeyDown2(g, key, c.shift, c.ctrl);
    EXPECT_EQ(id, c.rowId) << "key " << c.key << " shift " << c.shift << " ctrl " << c.ctrl;
    EXPECT_EQ(key == 0, c.consumed) << "key " << c.key << " row " << id;
    st.CellCommitting = false;
    st.CommandBusy = false;
  }
  // The table keeps its order for the rows still to come.
  std::vector<std::string> ids;
  for (const KeyTableRow& r : EditorKeyTable()) ids.push_back(r.id);
  EXPECT_EQ(ids, (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13",
                                           "14", "15", "16", "17", "17a", "18", "18a", "19", "20", "21"}));
}

TEST_F(GridKeyTableTest, ShiftF1AndShiftF2RunTheirRecalculationsOnceAndEndAMarkingMode) {
  RecordingEditor editor;
  st.editor = &editor;
  st.WorkFileBase = "C:/EST/KOUJI";
  st.SheetModified = true;
  st.NotPrintLineMode = true;
  // Shift+F1: the all-levels recalculation asks once about the modified
  // sheet; No ends it.
  ui.AnswerMsgBox(vbNo, "記録後に全階層の再計算を実行します.");
  int key = kF1;
  EdtSheet_KeyDown2(g, key, true, false);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_FALSE(st.CommandBusy);
  // Shift+F2: the equipment recalculation once, under the busy lock.
  st.NotPrintLvlLineMode = true;
  st.SheetModified = false;
  editor.calls.clear();
  key = kF2;
  EdtSheet_KeyDown2(g, key, true, false);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(editor.calls, (std::vector<std::string>{"ToolBarStateSet(1)", "ToolBarStateSet(0)"}));
  st.editor = nullptr;
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

TEST_F(GridKeyTableTest, F9TakesTheBusyLockWithAnyModifiersButNotInsideACommand) {
  RecordingEditor editor;
  st.editor = &editor;
  st.NotPrintLineMode = true;
  for (const auto& [shift, ctrl] : {std::pair{false, false}, {true, false}, {false, true}, {true, true}}) {
    editor.calls.clear();
    MoveTo(kName, 4);  // a total row: the move itself refuses
    EXPECT_FALSE(Press(kF9, shift, ctrl));
    EXPECT_EQ(editor.calls, (std::vector<std::string>{"ToolBarStateSet(1)", "ToolBarStateSet(0)"}));
  }
  EXPECT_FALSE(st.NotPrintLineMode);
  // Inside another command: no lock taken, none released.
  editor.calls.clear();
  st.CommandBusy = true;
  Press(kF9);
  EXPECT_TRUE(editor.calls.empty());
  EXPECT_TRUE(st.CommandBusy);
  st.editor = nullptr;
}

TEST_F(GridKeyTableTest, F4PrintsNothingInsideAnotherCommand) {
  FileMenuPort files;
  int printRequests = 0;
  files.NonPrintModesOff = [&](ProgramState&) { ++printRequests; };
  ui.missingWindows = {"frmP1SetUp"};  // the print item without its dialog
  g.fileMenu = &files;
  st.NotPrintLineMode = true;
  st.CommandBusy = true;
  Press(kF1 + 3);
  EXPECT_EQ(printRequests, 0);
  EXPECT_TRUE(st.NotPrintLineMode);
  EXPECT_TRUE(st.CommandBusy);
  st.CommandBusy = false;
  Press(kF1 + 3);
  EXPECT_EQ(printRequests, 1);
  EXPECT_FALSE(st.NotPrintLineMode);
  g.fileMenu = nullptr;
}

TEST_F(GridKeyTableTest, CtrlMovesJumpToTheEdgesOfTheUsedRowsAndShownColumns) {
  MoveTo(kPrice, 3);
  Press(kHome, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  MoveTo(kPrice, 3);
  Press(kUp, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  MoveTo(kPrice, 1);
  Press(kEnd, false, true);
  EXPECT_EQ(grid.CurrentRow(), st.UsedRows);
  EXPECT_EQ(st.CurrentRow, st.UsedRows);

  // The shown columns: the first and the last hidden in the mask screen.
  st.MaskDef[1][kName][0] = 'M';
  st.MaskDef[1][kNote][0] = 'M';
  MoveTo(kPrice, 2);
  Press(kLeft, false, true);
  EXPECT_EQ(grid.CurrentCol(), kDetail);
  Press(kRight, false, true);
  EXPECT_EQ(grid.CurrentCol(), kCode9);

  // No shown column: the cursor stays.
  for (int c = 1; c <= st.ColCount[1]; ++c) st.MaskDef[1][size_t(c)][0] = 'M';
  const int col = grid.CurrentCol();
  EXPECT_TRUE(Press(kLeft, false, true));
  EXPECT_TRUE(Press(kRight, false, true));
  EXPECT_EQ(grid.CurrentCol(), col);
}

// Ctrl+Down and Ctrl+End end on the last used row, after the grid's own
// step for the key, from above or below it, on a sheet of one row or none,
// and with the row far below the shown part of the sheet.
TEST_F(GridKeyTableTest, CtrlDownAndCtrlEndEndOnTheLastUsedRow) {
  struct Case {
    int key;
    int usedRows, fromRow;
    int endRow;
  };
  const Case cases[] = {
      {kDown, 5, 1, 5},   {kEnd, 5, 1, 5},   {kDown, 5, 5, 5},   {kDown, 5, 9, 5},
      {kEnd, 5, 9, 5},    {kDown, 2, 1, 2},  {kDown, 1, 3, 1},   {kEnd, 1, 3, 1},
      {kDown, 0, 3, 1},   {kEnd, 0, 3, 1},   {kDown, 30, 1, 30}, {kEnd, 30, 1, 30},
  };
  grid.SetViewportSize(900, 200);  // a few rows shown: row 30 lies below them
  for (const Case& c : cases) {
    st.UsedRows = c.usedRows;
    grid.SetTopCell(0, 1, 1);
    MoveTo(kPrice, c.fromRow);
    Press(c.key, false, true);
    const std::string what = "key " + std::to_string(c.key) + " used " + std::to_string(c.usedRows) +
                             " from " + std::to_string(c.fromRow);
    EXPECT_EQ(grid.CurrentRow(), c.endRow) << what;
    EXPECT_EQ(st.CurrentRow, c.endRow) << what;
    EXPECT_EQ(grid.CurrentCol(), kPrice) << what;
    EXPECT_FALSE(grid.IsCellOutOfRange(0, kPrice, c.endRow)) << what;
  }
}

TEST_F(GridKeyTableTest, CtrlEndOnAnEmptySheetStaysOnRowOne) {
  Sheet({});
  MoveTo(kName, 3);
  Press(kEnd, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
  MoveTo(kName, 3);
  int key = kDown;
  EdtSheet_KeyDown2(g, key, false, true);
  EXPECT_EQ(grid.CurrentRow(), 1);
}

TEST_F(GridKeyTableTest, EscLeavesAMarkingModeWithoutAskingElseAsksToMoveUp) {
  st.EditCursor = 0;
  st.NotPrintLineMode = true;
  grid.SetMouseMode(3);
  MoveTo(kName, 2);
  EXPECT_FALSE(Press(kEscape));
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(grid.MouseMode(), 0);
  EXPECT_TRUE(ui.Prompts().empty());
  ui.ExpectAllAnswered();

  // Normal mode on a modified sheet: the question to record, answered No.
  st.SheetModified = true;
  ui.AnswerModal("Select_1", [this] { st.Select2Result = 1; });
  Press(kEscape);
  ui.ExpectAllAnswered();
  EXPECT_FALSE(st.CommandBusy);
  // Inside another command Esc asks nothing.
  st.CommandBusy = true;
  Press(kEscape);
  st.CommandBusy = false;
  ui.ExpectAllAnswered();
}

TEST_F(GridKeyTableTest, F3ComputesTheTotalsOnceWithAutomaticTotalsOff) {
  st.ReCalcFlag = false;
  Sheet({Row(' ', {{kQty, "2"}, {kPrice, "100"}, {kAmount, "200"}}), Row(' ', {{kQty, "1"}, {kPrice, "50"}, {kAmount, "50"}})});
  MoveTo(kName, 1);
  EXPECT_FALSE(Press(kF1 + 2));
  EXPECT_EQ(Cell(0, kAmount), "250");
  EXPECT_EQ(RTrimBlanks(Shown(kAmount, st.Imax + 1)), "250");
  EXPECT_TRUE(st.SheetModified);
  EXPECT_FALSE(st.ReCalcFlag);
}

}  // namespace
}  // namespace kv::test
