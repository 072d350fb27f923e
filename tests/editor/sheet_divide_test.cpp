// The split view toggle over the sheet grid: the split remembered and put
// back per level, the cursor on the first shown column after joining, and a
// level whose mask screen hides every column.
#include "editor/sheet_divide.h"

#include "editing_keys_fixture.h"

namespace kv::test {
namespace {

class SheetDivideTest : public EditingKeysFixture {
 protected:
  SheetDivideTest() { Sheet({Row(' ', {{kName, "基礎"}}), Row(' ', {{kName, "型枠"}})}); }
};

TEST_F(SheetDivideTest, JoiningRemembersTheSplitAndSplittingAgainPutsItBack) {
  st.GamenCX[1] = 240;
  ToggleSheetDivide(st, grid);
  EXPECT_EQ(grid.DivideX(), 240);
  EXPECT_EQ(st.GamenX[1], 240);  // recorded by the grid's split notification

  st.MaskDef[1][kName][0] = 'M';
  MoveTo(kPrice, 2);
  grid.SetDivide(300, 0);  // the user moved the split
  ToggleSheetDivide(st, grid);
  EXPECT_EQ(grid.DivideX(), 0);
  EXPECT_EQ(st.GamenX[1], 0);
  EXPECT_EQ(st.GamenCX[1], 300);
  EXPECT_EQ(grid.LeftCol(0), 1);
  EXPECT_EQ(grid.CurrentCol(), kDetail);  // the first column the screen shows

  ToggleSheetDivide(st, grid);
  EXPECT_EQ(grid.DivideX(), 300);
  EXPECT_EQ(st.GamenX[1], 300);
}

TEST_F(SheetDivideTest, EachLevelKeepsItsOwnSplitAndANewOneFollowsTheFirstShownColumn) {
  st.GamenCX[2] = 240;
  st.GamenCX[1] = 0;
  // Nothing remembered for level 1: the split follows its first shown column.
  st.MaskDef[1][kName][0] = 'M';
  ToggleSheetDivide(st, grid);
  EXPECT_EQ(grid.DivideX(), grid.ColWidth(0) + grid.ColWidth(kDetail));
  EXPECT_GT(grid.DivideX(), 0);
  EXPECT_EQ(st.GamenCX[2], 240);
}

TEST_F(SheetDivideTest, WithEveryColumnHiddenTheCursorColumnStays) {
  MoveTo(kPrice, 1);
  grid.SetDivide(200, 0);
  for (int c = 1; c <= st.ColCount[1]; ++c) st.MaskDef[1][size_t(c)][0] = 'M';
  const int before = grid.CurrentCol();
  ToggleSheetDivide(st, grid);
  EXPECT_EQ(grid.DivideX(), 0);
  EXPECT_EQ(st.GamenCX[1], 200);
  EXPECT_GE(grid.CurrentCol(), 1);
  EXPECT_LE(grid.CurrentCol(), st.ColCount[1]);
  EXPECT_EQ(grid.CurrentCol(), before);
}

}  // namespace
}  // namespace kv::test
