#pragma once
// The one-level undo copy of the sheet in memory, and clearing the selected
// cells.
namespace kv {

struct ProgramState;
class GridModel;

// Copies the sheet rows, the closing record, the cursor and the grid's top
// cell into the undo copy.
void UndoSave(ProgramState& st, const GridModel& grid);

// Puts the undo copy back and redraws the sheet; nothing without a copy.
void UndoRestore(ProgramState& st, GridModel& grid);

// Blanks the selected cells' fields and recomputes what depends on them.
void ClearSelCells(ProgramState& st, GridModel& grid);

}  // namespace kv
