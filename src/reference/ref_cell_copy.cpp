#include "reference/ref_cell_copy.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "core/ini_file.h"
#include "core/window_services.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "sheet/cell_text_store.h"
#include "sheet/column_links.h"
#include "sheet/last_used_row.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

char FirstOf(const std::string& type) { return type.empty() ? '\0' : type.front(); }

bool IsNumberType(char t) { return (t >= '0' && t <= '4') || t == 'A'; }

// The cell as the sheet shows it: numbers with separators, texts without
// trailing blanks.
void PaintCell(ProgramState& st, GridModel& grid, int col, int row) {
  const int level = st.CurrentLevel;
  std::string text(FieldBytes(st, st.SheetRows[static_cast<size_t>(row)], col, level));
  if (IsNumericColumn(st, level, col)) {
    NumCommaFormat(st, level, text, col);
    SetTextData32(grid, col, row, FromSjis(text));
  } else {
    SetTextData32(grid, col, row, RTrimBlanks(FromSjis(text)));
  }
}

// What one destination row needs after the copy, by the first character of
// the destination column's type.
void FollowUp(ProgramState& st, GridModel& grid, int col, int row, char t) {
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  const int level = st.CurrentLevel;
  if (IsNumberType(t)) {
    if (st.calc != nullptr) {
      const std::string stored(FieldBytes(st, rec, col, level));
      std::string result = st.calc->FormulaEvaluate(st, rec, stored);
      // A value the evaluator refuses keeps the bytes copied.
      if (!st.calc->IsFormulaError(result)) {
        NumFitColumn(st, level, result, col);
        FieldStore(st, rec, col, level, result);
      }
      st.calc->RowCalc(st, rec);
    }
    ABLinkUpdate(st, grid, col, row);
    PaintCell(st, grid, col, row);
    if (st.calc != nullptr) st.calc->RowCalc(st, rec);
    RowNumbersDisplay(st, grid, row);
    return;
  }
  if (t == 'W' || t == 'C' || t == 'F' || t == 'S' || t == 'I' || t == 'D') {
    PaintCell(st, grid, col, row);
    if (t == 'I' || t == 'D') return;
    ABLinkUpdate(st, grid, col, row);
    if (t == 'S') {
      // A copied formula text is computed as a typed one is.
      if (st.calc != nullptr) st.calc->RowCalc(st, rec);
      RowNumbersDisplay(st, grid, row);
    }
  }
}

}  // namespace

std::string RefCellRowsMessage(int imax) { return "ﾃﾞｰﾀが " + std::to_string(imax) + "行を越えますので複写出来ません."; }

std::string RefRowsMessage(int imax) { return "見積" + RefCellRowsMessage(imax); }

bool IsRefTotalKind(char kind) { return std::string_view("#%$\xB1\xB2\xB3").find(kind) != std::string_view::npos; }

void RefCellCopy(ProgramState& st, GridModel& ref, GridModel& edt) {
  const int col = st.CurrentCol;
  if (col == 0 || st.CurrentRow < 1) return;
  const int level = st.CurrentLevel;
  const int refLevel = std::clamp(st.RefCurrentLevel, 1, 8);
  const int imax = SheetRowLimit(st);
  // Both grids get the finishing call on every way out.
  struct Finish {
    GridModel& a;
    GridModel& b;
    ~Finish() {
      a.Refresh();
      b.Refresh();
    }
  } finish{ref, edt};

  const GridRect sel = GetSelRect(ref);
  if (sel.left != sel.right) {
    WarnMsgBox(st, kRefOneColumnOnly);
    return;
  }
  const int c = sel.left;
  const char cursorKind = RecordByte(st.SheetRows[static_cast<size_t>(std::clamp(st.CurrentRow, 0, kMaxSheetRows + 1))],
                                     kKindPos);
  if (!IsLevelColumn(st, level, col) || !st.ColFormula[level][col].empty() ||
      (IsRefTotalKind(cursorKind) && IsNumericColumn(st, level, col))) {
    WarnMsgBox(st, kRefBadDestination);
    return;
  }
  // The column whose bytes are copied is the one checked.
  if (!IsLevelColumn(st, refLevel, c) || st.ColType[refLevel][c] != st.ColType[level][col] ||
      st.ColWidth[refLevel][c] != st.ColWidth[level][col]) {
    WarnMsgBox(st, kRefSourceDiffers);
    return;
  }
  const int top = std::max(sel.top, 1);
  const int bottom = std::min(sel.bottom, st.RefUsedRows);
  const int n = std::max(bottom - top + 1, 0);
  st.UsedRows = LastUsedRow(st);
  const int oldUsed = st.UsedRows;
  if (st.CurrentRow + n - 1 > imax) {
    WarnMsgBox(st, RefCellRowsMessage(imax));
    return;
  }
  UndoSave(st, edt);
  const int srcStart = st.ColStart[refLevel][c];
  const int width = st.ColWidth[level][col];
  const bool wide = IsWTypeColumn(st, col, level);
  for (int r = top, d = st.CurrentRow; r <= bottom; ++r, ++d) {
    std::string& rec = st.SheetRows[static_cast<size_t>(d)];
    const std::string& src = st.RefSheetRows[static_cast<size_t>(r)];
    if (RecordByte(rec, kKindPos) == ' ' && RecordByte(src, kKindPos) == ' ') {
      const std::string bytes(FieldBytes(src, srcStart, width));
      if (wide) {
        std::string text = FromSjis(bytes);
        CellTextStore(st, text, col, d, level);
        FieldStore(st, rec, col, level, ToSjis(text));
      } else {
        FieldStore(st, rec, col, level, bytes);
      }
    }
    if (st.SystemKind == 1 && st.calc != nullptr) st.calc->ZokuPairUpdate(st, rec, level, col, d);
  }
  ref.SetCurrentCol(c);
  ref.SetCurrentRow(top);
  st.UsedRows = LastUsedRow(st);
  for (int r = oldUsed + 1; r <= st.UsedRows; ++r) SetCellTextColor32(edt, 0, r, 0);
  for (int r = st.UsedRows + 1; r <= oldUsed; ++r) SetCellTextColor32(edt, 0, r, 7);
  st.SheetModified = true;
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");

  const char t = FirstOf(st.ColType[level][col]);
  for (int i = 0; i < n; ++i) FollowUp(st, edt, col, st.CurrentRow + i, t);
  const bool totals = t == '\0' || t == ' ' || IsNumberType(t) || t == 'S' || (st.CustomerVariant && col == 10);
  if (totals && st.ReCalcFlag && st.calc != nullptr)
    st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
  st.ui.SetBusyPointer(false);
  if (st.AutoDownFlag == 1)
    for (int i = 0; i < n && st.CurrentRow < imax; ++i) AutoAdvanceCell(st, edt);
}

void RefOLEObjectCopy(ProgramState& st, GridModel& ref, GridModel& edt) {
  const int item = st.RefSelectedObjectItem;
  if (item < 1 || item > ref.ItemCount()) return;
  if (IniGetInt("OLE", "OleFileCnt", st.WorkFileBase + ".INI") >= st.OleFileMax) {
    AskUser(st, kRefOleFileLimit, vbOKOnly);
    return;
  }
  if (edt.ItemCount() >= st.OleFilePicMax) {
    AskUser(st, kRefOlePicLimit, vbOKOnly);
    return;
  }
  const GridItem& it = ref.Item(item);
  edt.CreateItem(std::max(edt.CurrentCol(), 1), std::max(edt.CurrentRow(), 1), it.data, it.width, it.height);
  st.OleObjectsChanged = true;
  st.SheetModified = true;
}

}  // namespace kv
