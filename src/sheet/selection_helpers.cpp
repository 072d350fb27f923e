#include "sheet/selection_helpers.h"

#include <algorithm>

#include "platform/grid/grid_api.h"
#include "state/program_state.h"
#include "storage/level_read.h"

namespace kv {

GridRect GetSelRect(const GridModel& grid) {
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  GetSelect32(grid, c1, r1, c2, r2);
  return {std::min(c1, c2), std::min(r1, r2), std::max(c1, c2), std::max(r1, r2)};
}

void SelRectStore(ProgramState& st, GridModel& grid) {
  const GridRect sel = GetSelRect(grid);
  st.SelLeft = sel.left;
  st.SelTop = sel.top;
  st.SelRight = sel.right;
  st.SelBottom = sel.bottom;
  if (st.CurrentRow != 0) grid.SetCurrentRow(st.CurrentRow);
}

void AutoAdvanceCell(ProgramState& st, GridModel& grid) {
  const int col = grid.CurrentCol();
  const int row = grid.CurrentRow();
  const int level = std::clamp(st.CurrentLevel, 0, 8);
  if (st.AutoDownFlag == 1 && st.CurrentRow < SheetRowLimit(st)) {
    grid.SetCurrentRow(row + 1);
    if (IsCellOutOfRange32(grid, GetActiveClientNum32(grid), col, row + 1) != 0)
      LineDownScroll32(grid);
  } else if (st.AutoDownFlag == 2 && st.CurrentCol < st.ColCount[level]) {
    grid.SetCurrentCol(col + 1);
    if (IsCellOutOfRange32(grid, GetActiveClientNum32(grid), col + 1, row) != 0)
      LineRightScroll32(grid);
  }
}

void KeepSelVisible(GridModel& grid) {
  const GridRect sel = GetSelRect(grid);
  int col = 0, row = 0;
  GetTopCell32(grid, 0, col, row);
  if (sel.left < col) {
    SetTopCell32(grid, 0, sel.left, row);
    grid.SetCurrentCol(sel.left);
  }
}

}  // namespace kv
