#pragma once
// The state of editing the sheet in memory: the one-level undo copy, the
// memo-row editor, the grid's editing events and the non-print marking modes.
#include <array>
#include <string>

#include "state/sheet_state.h"

namespace kv {

struct EditState {
  // The undo copy: UndoRows[r] = SheetRows[r] for r = 1 .. UndoRowCount at the
  // time of the copy; slot 1001 holds the closing record. Slots above
  // UndoRowCount keep whatever an earlier copy left and are never read.
  // UndoTaken tells a copy of an empty sheet (count 0: the undo of the first
  // entry blanks the sheet again) from no copy at all (nothing to restore).
  std::array<std::string, kMaxSheetRows + 2> UndoRows;
  int UndoRowCount = 0;
  bool UndoTaken = false;
  int UndoCursorCol = 0;
  int UndoCursorRow = 0;
  SheetTopCell UndoTopCell;  // the grid's top-left visible cell at the copy

  // The memo-row editor: the sheet row being edited and whether a "ﾒ" row is
  // open in it.
  int MemoEditRow = 0;
  bool MemoEditOpen = false;

  // The editor grid's editing events.
  bool CellEditActive = false;   // a cell of the sheet grid is being edited
  bool CellCommitting = false;   // a commit is running (keys are swallowed)
  int DivideCol = 0;             // the column where the grid's panes are split
  std::string HeldCellText;      // the cell text held by Shift+Home, written by Home

  // The non-print marking modes (rows, levels): false until they are built.
  bool NotPrintLineMode = false;
  bool NotPrintLvlLineMode = false;

  // The row clipboard: the records of sheet rows RowClipTop .. RowClipBottom
  // of the last row copy, in RowClip[1 ..]. RowClipTop 0 = empty (at start).
  // Program-wide: level moves and other estimates keep it.
  std::array<std::string, kMaxSheetRows + 2> RowClip;
  int RowClipTop = 0;
  int RowClipBottom = 0;
};

}  // namespace kv
