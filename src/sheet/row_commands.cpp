#include "sheet/row_commands.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/stored_number_base.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

// Row kinds the level calculation fills: none may become row 1 by a paste.
constexpr std::string_view kComputedKinds = "#%$\xB1\xB2\xB3SZ\xBC\xB9";  // # % $ ｱ ｲ ｳ S Z ｼ ｹ

std::string& Row(ProgramState& st, int r) { return st.SheetRows[static_cast<size_t>(r)]; }

// Bytes 2 .. DataLen of `dst` replaced by those of `src` (or by blanks);
// byte 1 stays.
void MoveRowBody(std::string& dst, std::string_view src, int dataLen) {
  const size_t len = static_cast<size_t>(std::max(dataLen, 1));
  if (dst.size() != len) dst.resize(len, ' ');
  for (size_t i = 1; i < len; ++i) dst[i] = i < src.size() ? src[i] : ' ';
}

void BlankRowBody(std::string& dst, int dataLen) { MoveRowBody(dst, {}, dataLen); }

// The page field (bytes 16-19, the sheet's first page) belongs to the
// sheet's first row, as byte 1 does to its position: once rows have moved,
// row 1 holds `page` (what row 1 held before) and no other row holds one.
std::string PageField(ProgramState& st) {
  std::string page(FieldBytes(Row(st, 1), kObjectPos, kObjectWidth));
  page.resize(static_cast<size_t>(kObjectWidth), ' ');
  return page;
}

void PageFieldOnFirstRowOnly(ProgramState& st, const std::string& page) {
  const int imax = SheetRowLimit(st);
  for (int r = 1; r <= imax + 1; ++r) {
    std::string& rec = Row(st, r);
    if (rec.size() < static_cast<size_t>(kObjectPos + kObjectWidth - 1)) continue;
    rec.replace(static_cast<size_t>(kObjectPos - 1), static_cast<size_t>(kObjectWidth),
                r == 1 ? page : std::string(static_cast<size_t>(kObjectWidth), ' '));
  }
}

void StatusUsedRows(ProgramState& st) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
}

void Recalc(ProgramState& st) {
  if (st.calc != nullptr) st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
}

void HeadersRelabel(ProgramState& st, GridModel& grid, int first, int last) {
  for (int r = std::max(first, 1); r <= last; ++r) SetTextData32(grid, 0, r, RowHeaderLabel(st, grid, r, Row(st, r)));
}

// The first selected row owning a breakdown asks once; false on Cancel.
bool BreakdownDeleteConfirmed(ProgramState& st, int top, int bottom) {
  for (int r = top; r <= bottom; ++r) {
    if (BaseStrToNum(LinkField(Row(st, r), kChildPos), st) <= 0) continue;
    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox(kBreakdownDeleteQuestion, vbOKCancel + vbExclamation, kMsgTitle);
    FloatWindowsTopMostSet(st, true);
    return answer != vbCancel;
  }
  return true;
}

bool NothingToDelete(const ProgramState& st) {
  if (st.SelTop < 1 || st.SelTop > st.UsedRows || st.UsedRows == 0) return true;
  const std::string& first = st.SheetRows[1];
  return st.UsedRows == 1 && first.size() == static_cast<size_t>(st.DataLen) &&
         first.find_first_not_of(' ') == std::string::npos;
}

void RowDeleteRun(ProgramState& st, GridModel& grid) {
  if (NothingToDelete(st)) return;
  st.SelBottom = std::min(st.SelBottom, st.UsedRows);
  UndoSave(st, grid);
  if (!BreakdownDeleteConfirmed(st, st.SelTop, st.SelBottom)) return;

  const int imax = SheetRowLimit(st);
  const int oldUsed = st.UsedRows;
  const int n = st.SelBottom - st.SelTop + 1;
  const std::string page = PageField(st);
  DeleteRow32(grid, st.SelTop, n);
  for (int r = st.SelTop; r <= oldUsed && r + n <= imax; ++r) MoveRowBody(Row(st, r), Row(st, r + n), st.DataLen);
  PageFieldOnFirstRowOnly(st, page);
  st.UsedRows = oldUsed - n;
  HeadersRelabel(st, grid, st.SelTop, st.UsedRows);
  for (int r = st.UsedRows + 1; r <= oldUsed; ++r) {
    BlankRowBody(Row(st, r), st.DataLen);
    grid.SetCellText(0, r, RowNumberText(r) + " ");
  }
  if (st.UsedRows >= 1 && IsBlank(FieldBytes(Row(st, st.UsedRows), kColumnDataPos, st.DataLen - kColumnDataPos)))
    st.UsedRows = LastUsedRow(st);
  for (int r = st.UsedRows + 1; r <= oldUsed; ++r) SetCellTextColor32(grid, 0, r, 7);
  st.SheetModified = true;
  StatusUsedRows(st);
  if (st.ReCalcFlag) Recalc(st);
  PageLinesDraw(st, grid);
}

}  // namespace

