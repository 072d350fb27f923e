#pragma once
// The Edit menu (`Menu_2Sub`) of the editor window, and switching the
// non-print marking modes off before a command acts.
namespace kv {

struct ProgramState;
class GridModel;

// Item indexes of the Edit menu built so far.
inline constexpr int kEditUndoItem = 0;
inline constexpr int kEditDeleteItem = 4;

// Ends a running non-print marking mode (rows, then levels); nothing while
// neither runs.
void MarkingModesOff(ProgramState& st);

// The Edit menu's command for item `index` on the sheet grid, after the
// marking modes are off: 0 undoes the last entry, 4 clears the selected
// cells. Other items do nothing yet.
void Menu_2Sub_Click(ProgramState& st, GridModel& sheet, int index);

}  // namespace kv
