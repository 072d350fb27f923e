#include "editor/grid_mouse.h"

#include <algorithm>

#include "editor/edit_menu.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/level_navigation.h"
#include "sheet/non_print_marks.h"
#include "state/program_state.h"
#include "storage/file_command_steps.h"

namespace kv {

namespace {

bool MarkingMode(const ProgramState& st) { return st.NotPrintLineMode || st.NotPrintLvlLineMode; }

// The sheet's cursor cell back on the grid's cursor after a header click
// that stayed on the sheet: a header is no cell to type into.
void CursorFromGrid(EditorGrids& g, int level) {
  if (g.st.CurrentLevel != level) return;
  g.st.CurrentCol = g.sheet.CurrentCol();
  g.st.CurrentRow = g.sheet.CurrentRow();
}

}  // namespace

void EdtSheet_LButtonDown(EditorGrids& g, int col, int row, bool& ignore) {
  ProgramState& st = g.st;
  if (st.CellEditActive) {
    if (col == 0) st.CellEditActive = false;
    return;
  }
  const int level = st.CurrentLevel;
  st.CurrentRow = row;
  st.CurrentCol = col;
  if (row == 0 && col > 0 && IsMaskedColumn(st, col)) {
    ignore = true;
    CursorFromGrid(g, level);
    return;
  }
  if (MarkingMode(st) && g.sheet.MouseMode() == kMarkingCursorMode) {
    ignore = true;
    if (row == 0) {
      CursorFromGrid(g, level);
      return;
    }
    // The clicked row's mark; the grid takes no input while it changes.
    st.SheetModified = true;
    g.sheet.SetEnabled(false);
    if (st.NotPrintLineMode)
      NotPrintLineToggle(st, g.sheet, row);
    else
      NotPrintLvlLineToggle(st, g.sheet, row);
    g.sheet.SetEnabled(true);
    return;
  }
  if (row == 0) {
    ignore = true;
    const int last = col == 0 ? st.ColCount[size_t(level)] : col;
    SetSelect32(g.sheet, std::max(col, 1), 1, last, st.UsedRows);
    CursorFromGrid(g, level);
  } else if (col == 0) {
    ignore = true;
    // Not inside another command: its busy lock is not ours to release.
    if (!st.EquipRecalcRunning && !st.CommandBusy) {
      CommandBusySet(st, true);
      LevelDown(st, g.bar);
      CommandBusySet(st, false);
    }
    CursorFromGrid(g, level);
  }
  g.port.SheetFocus();
}

void EdtSheet_RButtonDown(EditorGrids& g, int, int row, bool& ignore) {
  ProgramState& st = g.st;
  ignore = false;
  if (row > st.Imax) return;
  if (st.NotPrintLineMode)
    NotPrintLine(st);
  else if (st.NotPrintLvlLineMode)
    NotPrintLvlLine(st);
  else if (st.CurrentRow <= st.Imax)
    g.port.EditPopupShow();
}

void EdtSheet_ItemMoveResized(EditorGrids& g, int, int, int, int, int width, int height, bool&) {
  ProgramState& st = g.st;
  GridModel& grid = g.sheet;
  const int item = grid.SelectedItem();
  if (item < 1 || item > grid.ItemCount()) return;
  const int col = grid.ItemCol(item);
  if (grid.ItemRow(item) > st.Imax) grid.MoveItem(item, col, st.Imax);
  const int rowTw = std::max(1, grid.RowHeight(1) * kTwipsPerGridUnit);
  const int itemRow = grid.ItemRow(item);
  const int rows = (grid.ItemHeightTwips(item) + rowTw - 1) / rowTw;
  if (itemRow + rows > st.Imax) {
    const int top = std::max(1, st.Imax - rows);
    grid.MoveItem(item, col, top);
    if (rows > st.Imax && top == 1)
      grid.ResizeItem(item, width * kTwipsPerPoint, (st.Imax - 1) * rowTw);
  }
  const int w = width * kTwipsPerPoint, v = height * kTwipsPerPoint;
  if (w < rowTw && v < rowTw)
    grid.ResizeItem(item, rowTw, rowTw);
  else if (w < rowTw)
    grid.ResizeItem(item, rowTw, v);
  else if (v < rowTw)
    grid.ResizeItem(item, w, rowTw);
}

}  // namespace kv
