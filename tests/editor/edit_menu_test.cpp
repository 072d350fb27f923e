// The Edit menu's undo and delete, after the marking modes are switched off.
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

TEST_F(EditMenuTest, OtherItemsDoNothingYet) {
  const auto rows = st.SheetRows;
  for (int item : {1, 2, 3, 6, 7, 9, 10}) Menu_2Sub_Click(st, grid, item);
  EXPECT_EQ(st.SheetRows, rows);
}

}  // namespace
}  // namespace kv::test
