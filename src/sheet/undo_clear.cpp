#include "sheet/undo_clear.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "sheet/cell_commit.h"
#include "sheet/column_links.h"
#include "sheet/grid_setup.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "state/calc_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"

namespace kv {
namespace {

constexpr size_t kUndoTotalSlot = kMaxSheetRows + 1;
constexpr int kMemoTextStart = 20;

// Blanks bytes start .. start + width - 1 of a memo-type row, whose text runs
// from byte 20 across the column fields: a double-byte character of the text
// that straddles either edge of the range is blanked whole.
void BlankMemoRange(std::string& rec, int start, int width) {
  if (start < 1 || width < 1 || static_cast<size_t>(start) > rec.size()) return;
  size_t from = static_cast<size_t>(start) - 1;
  size_t to = std::min(rec.size(), from + static_cast<size_t>(width));  // exclusive
  for (size_t i = kMemoTextStart - 1; i < to;) {
    const bool wide = IsSjisLeadByte(static_cast<unsigned char>(rec[i])) && i + 1 < rec.size();
    const size_t next = i + (wide ? 2 : 1);
    if (i < from && next > from) from = i;
    if (i < to && next > to) to = next;
    i = next;
  }
  std::fill(rec.begin() + static_cast<std::ptrdiff_t>(from), rec.begin() + static_cast<std::ptrdiff_t>(to), ' ');
}

void StatusUsedRows(ProgramState& st) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
}

}  // namespace

void UndoSave(ProgramState& st, const GridModel& grid) {
  const int rows = std::clamp(st.UsedRows, 0, kMaxSheetRows);
  for (int r = 1; r <= rows; ++r) st.UndoRows[static_cast<size_t>(r)] = st.SheetRows[static_cast<size_t>(r)];
  st.UndoRows[kUndoTotalSlot] = st.SheetTotalRecord;
  st.UndoCursorCol = st.CurrentCol;
  st.UndoCursorRow = st.CurrentRow;
  st.UndoRowCount = rows;
  st.UndoTaken = true;
  GetTopCell32(grid, 0, st.UndoTopCell.col, st.UndoTopCell.row);
}

void UndoRestore(ProgramState& st, GridModel& grid) {
  if (!st.UndoTaken) return;
  const int limit = SheetRowLimit(st);
  const int rows = std::min(st.UndoRowCount, kMaxSheetRows);
  for (int r = 1; r <= rows; ++r) st.SheetRows[static_cast<size_t>(r)] = st.UndoRows[static_cast<size_t>(r)];
  for (int r = rows + 1; r <= limit; ++r) st.SheetRows[static_cast<size_t>(r)] = std::string(static_cast<size_t>(st.DataLen), ' ');
  st.SheetTotalRecord = st.UndoRows[kUndoTotalSlot];
  const int level = st.CurrentLevel;
  for (int c = 1; IsLevelColumn(st, level, c); ++c)
    SetTextData32(grid, c, limit + 1, FieldText(st, st.SheetTotalRecord, c, level));
  st.UsedRows = LastUsedRow(st);

  st.SheetLoading = true;
  SheetGridInit(st, grid, level);
  st.SheetLoading = false;
  SheetRedisplay(st, grid, 1, st.UsedRows);
  LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, grid);

  SetTopCell32(grid, 0, st.UndoTopCell.col, st.UndoTopCell.row);
  SetSheetLocate32(grid, st.UndoCursorCol, st.UndoCursorRow);
  // The restored rows differ from what was last recorded, whatever the flag
  // said before.
  st.SheetModified = true;
}

void ClearSelCells(ProgramState& st, GridModel& grid) {
  const int oldUsed = st.UsedRows;
  UndoSave(st, grid);
  const int level = st.CurrentLevel;
  const int limit = SheetRowLimit(st);
  const int top = std::max(st.SelTop, 1);
  const int bottom = std::min(st.SelBottom, limit + 1);
  const int left = std::max(st.SelLeft, 1);
  for (int r = top; r <= bottom; ++r) {
    std::string& rec = r <= limit ? st.SheetRows[static_cast<size_t>(r)] : st.SheetTotalRecord;
    const bool memoText = r <= limit && IsMemoTextRow(rec);
    for (int c = left; c <= st.SelRight; ++c) {
      if (IsLevelColumn(st, level, c) && st.ColFormula[level][c].empty()) {
        if (memoText)
          BlankMemoRange(rec, st.ColStart[level][c], st.ColWidth[level][c]);
        else
          FieldStore(st, rec, c, level, "");
        SetTextData32(grid, c, r, "");
      }
      if (st.SystemKind == 1 && st.calc != nullptr) st.calc->ZokuPairUpdate(st, rec, level, c, r);
    }
    // A memo row shows its whole text in column 1: show what is left of it.
    if (memoText) RowDisplay(st, grid, r, r);
  }
  for (int c = left; c <= st.SelRight; ++c) RowsFormulaCalc(st, grid, top, bottom, c, -1);
  if (st.ReCalcFlag && st.calc != nullptr)
    st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
  st.SheetModified = true;
  ClearSelect32(grid);
  st.UsedRows = LastUsedRow(st);
  for (int r = st.UsedRows + 1; r <= oldUsed; ++r) SetCellTextColor32(grid, 0, r, 7);
  StatusUsedRows(st);
}

}  // namespace kv
