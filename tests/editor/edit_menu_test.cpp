// The Edit menu's commands, after the marking modes are switched off.
#include "editor/edit_menu.h"

#include "editing_keys_fixture.h"
#include "platform/grid/grid_api.h"

namespace kv::test {
namespace {

class EditMenuTest : public EditingKeysFixture {
 protected:
  EditMenuTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kQty, "2"}, {kPrice, "1500"}}), Row(' ', {{kName, "型枠"}, {kPrice, "800"}})});
    st.UsedRows = 2;
  }
};

TEST_F(EditMenuTest, DeleteClearsTheSelectionAndUndoBringsItBack) {
  engine.UndoSave(st);
  st.NotPrintLineMode = true;
  st.NotPrintLvlLineMode = true;
  MoveTo(kName, 1);
  SetSelect32(grid, kName, 1, kPrice, 2);
  Menu_2Sub_Click(st, grid, kEditDeleteItem);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_EQ(Cell(1, kName), "");
  EXPECT_EQ(Cell(2, kPrice), "");
  EXPECT_EQ(st.SelLeft, kName);
  EXPECT_EQ(st.SelBottom, 2);
  EXPECT_FALSE(ui.Busy());
  Menu_2Sub_Click(st, grid, kEditUndoItem);
  EXPECT_EQ(Cell(1, kName), "基礎");
  EXPECT_EQ(Cell(2, kPrice), "800");
  EXPECT_EQ(RTrimBlanks(Shown(kName, 2)), "型枠");
}

TEST_F(EditMenuTest, CutThenPasteMovesTheCellsThroughTheClipboard) {
  st.NotPrintLineMode = true;
  MoveTo(kName, 1);
  SetSelect32(grid, kName, 1, kName, 2);
  Menu_2Sub_Click(st, grid, kEditCutItem);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_EQ(Cell(1, kName), "");
  EXPECT_EQ(Cell(2, kName), "");
  EXPECT_FALSE(ui.clipboard.empty());
  EXPECT_FALSE(grid.HasSelection());
  MoveTo(kNote, 1);
  Cursor(kNote, 1);
  Menu_2Sub_Click(st, grid, kEditPasteItem);
  EXPECT_EQ(Cell(1, kNote), "基礎");
  EXPECT_EQ(Cell(2, kNote), "型枠");
  EXPECT_FALSE(ui.Busy());
}

TEST_F(EditMenuTest, CopyLeavesTheCellsAndClearsTheSelection) {
  MoveTo(kName, 2);
  SetSelect32(grid, kName, 2, kName, 2);
  Menu_2Sub_Click(st, grid, kEditCopyItem);
  EXPECT_EQ(Cell(2, kName), "型枠");
  EXPECT_NE(ui.clipboard.find("型枠"), std::string::npos);
  EXPECT_FALSE(grid.HasSelection());
}

TEST_F(EditMenuTest, RowDeleteKeepsTheRowsForRowPaste) {
  Cursor(kName, 1);
  SetSelect32(grid, kName, 1, kName, 1);
  Menu_2Sub_Click(st, grid, kEditRowDeleteItem);
  EXPECT_EQ(st.UsedRows, 1);
  EXPECT_EQ(Cell(1, kName), "型枠");
  Cursor(kName, 2);
  Menu_2Sub_Click(st, grid, kEditRowPasteItem);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_EQ(Cell(2, kName), "基礎");
  // Row copy then row paste above: a copy of row 1 before it.
  Cursor(kName, 1);
  SetSelect32(grid, kName, 1, kName, 1);
  Menu_2Sub_Click(st, grid, kEditRowCopyItem);
  Cursor(kName, 1);
  Menu_2Sub_Click(st, grid, kEditRowPasteItem);
  EXPECT_EQ(st.UsedRows, 3);
  EXPECT_EQ(Cell(1, kName), "型枠");
  EXPECT_EQ(Cell(2, kName), "型枠");
}

TEST_F(EditMenuTest, RowInsertOpensBlankRowsAtTheSelection) {
  Cursor(kName, 2);
  SetSelect32(grid, kName, 2, kName, 3);
  Menu_2Sub_Click(st, grid, kEditRowInsertItem);
  EXPECT_EQ(st.UsedRows, 4);
  EXPECT_EQ(Cell(1, kName), "基礎");
  EXPECT_EQ(Cell(2, kName), "");
  EXPECT_EQ(Cell(4, kName), "型枠");
}

TEST_F(EditMenuTest, RowDeleteAndInsertDoNothingOnTheTotalsLine) {
  const auto rows = st.SheetRows;
  SetSelect32(grid, kName, 1, kName, 2);
  Cursor(kName, st.Imax + 1);
  for (int item : {kEditRowDeleteItem, kEditRowInsertItem}) Menu_2Sub_Click(st, grid, item);
  EXPECT_EQ(st.SheetRows, rows);
  EXPECT_EQ(st.UsedRows, 2);
  EXPECT_TRUE(ui.MessageTexts().empty());
}

TEST_F(EditMenuTest, SeparatorsAndUnknownItemsDoNothing) {
  const auto rows = st.SheetRows;
  for (int item : {5, 8, 11, 12, 13, 99}) Menu_2Sub_Click(st, grid, item);
  EXPECT_EQ(st.SheetRows, rows);
}

}  // namespace
}  // namespace kv::test
