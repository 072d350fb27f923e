#pragma once
// The Edit menu (`Menu_2Sub`) of the editor window, and the non-print
// marking modes: switched on and off, and off before a command acts.
namespace kv {

struct ProgramState;
class GridModel;

// Item indexes of the Edit menu.
inline constexpr int kEditUndoItem = 0;
inline constexpr int kEditCutItem = 1;
inline constexpr int kEditCopyItem = 2;
inline constexpr int kEditPasteItem = 3;
inline constexpr int kEditDeleteItem = 4;
inline constexpr int kEditRowDeleteItem = 6;
inline constexpr int kEditRowInsertItem = 7;
inline constexpr int kEditRowCopyItem = 9;
inline constexpr int kEditRowPasteItem = 10;
inline constexpr int kEditMenuItems[] = {kEditUndoItem,      kEditCutItem,       kEditCopyItem,
                                         kEditPasteItem,     kEditDeleteItem,    kEditRowDeleteItem,
                                         kEditRowInsertItem, kEditRowCopyItem,   kEditRowPasteItem};

// The grid's cursor mode while a non-print marking mode runs.
inline constexpr int kMarkingCursorMode = 3;
// The items of the extended-functions menu ("Tokusyusub") that switch the
// row and the level-row marking modes; they carry the modes' check marks.
inline constexpr int kNotPrintLineItem = 1;
inline constexpr int kNotPrintLvlLineItem = 20;

// Switch the non-print row / level-row marking mode on or off. While a mode
// is on, a left click on a row toggles the row's mark; the grid is in the
// marking cursor mode (EditCursor again when off), status panel 1 tells how
// to leave (cleared when off) and the mode's menu item is checked.
void NotPrintLine(ProgramState& st);
void NotPrintLvlLine(ProgramState& st);

// Ends a running non-print marking mode (rows, then levels); nothing while
// neither runs.
void MarkingModesOff(ProgramState& st);

// The Edit menu's command for item `index` on the sheet grid, after the
// marking modes are off: 0 undoes the last entry; 1 cut, 2 copy and 3 paste
// the selected cells through the clipboard; 4 clears them; 6 deletes the
// selected rows (kept in the row clipboard), 7 inserts blank rows, 9 copies
// the rows, 10 pastes the row clipboard at the cursor. Rows 6 and 7 do
// nothing on the totals line. Other items do nothing.
void Menu_2Sub_Click(ProgramState& st, GridModel& sheet, int index);

}  // namespace kv
