#include "editor/grid_key_table.h"

#include <algorithm>

#include "calc/equipment/equipment_recalc.h"
#include "calc/recalc_all_levels.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "editor/calc_box.h"
#include "editor/edit_menu.h"
#include "editor/file_menu.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "sheet/cell_commit.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/level_navigation.h"
#include "sheet/memo_editor.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/sheet_services.h"
#include "storage/file_command_steps.h"
#include "storage/row_record.h"

namespace kv {

namespace {

using namespace gridkey;

constexpr int kF3 = gridkey::kF1 + 2;
constexpr int kF4 = gridkey::kF1 + 3;

std::string Trimmed(std::string_view s) { return std::string(TrimBlanks(s)); }

bool CursorOnMemoRow(const EditorGrids& g) { return IsMemoKind(RowKind(g.st, g.st.CurrentRow)); }

// Blanks a cell in the row record and the grid.
void BlankCell(EditorGrids& g, int col, int row) {
  FieldStore(g.st, g.st.SheetRows[size_t(row)], col, g.st.CurrentLevel, "");
  SetTextData32(g.sheet, col, row, "");
}

// F2 on a row that is not a memo row: the grid's in-cell edit with the
// stored text (the closing record's bytes on the totals line).
void DirectEdit(EditorGrids& g, KeyPress& k) {
  ProgramState& st = g.st;
  MarkingModesOff(st);
  const int level = st.CurrentLevel, col = st.CurrentCol, row = st.CurrentRow;
  if (!IsLevelColumn(st, col) || row < 1) {
    k.key = 0;
    return;
  }
  const char kind = RowKind(st, row);
  if (!IsBlank(st.ColTotalKind[size_t(level)][size_t(col)]) && kind != 'Q') {
    k.key = 0;
    return;
  }
  st.CellEditActive = true;
  std::string text;
  if (row > st.Imax)
    text = FieldText(st, st.SheetTotalRecord, col, level);
  else if (kind == 'Q')
    text = RTrimBlanks(FieldText(st, st.SheetRows[size_t(row)], col, level));
  else
    text = FieldText(st, st.SheetRows[size_t(row)], col, level);
  SetTextData32(g.sheet, col, row, text);
  g.sheet.BeginEdit(st.EditCellPosition);
  k.key = 0;
}

void ClearSelection(EditorGrids& g, KeyPress& k) {
  ProgramState& st = g.st;
  MarkingModesOff(st);
  k.key = 0;
  SelRectStore(st, g.sheet);
  const bool range = st.SelLeft != st.SelRight || st.SelTop != st.SelBottom;
  ClearSelCells(st, g.sheet);
  if (range) ClearSelect32(g.sheet);
  KeepSelVisible(g.sheet);
}

void BlankCursorCell(EditorGrids& g, KeyPress&) {
  ProgramState& st = g.st;
  const int level = st.CurrentLevel, col = st.CurrentCol;
  if (IsLevelColumn(st, col)) {
    st.CellCommitting = true;
    CellCommit(st, g.sheet, std::string(size_t(std::max(st.ColWidth[size_t(level)][size_t(col)], 0)), ' '));
    st.CellCommitting = false;
  }
  MarkingModesOff(st);
}

bool IsKey(const KeyPress& k, int key) { return k.key == key; }

bool CtrlOnly(const KeyPress& k) { return k.ctrl && !k.shift; }

// F9: down into the breakdown of the cursor row under the busy lock; not
// inside another command (its lock is not ours to release).
void LevelDownKey(EditorGrids& g, KeyPress&) {
  ProgramState& st = g.st;
  if (st.CommandBusy) return;
  CommandBusySet(st, true);
  LevelDown(st, g.bar);
  CommandBusySet(st, false);
  MarkingModesOff(st);
}

// The first (or last) column of the level shown in its mask screen; 0 when
// every column is hidden.
int ShownColumn(const ProgramState& st, bool last) {
  const int count = std::min(st.ColCount[size_t(st.CurrentLevel)], kMaxColumns);
  for (int i = 1; i <= count; ++i) {
    const int c = last ? count + 1 - i : i;
    if (!IsMaskedColumn(st, c)) return c;
  }
  return 0;
}

// Ctrl+Left and Ctrl+Right: one column inside the shown column, so the
// grid's own step of the same key ends on it. Without a shown column, or
// with no column to step from, the cursor stays (or goes onto the column)
// and the key goes no further.
void ColumnJump(EditorGrids& g, KeyPress& k, bool last) {
  const int c = ShownColumn(g.st, last);
  const int from = last ? c - 1 : c + 1;
  if (c == 0) {
    k.key = 0;
  } else if (from < 1 || from > g.sheet.ColCount()) {
    g.sheet.SetCurrentCol(c);
    k.key = 0;
  } else {
    g.sheet.SetCurrentCol(from);
  }
}

// Ctrl+End and Ctrl+Down: the cursor ends on the last used row (row 1 on an
// empty sheet). The grid has no step of its own for End; for Down it steps
// one row on, so the row is set one above and the grid's step (which also
// scrolls the row into view) ends on it. Without a row above to step from,
// or for End, the row is set and scrolled into view here.
void UsedRowJump(EditorGrids& g, KeyPress& k) {
  const int last = std::max(g.st.UsedRows, 1);
  if (k.key == kDown && last > 1) {
    g.sheet.SetCurrentRow(last - 1);
    return;
  }
  g.sheet.SetCurrentRow(last);
  g.sheet.EnsureVisible(g.sheet.CurrentCol(), last);
  if (k.key == kDown) k.key = 0;
}

// Leaves a marking mode (`leave` is its toggle) and repaints the sheet
// without the marks.
void MarkingModeLeave(EditorGrids& g, void (*leave)(ProgramState&)) {
  ProgramState& st = g.st;
  leave(st);
  // Without the sheet engine the toggle cannot reach the grid.
  g.sheet.SetMouseMode(st.EditCursor);
  if (st.sheetEngine) {
    st.SheetLoading = true;
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    g.sheet.SetCurrentCol(st.CurrentCol);
    g.sheet.SetCurrentRow(st.CurrentRow);
    st.SheetLoading = false;
  }
  st.MemoEditOpen = false;
}

void EscapeKey(EditorGrids& g, KeyPress&) {
  ProgramState& st = g.st;
  if (st.NotPrintLineMode) {
    MarkingModeLeave(g, NotPrintLine);
  } else if (st.NotPrintLvlLineMode) {
    MarkingModeLeave(g, NotPrintLvlLine);
  } else {
    AskLevelUp(st, g.bar);
    st.MemoEditOpen = false;
  }
  MarkingModesOff(st);
}

// F3: the totals computed and shown once, even with automatic totals off.
void TotalsNow(EditorGrids& g, KeyPress&) {
  ProgramState& st = g.st;
  MarkingModesOff(st);
  const bool keep = st.ReCalcFlag;
  st.ReCalcFlag = true;
  if (st.calc != nullptr) st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
  st.SheetModified = true;
  st.ReCalcFlag = keep;
}

const std::vector<KeyTableRow> kRows = {
    {"1", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kShift) || IsKey(k, kControl); },
     [](EditorGrids&, KeyPress&) {}},
    {"2", [](const EditorGrids& g, const KeyPress&) { return g.st.CellCommitting; },
     [](EditorGrids&, KeyPress& k) { k.key = 0; }},
    {"3", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF9); }, LevelDownKey},
    {"4", [](const EditorGrids&, const KeyPress& k) { return (IsKey(k, kHome) || IsKey(k, kUp)) && CtrlOnly(k); },
     [](EditorGrids& g, KeyPress&) { g.sheet.SetCurrentRow(1); }},
    {"5", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kLeft) && CtrlOnly(k); },
     [](EditorGrids& g, KeyPress& k) { ColumnJump(g, k, false); }},
    {"6", [](const EditorGrids&, const KeyPress& k) { return (IsKey(k, kDown) || IsKey(k, kEnd)) && CtrlOnly(k); },
     UsedRowJump},
    {"7", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kRight) && CtrlOnly(k); },
     [](EditorGrids& g, KeyPress& k) { ColumnJump(g, k, true); }},
    {"8", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kHome) && k.shift; },
     [](EditorGrids& g, KeyPress&) { HoldCellText(g); }},
    {"9", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kHome) && !k.shift; },
     [](EditorGrids& g, KeyPress&) { WriteHeldText(g); }},
    {"10",
     [](const EditorGrids& g, const KeyPress& k) { return IsKey(k, kF2) && !k.shift && CursorOnMemoRow(g); },
     [](EditorGrids& g, KeyPress&) {
       MarkingModesOff(g.st);
       g.st.SheetModified = true;
       OpenMemoEditor(g.st, g.sheet, g.rowSheet, g.memo);
     }},
    {"11", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kReturn); },
     [](EditorGrids& g, KeyPress& k) {
       DentakuOpen(g);
       MarkingModesOff(g.st);
       k.key = 0;
     }},
    {"12",
     [](const EditorGrids&, const KeyPress& k) {
       switch (k.key) {
         case kLeft: case kUp: case kRight: case kDown: case kPageUp: case kPageDown: case kInsert: case kEnd:
           return true;
         default:
           return false;
       }
     },
     [](EditorGrids&, KeyPress&) {}},
    {"13", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kDelete); }, ClearSelection},
    {"14", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kBack); }, BlankCursorCell},
    {"15", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kTab); },
     [](EditorGrids&, KeyPress& k) { k.key = 0; }},
    {"16", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kEscape); }, EscapeKey},
    // Shift+F1 recalculates all levels and Shift+F2 the equipment totals.
    // While the grid has the focus the menu items with the same shortcuts
    // take these keys; these rows act when the item is not shown.
    {"17", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF1) && k.shift; },
     [](EditorGrids& g, KeyPress& k) {
       RecalcAllLevelsKeyCommand(g.st);
       MarkingModesOff(g.st);
       k.key = 0;
     }},
    {"17a", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF1); },
     [](EditorGrids& g, KeyPress&) { MarkingModesOff(g.st); }},
    {"18", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF2) && k.shift; },
     [](EditorGrids& g, KeyPress& k) {
       MarkingModesOff(g.st);
       EquipmentRecalcCommand(g.st);
       k.key = 0;
     }},
    {"18a", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF2) && !k.shift; }, DirectEdit},
    {"19", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF3); }, TotalsNow},
    // F4: the File menu's print item; nothing inside another command, whose
    // busy lock the print would release.
    {"20", [](const EditorGrids&, const KeyPress& k) { return IsKey(k, kF4); },
     [](EditorGrids& g, KeyPress&) {
       if (g.st.CommandBusy) return;
       MarkingModesOff(g.st);
       if (g.fileMenu != nullptr) Menu_1Sub_Click(g.st, 15, *g.fileMenu);
     }},
    {"21", [](const EditorGrids&, const KeyPress&) { return true; }, [](EditorGrids&, KeyPress&) {}},
};

}  // namespace

