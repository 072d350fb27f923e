// The selection rectangle, the cursor step after an entry and keeping the
// selection's left column in view.
#include "sheet/selection_helpers.h"

#include "platform/grid/grid_api.h"
#include "sheet/sheet_fixture.h"

namespace kv::test {
namespace {

class SelectionHelpersTest : public SheetFixture {
 protected:
  void SetUp() override {
    SheetFixture::SetUp();
    grid.SetRowCount(201);
    grid.SetColCount(4);
    for (int c = 0; c <= 4; ++c) grid.SetColWidth(c, 100);
    for (int r = 0; r <= 201; ++r) grid.SetRowHeight(r, 20);
    // The header, two columns and ten rows (with the caption and totals line).
    grid.SetViewportSize(300, 240);
  }
  void Cursor(int col, int row) {
    grid.SetCursor(col, row);
    st.CurrentCol = col;
    st.CurrentRow = row;
  }
};

TEST_F(SelectionHelpersTest, SelectionIsNormalisedWhicheverCornerWasDragged) {
  SetSelect32(grid, 4, 9, 2, 3);
  EXPECT_EQ(GetSelRect(grid), (GridRect{2, 3, 4, 9}));
  SetSelect32(grid, 2, 3, 4, 9);
  EXPECT_EQ(GetSelRect(grid), (GridRect{2, 3, 4, 9}));

  Cursor(1, 7);
  SetSelect32(grid, 3, 12, 1, 5);
  grid.SetCursor(1, 9);  // the grid's cursor went elsewhere
  SelRectStore(st, grid);
  EXPECT_EQ(st.SelLeft, 1);
  EXPECT_EQ(st.SelTop, 5);
  EXPECT_EQ(st.SelRight, 3);
  EXPECT_EQ(st.SelBottom, 12);
  EXPECT_EQ(grid.CurrentRow(), 7);
}

TEST_F(SelectionHelpersTest, AutoAdvanceMovesDownOrRightWithinTheSheet) {
  st.AutoDownFlag = 1;
  Cursor(2, 5);
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentRow(), 6);
  EXPECT_EQ(grid.CurrentCol(), 2);

  Cursor(2, 200);  // Imax
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentRow(), 200);
  EXPECT_EQ(grid.CurrentCol(), 2);

  st.AutoDownFlag = 2;
  Cursor(2, 5);
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentCol(), 3);
  EXPECT_EQ(grid.CurrentRow(), 5);
  Cursor(4, 5);  // the level's last column
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentCol(), 4);

  st.AutoDownFlag = 0;
  Cursor(2, 5);
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentCol(), 2);
  EXPECT_EQ(grid.CurrentRow(), 5);
}

TEST_F(SelectionHelpersTest, AutoAdvanceScrollsOneLineWhenTheNewCellIsHidden) {
  st.AutoDownFlag = 1;
  int first = 0, last = 0;
  grid.VisibleRows(first, last);
  ASSERT_EQ(first, 1);
  Cursor(2, last);
  ASSERT_EQ(IsCellOutOfRange32(grid, 0, 2, last), 0);
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentRow(), last + 1);
  EXPECT_EQ(grid.TopRow(), 2);

  st.AutoDownFlag = 2;
  Cursor(2, 3);  // column 3 is out of view
  AutoAdvanceCell(st, grid);
  EXPECT_EQ(grid.CurrentCol(), 3);
  EXPECT_EQ(grid.LeftCol(1), 2);
}

TEST_F(SelectionHelpersTest, KeepSelVisibleScrollsLeftOnly) {
  SetTopCell32(grid, 0, 3, 4);
  SetSelect32(grid, 2, 6, 3, 8);
  KeepSelVisible(grid);
  int col = 0, row = 0;
  GetTopCell32(grid, 0, col, row);
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 4);
  EXPECT_EQ(grid.CurrentCol(), 2);

  SetTopCell32(grid, 0, 1, 4);
  SetSelect32(grid, 4, 6, 4, 8);  // right of the visible columns
  KeepSelVisible(grid);
  GetTopCell32(grid, 0, col, row);
  EXPECT_EQ(col, 1);
}

}  // namespace
}  // namespace kv::test
