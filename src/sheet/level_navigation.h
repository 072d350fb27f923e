#pragma once
// Moving along the path of sheets: down into the breakdown sheet (内訳書) of
// the cursor row, back up to a level of the path, and the level bar's clicks.
//
// The sheet in memory is the sheet of `CurrentLevel`; `ParentRows`(L) is the
// row of level L whose breakdown is the sheet of level L + 1, read from the
// level file (never taken from the grid). Going down remembers where the user
// stood (`PathRows`, `PathCols`, `PathTopCells`); coming back puts the cursor
// on that row in the total-name column.
//
// Before a move the user is asked to record a modified sheet. Recording
// writes the sheet and every level above it (FlushLevels); when that fails
// the move ends with the current level's sheet in memory and on screen.
//
// The grid, the level bar's layout and the status bar are reached through
// `st.sheetEngine`; `bar` (may be null) takes the level bar's captions.
#include <functional>

namespace kv {

struct ProgramState;
class LevelBarPort;

// Opens the breakdown sheet of the cursor row as level `CurrentLevel` + 1.
// Silently does nothing on a row past `Imax`, on the deepest level, on a row
// that is blank and owns no breakdown, on a total or memo row, and on an
// empty sheet. A modified sheet is offered for recording first (Yes records,
// No gives the edits up, Cancel stops); a row never recorded must be recorded
// first (Yes records the path, No stops). A first visit starts with row 1
// holding the parent row's heading columns, not marked modified.
void LevelDown(ProgramState& st, LevelBarPort* bar);

// Makes level n of the current path the sheet in memory, the cursor back on
// the row the user went down from. n = 0 is the quiet return to level 1 (no
// repaint, path captions, cursor or status text) and sets n to 1. A level
// outside 1 .. `CurrentLevel` does nothing.
void LevelJump(ProgramState& st, int& n, LevelBarPort* bar);

// Esc on the sheet: offers to record (Select_1), then below level 1 asks
// where to go (Select_2): answer 0 one level up, answer 2 back to level 1
// (offered from level 3 on); any other answer (No, Esc, the title bar's
// close) moves nothing. Nothing while a command runs.
void AskLevelUp(ProgramState& st, LevelBarPort* bar);

// The window's members that toggle the non-print marking modes; an empty one
// leaves its mode as it is.
struct MarkingModeToggles {
  std::function<void()> NotPrintLine;
  std::function<void()> NotPrintLvlLine;
};

// The level bar: a button ends the marking modes and then acts as its label;
// a label click jumps to its level under the busy lock. Nothing while a
// command runs. A double click on a label does nothing.
void DM_Button_Click(ProgramState& st, int index, LevelBarPort* bar, const MarkingModeToggles& toggles = {});
void DMLabel_Click(ProgramState& st, int index, LevelBarPort* bar);
void DMLabel_DblClick(ProgramState& st, int index);

}  // namespace kv
