#include "sheet/memo_editor.h"

#include <algorithm>
#include <string>

#include "core/sjis_text.h"
#include "platform/grid/grid_api.h"
#include "sheet/sheet_fields.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {

namespace {

constexpr char kMemoKind = '\xD2';  // ﾒ
constexpr int kEditModeTyping = 9;
constexpr std::string_view kTotalsLineMessage = "合計行ではメモ行の作成及び編集はできません。";

// The sheet row's kind; a blank for anything that is no sheet row.
char RowKind(const ProgramState& st, int row) {
  if (row < 1 || row > SheetRowLimit(st)) return ' ';
  return RecordByte(st.SheetRows[size_t(row)], kKindPos);
}

// Where the editor goes on the sheet grid's viewport, or false when the row
// has no place there. The rectangle runs from the pane's first visible
// column; a "ﾒ" row covers its own row, the other memo kinds the next one
// too (and one more below 90 % zoom, where the rows are low).
bool EditorRect(GridModel& sheet, int row, bool memo, int width, GridRect& out) {
  const int extra = !memo && sheet.Zoom() < 90 ? 1 : 0;
  const int pane = GetActiveClientNum32(sheet);
  int topCol = 0, topRow = 0;
  GetTopCell32(sheet, pane, topCol, topRow);
  sheet.SetCurrentRow(row);
  const int curRow = sheet.CurrentRow();
  const int curCol = sheet.CurrentCol();
  const GridRect cells{topCol, curRow, curCol, memo ? curRow : curRow + 1 + extra};
  GridRect pos;
  if (GetCellPosition32(sheet, pane, cells, pos) == 0) return false;
  out.left = pos.left;
  out.top = pos.top;
  out.right = std::min(pos.left + sheet.Scaled(width), sheet.ViewportWidth());
  out.bottom = std::min(pos.bottom, sheet.ViewportHeight());
  return true;
}

}  // namespace

int MemoEditorWidth(const ProgramState& st, int charWidth) {
  return HalfRoundEven(charWidth * st.MemoRowMax);
}

void OpenMemoEditor(ProgramState& st, GridModel& sheet, GridModel& rowSheet, MemoEditorPort& port) {
  rowSheet.SetEditMode(kEditModeTyping);
  rowSheet.SetMouseMode(st.EditCursor);
  rowSheet.SetFontName(st.FontName);
  SetZoom32(rowSheet, st.KVZoom);
  st.SheetFontSize = rowSheet.FontSize();
  const int h = PointToHeight32(rowSheet, st.SheetFontSize);
  const int w = PointToWidth32(rowSheet, st.SheetFontSize);
  const int width = MemoEditorWidth(st, w);

  const int row = st.CurrentRow;
  const bool memo = RowKind(st, row) == kMemoKind;
  GridRect rect;
  if (!EditorRect(sheet, row, memo, width, rect)) {
    WarnMsgBox(st, kTotalsLineMessage);
    return;
  }

  // One cell as wide as the memo text, without caption row or row headers.
  // Only a "ﾒ" row is loaded; the other memo kinds show the editor empty, so
  // no text of an earlier row shows over them.
  rowSheet.SetRowCount(1);
  rowSheet.SetColCount(1);
  SetRowHeight32(rowSheet, 0, 0);
  SetColWidth32(rowSheet, 0, 0);
  SetRowHeight32(rowSheet, 1, h + 2);
  SetColWidth32(rowSheet, 1, width);
  std::string text;
  if (memo) {
    st.MemoEditRow = sheet.CurrentRow();
    text = RTrimBlanks(MidAnsi(st.SheetRows[size_t(st.MemoEditRow)], kColumnDataPos, st.MemoRowMax));
  }
  SetTextData32(rowSheet, 1, 1, text);

  rowSheet.SetHorizontalScrollBar(false);
  rowSheet.SetVerticalScrollBar(false);
  rowSheet.SetRedraw(true);
  rowSheet.SetVisible(true);
  port.Place(rect);

  if (!memo) return;
  st.MemoEditOpen = true;
  rowSheet.BeginEdit(st.EditCellPosition);
}

void CommitMemoRow(ProgramState& st, GridModel& rowSheet, std::string text) {
  const int row = st.MemoEditRow + rowSheet.CurrentRow() - 1;
  st.CurrentRow = row;
  st.CurrentCol = rowSheet.CurrentCol();
  if (RowKind(st, row) != kMemoKind) return;
  text = CutToBytes(std::string_view(text), st.MemoRowMax);
  FieldStore(st.SheetRows[size_t(row)], kColumnDataPos, st.MemoRowMax, text, st.DataLen);
  st.SheetModified = true;
}

}  // namespace kv
