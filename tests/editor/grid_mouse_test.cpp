// The sheet grid's mouse events through the grid: the left click's rules as
// one table, the row marks of the marking modes, the right click ending a
// marking mode, and the object clamp.
#include "editor/grid_mouse.h"

#include "editing_keys_fixture.h"
#include "platform/grid/grid_metrics.h"
#include "storage/row_record.h"
#include "support/recording_services.h"

namespace kv::test {
namespace {

class GridMouseTest : public EditingKeysFixture {
 protected:
  RecordingEditor editor;
  GridMouseTest() {
    Sheet({Row(' ', {{kName, "基礎"}, {kPrice, "1234"}}), Row(' ', {{kName, "型枠"}}), Row(' ', {{kName, "柱"}})});
    st.editor = &editor;
    st.MaskDef[1][kNote][0] = 'M';
  }
  ~GridMouseTest() override { st.editor = nullptr; }
};

TEST_F(GridMouseTest, LeftClickRules) {
  struct Case {
    const char* what;
    int col, row;
    bool editing, marking, busy;
    bool selected;  // a selection afterwards
    int c1, r1, c2, r2;
    bool locked;  // the level move ran under the busy lock
    int curCol, curRow;
  };
  const int cols = st.ColCount[1];
  const Case cases[] = {
      {"a cell", kPrice, 2, false, false, false, false, 0, 0, 0, 0, false, kPrice, 2},
      {"hidden column's header", kNote, 0, false, false, false, false, 0, 0, 0, 0, false, kName, 1},
      {"a header in a marking mode", kPrice, 0, false, true, false, false, 0, 0, 0, 0, false, kName, 1},
      {"corner", 0, 0, false, false, false, true, 1, 1, cols, 3, false, kName, 1},
      {"column header", kPrice, 0, false, false, false, true, kPrice, 1, kPrice, 3, false, kName, 1},
      {"row header", 0, 2, false, false, false, false, 0, 0, 0, 0, true, kName, 2},  // no breakdown: stays on the row
      {"row header inside a command", 0, 2, false, false, true, false, 0, 0, 0, 0, false, kName, 1},
      {"a cell during an edit", kPrice, 3, true, false, false, false, 0, 0, 0, 0, false, kPrice, 3},  // the grid moves
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MoveTo(kName, 1);
    grid.ClearSelection();
    editor.calls.clear();
    st.CellEditActive = c.editing;
    st.NotPrintLineMode = c.marking;
    grid.SetMouseMode(c.marking ? 3 : 0);
    st.CommandBusy = c.busy;
    grid.LeftButtonDown(1, c.col, c.row, false);
    EXPECT_EQ(grid.HasSelection(), c.selected);
    if (c.selected) {
      int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
      grid.GetSelection(c1, r1, c2, r2);
      EXPECT_EQ(c1, c.c1);
      EXPECT_EQ(r1, c.r1);
      EXPECT_EQ(c2, c.c2);
      EXPECT_EQ(r2, c.r2);
    }
    EXPECT_EQ(editor.calls.size(), c.locked ? 2u : 0u);
    EXPECT_EQ(st.CurrentCol, c.curCol);
    EXPECT_EQ(st.CurrentRow, c.curRow);
    st.CellEditActive = st.NotPrintLineMode = st.CommandBusy = false;
    grid.SetMouseMode(0);
  }
  // A click on the row-header column ends the edit state.
  st.CellEditActive = true;
  grid.LeftButtonDown(1, 0, 2, false);
  EXPECT_FALSE(st.CellEditActive);
  EXPECT_TRUE(editor.calls.empty());
}

TEST_F(GridMouseTest, ARowClickInAMarkingModeTogglesTheRowsMark) {
  st.SheetRows[2].replace(11, 4, "   1");  // row 2 owns a breakdown
  const auto mark = [this](int row) { return st.SheetRows[size_t(row)][size_t(kPrintMarkPos - 1)]; };
  struct Click {
    const char* what;
    bool levelMode;
    int row;
    char row1, row2;  // the marks afterwards
  };
  const Click clicks[] = {
      {"row mode marks", false, 1, 'U', ' '},
      {"row mode unmarks", false, 1, ' ', ' '},
      {"level mode: no breakdown", true, 1, ' ', ' '},
      {"level mode marks a breakdown", true, 2, ' ', 'I'},
      {"row mode turns I into U", false, 2, ' ', 'U'},
      {"level mode turns U into I", true, 2, ' ', 'I'},
      {"level mode unmarks", true, 2, ' ', ' '},
  };
  for (const Click& c : clicks) {
    SCOPED_TRACE(c.what);
    st.NotPrintLineMode = !c.levelMode;
    st.NotPrintLvlLineMode = c.levelMode;
    grid.SetMouseMode(3);
    st.SheetModified = false;
    MoveTo(kName, 3);
    grid.LeftButtonDown(1, kPrice, c.row, false);
    EXPECT_TRUE(st.SheetModified);
    EXPECT_EQ(mark(1), c.row1);
    EXPECT_EQ(mark(2), c.row2);
    EXPECT_TRUE(grid.Enabled());
    EXPECT_FALSE(grid.Editing());
  }
}

TEST_F(GridMouseTest, RightClickEndsOneMarkingModeElseShowsThePopupButNotOnTheTotalsLine) {
  st.NotPrintLineMode = st.NotPrintLvlLineMode = true;
  grid.RightButtonDown(kName, st.Imax + 1);
  EXPECT_TRUE(st.NotPrintLineMode);
  grid.RightButtonDown(kName, 2);
  EXPECT_FALSE(st.NotPrintLineMode);
  EXPECT_TRUE(st.NotPrintLvlLineMode);
  grid.RightButtonDown(kName, 2);
  EXPECT_FALSE(st.NotPrintLvlLineMode);
  EXPECT_EQ(box.popups, 0);
  grid.RightButtonDown(kName, 2);
  EXPECT_EQ(box.popups, 1);
  // The cursor on the totals line: no popup.
  st.CurrentRow = st.Imax + 1;
  grid.RightButtonDown(kName, 2);
  EXPECT_EQ(box.popups, 1);
}

TEST_F(GridMouseTest, AMovedObjectStaysOnTheSheetsRowsAndAtLeastARowBig) {
  const int rowTw = grid.RowHeight(1) * kTwipsPerGridUnit;
  struct Case {
    const char* what;
    int row;
    int widthTw, heightTw;  // the size dragged to
    int wantRow, wantWidth, wantHeight;
  };
  const int imax = st.Imax;
  const int wide = 100 * kTwipsPerPoint;  // a whole number of points
  const Case cases[] = {
      {"inside", 5, wide, 2 * rowTw, 5, wide, 2 * rowTw},
      {"below Imax", imax + 1, wide, rowTw * 2, imax - 2, wide, 2 * rowTw},
      {"its foot below Imax", imax - 1, wide, rowTw * 4, imax - 4, wide, 4 * rowTw},
      {"taller than the sheet", 3, wide, rowTw * (imax + 5), 1, wide, (imax - 1) * rowTw},
      {"smaller than a row", 4, rowTw / 2, rowTw / 3, 4, rowTw, rowTw},
      {"narrower than a row", 4, rowTw / 2, wide, 4, rowTw, wide},
      {"lower than a row", 4, wide, rowTw / 2, 4, wide, rowTw},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    grid.ClearItems();
    const int item = grid.CreateItem(2, 1, "obj", rowTw, rowTw);
    grid.SelectItem(item);
    // The user drags it to the row with the new size.
    grid.MoveItem(item, 2, c.row);
    grid.ResizeItem(item, c.widthTw, c.heightTw);
    bool ignore = false;
    EdtSheet_ItemMoveResized(g, 2, c.row, 0, 0, c.widthTw / kTwipsPerPoint, c.heightTw / kTwipsPerPoint, ignore);
    EXPECT_FALSE(ignore);
    EXPECT_EQ(grid.ItemRow(item), c.wantRow);
    EXPECT_EQ(grid.ItemWidthTwips(item), c.wantWidth);
    EXPECT_EQ(grid.ItemHeightTwips(item), c.wantHeight);
  }
}

}  // namespace
}  // namespace kv::test
