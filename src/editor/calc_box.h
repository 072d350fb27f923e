#pragma once
// The calculator box (`DentakuText`), a one-line formula box laid over the
// status bar, and the handlers of the memo-row editor grid (`RowSheet`).
#include "editor/grid_events.h"

namespace kv {

// Opens the box on the cursor cell when it is a numeric cell of a plain row
// that no row definition computes (not the totals line), with the stored
// value; true when it opened.
bool DentakuOpen(EditorGrids& g);

// A key typed into the box. Enter evaluates the formula, fits the result to
// the column and commits it; a formula error or a result too large for the
// column is shown and the box stays open with the formula. Esc discards.
void DentakuText_KeyPress(EditorGrids& g, int keyAscii);

// The box lost the focus to another control of the window: the formula is
// discarded. (The window does not call it when another window, such as a
// message box, became active.)
void DentakuText_LostFocus(EditorGrids& g);

// The memo editor's edit ended: the text is committed to the memo row, the
// row shown again and the editor closed; the sheet cursor goes one row down.
void RowSheet_EditEnd(EditorGrids& g);
// Keys of the memo editor: Enter and Esc close it, F2 edits the memo text,
// Delete and Backspace empty it.
void RowSheet_KeyDown2(EditorGrids& g, int& key, bool shift, bool ctrl);
void RowSheet_RButtonDown(int col, int row, bool& ignore);

}  // namespace kv
