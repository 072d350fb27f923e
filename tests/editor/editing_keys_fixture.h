#pragma once
// The editor's grids over the sheet-editing fixture (the real cell commit and
// calculation): the sheet grid wired to the editor's handlers, with doubles
// of the calculator box and the memo editor.
#include "editor/grid_events.h"
#include "editor_grid_fixture.h"
#include "sheet/edit_fixture.h"

namespace kv::test {

class EditingKeysFixture : public EditFixture {
 protected:
  CalcBoxDouble box;
  MemoDouble memo;
  GridModel rowSheet;
  EditorGrids g{st, grid, rowSheet, box, memo};

  EditingKeysFixture() {
    grid.SetViewportSize(900, 600);
    WireEditorGridEvents(g);
  }
  // The cursor to a cell as the user moves it.
  void MoveTo(int col, int row) { grid.SetCursor(col, row); }
  // A key pressed in the sheet grid; true when it was consumed.
  bool Press(int key, bool shift = false, bool ctrl = false) { return grid.KeyDown(key, shift, ctrl); }
};

}  // namespace kv::test
