#pragma once
// The memo-row editor: a one-cell grid (`RowSheet`) laid over a memo row of
// the sheet grid to edit its text.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;

// What the memo editor asks of the window: show the one-cell grid over the
// given cells of the sheet grid, and hide it again.
class MemoEditorPort {
 public:
  virtual ~MemoEditorPort() = default;
  // Lays the editor over sheet rows firstRow..lastRow from column `col`,
  // `width` grid units wide (cut at the grid's right edge), `height` units high.
  virtual void Place(int col, int firstRow, int lastRow, int width, int height) = 0;
  virtual void Hide() = 0;
  virtual bool Visible() const = 0;
};

// Opens the editor on the cursor row of `sheet` (a memo-type row).
void OpenMemoEditor(ProgramState& st, GridModel& sheet, GridModel& rowSheet, MemoEditorPort& port);

// Stores `text` (Shift-JIS bytes) as the memo text of the edited row.
void CommitMemoRow(ProgramState& st, GridModel& rowSheet, std::string text);

}  // namespace kv
