#pragma once
// The sheet grid's mouse events on the editor window: the left click (the
// cursor, the header selections, a row header going down a level), the right
// click (ends a marking mode) and the moved or resized embedded object (kept
// inside the sheet's rows).
#include "editor/grid_events.h"

namespace kv {

// A left click on (col, row); ignore = true keeps the grid from handling it.
// The first rule that applies decides:
// - an in-cell edit is open: a click on the row-header column only ends the
//   edit state; any other click does nothing;
// - the header of a column hidden in the mask, or any header while a marking
//   mode runs, is swallowed;
// - a click on a row while a marking mode runs toggles that row's mark of
//   the running mode (non-print row or level row) and marks the sheet
//   modified;
// - the corner selects every column of the used rows, a column header that
//   column of the used rows;
// - a row header opens the breakdown of the row under the busy lock (nothing
//   while a command or the equipment recalculation runs).
// The grid then takes the focus. A header click leaves the cursor cell where
// the grid's cursor stands.
void EdtSheet_LButtonDown(EditorGrids& g, int col, int row, bool& ignore);

// A right click: on the totals line nothing; otherwise it ends a running
// marking mode (the row mode first), or, with no mode running and the
// cursor not on the totals line, shows the popup edit menu.
void EdtSheet_RButtonDown(EditorGrids& g, int col, int row, bool& ignore);

// The selected object was moved or resized (width and height in points):
// it is kept on rows 1 .. Imax and at least one row high and wide.
void EdtSheet_ItemMoveResized(EditorGrids& g, int col, int row, int left, int top, int width, int height,
                              bool& ignore);

}  // namespace kv