const std::vector<KeyTableRow>& EditorKeyTable() { return kRows; }

std::string EdtSheet_KeyDown2(EditorGrids& g, int& key, bool shift, bool ctrl) {
  KeyPress k{key, shift, ctrl};
  for (const KeyTableRow& row : kRows) {
    if (!row.matches(g, k)) continue;
    row.action(g, k);
    return row.id;
  }
  return {};
}

void HoldCellText(EditorGrids& g) {
  ProgramState& st = g.st;
  ClearSelect32(g.sheet);
  SelRectStore(st, g.sheet);
  st.HeldCellText = g.sheet.CurrentText();
  MarkingModesOff(st);
  EditorPanelSet(st, 1, "[" + st.HeldCellText + "]");
}

void WriteHeldText(EditorGrids& g) {
  ProgramState& st = g.st;
  MarkingModesOff(st);
  const int oldUsed = st.UsedRows;
  ClearSelect32(g.sheet);
  SelRectStore(st, g.sheet);
  const int level = st.CurrentLevel, col = st.CurrentCol, row = st.CurrentRow;
  const char kind = RowKind(st, row);
  const bool onSheetRow = row >= 1 && row <= st.Imax && IsLevelColumn(st, col);
  if (onSheetRow && kind != '\xD2' && kind != kClosingKind) {
    st.SheetModified = true;
    if (!IsComputedColumn(st, level, col)) {
      std::string& rec = st.SheetRows[size_t(row)];
      const bool numeric = IsNumericColumn(st, level, col);
      std::string shown;
      if (numeric) {
        std::string fitted = Trimmed(CommaStrip(ToAnsiBytes(st.HeldCellText)));
        NumFitColumn(st, level, fitted, col);
        FieldStore(st, rec, col, level, fitted);
        NumCommaFormat(st, level, fitted, col);
        st.HeldCellText = ToUnicodeStr(fitted);
        shown = st.HeldCellText;
      } else {
        FieldStore(st, rec, col, level, ToAnsiBytes(st.HeldCellText));
        shown = RTrimBlanks(FieldText(st, rec, col, level));
      }
      SetTextData32(g.sheet, st.SelLeft, st.SelTop, shown);

      ABLinkUpdate(st, g.sheet, col, row);
      if (numeric) RowsFormulaCalc(st, g.sheet, row, row, col, 1);
      for (int i = 1; i <= std::min(st.ABLinkCount, 3); ++i) {
        const int dst = st.ABLinkDst[size_t(i)];
        if (st.ABLinkSrc[size_t(i)] == col && IsLevelColumn(st, dst) && IsNumericColumn(st, level, dst))
          RowsFormulaCalc(st, g.sheet, row, row, dst, 1);
      }
      if (st.ReCalcFlag && st.calc != nullptr)
        st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow, st.UsedRows);

      const std::string& type = st.ColType[size_t(level)][size_t(col)];
      if (!type.empty() && type[0] == 'I') {
        const int table = type.size() > 1 ? type[1] - '0' : -1;
        std::string name;
        const bool found = table >= 0 && table <= 3 &&
                           SiwakeItemFind(st, table, Trimmed(ToAnsiBytes(st.HeldCellText)), name);
        const bool hasName = IsLevelColumn(st, col + 1);
        if (found) {
          if (hasName) {
            FieldStore(st, rec, col + 1, level, name);
            SetTextData32(g.sheet, col + 1, row, ToUnicodeStr(RTrimBlanks(name)));
          }
        } else {
          st.HeldCellText.clear();
          BlankCell(g, col, row);
          if (hasName) BlankCell(g, col + 1, row);
        }
      }
    }
  }
  if (onSheetRow && st.SystemKind == 1 && st.calc != nullptr &&
      st.calc->ZokuPairUpdate(st, st.SheetRows[size_t(row)], level, col, row) && st.ReCalcFlag)
    st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow, st.UsedRows);
  st.UsedRows = LastUsedRow(st);
  EditorPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
  for (int r = oldUsed + 1; r <= st.UsedRows; ++r) SetCellTextColor32(g.sheet, 0, r, 0);
  for (int r = st.UsedRows + 1; r <= oldUsed; ++r) SetCellTextColor32(g.sheet, 0, r, 7);
  AutoAdvanceCell(st, g.sheet);
}

}  // namespace kv
