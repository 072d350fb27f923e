#pragma once
// The memo-row editor: a one-cell grid (`RowSheet`) laid over a memo row of
// the sheet grid to edit its text.
#include <string>

#include "platform/grid/grid_model.h"

namespace kv {

struct ProgramState;

// What the memo editor asks of the window: show the one-cell grid over a
// place of the sheet grid, and hide it again.
class MemoEditorPort {
 public:
  virtual ~MemoEditorPort() = default;
  // Lays the editor over `rect`, pixels of the sheet grid's viewport (right
  // and bottom exclusive, already cut to the viewport), raises it above the
  // sheet grid, shows it and gives it the focus.
  virtual void Place(const GridRect& rect) = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
};

// Width of the editor's one column in grid units: `MemoRowMax` half-width
// characters of width `charWidth` (W x MemoRowMax / 2, halves to even).
int MemoEditorWidth(const ProgramState& st, int charWidth);

// Opens the editor on the cursor row `CurrentRow` of `sheet` (a memo-type
// row): sets `rowSheet` up, lays it over the row from the first visible
// column, `MemoEditorWidth` units wide at the sheet grid's zoom (cut at the
// grid's right edge), one row high for a "ﾒ" row, two (three below 90 %
// zoom) for the other memo kinds. Only a "ﾒ" row is loaded and opened for
// editing (`MemoEditRow`, `MemoEditOpen`); the others are shown without
// text. A row without a place on the screen (the totals line) gets the
// message "合計行ではメモ行の作成及び編集はできません。" and nothing else.
void OpenMemoEditor(ProgramState& st, GridModel& sheet, GridModel& rowSheet, MemoEditorPort& port);

// Stores `text` (Shift-JIS bytes) as the memo text of the edited row
// (`MemoEditRow` + the editor's row - 1, which becomes `CurrentRow`): cut to
// `MemoRowMax` bytes without leaving half a double-byte character, padded
// with blanks, from byte 20; the sheet is marked modified. A row that is not
// (or no longer) a "ﾒ" row is left alone.
void CommitMemoRow(ProgramState& st, GridModel& rowSheet, std::string text);

}  // namespace kv