void RowCopy(ProgramState& st) {
  st.RowClipTop = st.SelTop;
  st.RowClipBottom = st.SelBottom;
  int k = 1;
  for (int r = st.RowClipTop; r <= st.RowClipBottom && k <= kMaxSheetRows + 1; ++r, ++k)
    st.RowClip[static_cast<size_t>(k)] = st.SheetRows[static_cast<size_t>(std::clamp(r, 0, kMaxSheetRows + 1))];
}

void RowDelete(ProgramState& st, GridModel& grid) {
  st.ui.SetBusyPointer(true);
  RowDeleteRun(st, grid);
  ClearSelect32(grid);
  st.ui.SetBusyPointer(false);
}

RowInsertResult RowInsert(ProgramState& st, GridModel& grid) {
  UndoSave(st, grid);
  RowInsertResult result = RowInsertResult::NothingDone;
  const int n = st.SelBottom - st.SelTop + 1;
  if (st.CurrentRow > st.UsedRows || st.SelTop < 1 || n < 1) {
    // Nothing to move: the rows at the cursor are used as they are.
  } else if (st.UsedRows + n > SheetRowLimit(st)) {
    st.ui.Beep();
    WarnMsgBox(st, kRowLimitMessage);
    result = RowInsertResult::Refused;
  } else {
    const std::string page = PageField(st);
    InsertRow32(grid, st.SelTop, n);
    for (int r = st.UsedRows + n; r >= st.SelBottom + 1; --r) MoveRowBody(Row(st, r), Row(st, r - n), st.DataLen);
    for (int r = st.SelTop; r <= st.SelBottom; ++r) BlankRowBody(Row(st, r), st.DataLen);
    PageFieldOnFirstRowOnly(st, page);
    st.UsedRows += n;
    st.SheetModified = true;
    HeadersRelabel(st, grid, st.SelTop, st.UsedRows);
    StatusUsedRows(st);
    PageLinesDraw(st, grid);
    result = RowInsertResult::Inserted;
  }
  ClearSelect32(grid);
  return result;
}

void RowPaste(ProgramState& st, GridModel& grid) {
  const int col = st.CurrentCol;
  const int oldUsed = st.UsedRows;
  if (st.CurrentCol == 0 || st.CurrentRow == 0) return;
  UndoSave(st, grid);
  if (st.RowClipTop == 0) {
    st.ui.Beep();
    return;
  }
  const int imax = SheetRowLimit(st);
  const int n = std::clamp(st.RowClipBottom - st.RowClipTop + 1, 0, kMaxSheetRows + 1);
  const char firstKind = RecordByte(st.RowClip[1], kKindPos);
  if (st.CurrentRow == 1 && firstKind != ' ' && kComputedKinds.find(firstKind) != std::string_view::npos) {
    WarnMsgBox(st, kComputedFirstRowMessage);
    return;
  }
  // Below the used rows nothing is inserted and the rows are written from
  // the cursor on: they must fit there too.
  if (n + st.UsedRows > imax || (st.CurrentRow > st.UsedRows && st.CurrentRow + n - 1 > imax)) {
    WarnMsgBox(st, kRowLimitMessage);
    return;
  }
  for (int k = 1; k <= n; ++k) {
    std::string& rec = st.RowClip[static_cast<size_t>(k)];
    rec = FitRecord(rec, st.DataLen);
    SetRecordByte(rec, kMarkPos, ' ');
    rec.replace(static_cast<size_t>(kOwnPos - 1), static_cast<size_t>(kColumnDataPos - kOwnPos), 16, ' ');
  }
  const std::string page = PageField(st);
  ClearSelect32(grid);
  SetSelect32(grid, 1, st.CurrentRow, st.ColCount[static_cast<size_t>(st.CurrentLevel)], st.CurrentRow + n - 1);
  SelRectStore(st, grid);
  RowInsert(st, grid);
  const int last = std::min(st.CurrentRow + n - 1, imax);
  for (int r = st.CurrentRow, k = 1; r <= last; ++r, ++k)
    MoveRowBody(Row(st, r), st.RowClip[static_cast<size_t>(k)], st.DataLen);
  PageFieldOnFirstRowOnly(st, page);
  st.UsedRows = LastUsedRow(st);
  st.SheetModified = true;
  StatusUsedRows(st);
  for (int r = oldUsed + 1; r <= st.UsedRows - 1; ++r) SetCellTextColor32(grid, 0, r, 0);
  RowDisplay(st, grid, st.CurrentRow, last);
  Recalc(st);
  AutoAdvanceCell(st, grid);
  st.ui.SetBusyPointer(false);
  st.ui.ProcessEvents();
  grid.SetCurrentCol(col);
}

}  // namespace kv
