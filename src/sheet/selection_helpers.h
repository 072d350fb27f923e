#pragma once
// Small operations the editor's commands share around the sheet grid: the
// selection as a normalised rectangle, the cursor step after an entry, and
// scrolling the selection's left column into view.
#include "platform/grid/grid_model.h"

namespace kv {

struct ProgramState;

// The grid's selection with its corners ordered (left <= right, top <=
// bottom), whichever corner the user dragged from.
GridRect GetSelRect(const GridModel& grid);

// The selection into `SelLeft`, `SelTop`, `SelRight`, `SelBottom`; then the
// grid's cursor row goes back to `CurrentRow` (when that is not 0).
void SelRectStore(ProgramState& st, GridModel& grid);

// After an entry: with `AutoDownFlag` 1 the cursor moves one row down (not
// below Imax), with 2 one column right (not past the level's last column),
// scrolling one line when the new cell is not fully shown; with 0 it stays.
void AutoAdvanceCell(ProgramState& st, GridModel& grid);

// When the selection starts left of the first column shown, the grid scrolls
// so that it is first (same top row) and the cursor column follows; a
// selection right of the visible area is left as it is.
void KeepSelVisible(GridModel& grid);

}  // namespace kv
