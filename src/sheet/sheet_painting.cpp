#include "sheet/sheet_painting.h"

#include <algorithm>
#include <string>

#include "core/column_letter.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/stored_number_base.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {

namespace {

// Row kinds by their Shift-JIS byte.
constexpr std::string_view kMemoKinds = "123HD\xD2";                   // ... ﾒ
constexpr std::string_view kTotalKinds = "#%$\xB1\xB2\xB3\xB9\xBCSZ";  // # % $ ｱ ｲ ｳ ｹ ｼ S Z
constexpr std::string_view kCalcShownKinds = "#$%\xB1\xB2\xB3\xB9\xBCQSZ";

bool OneOf(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

int Columns(const ProgramState& st, int level) {
  return level >= 1 && level <= 8 ? std::clamp(st.ColCount[level], 0, kMaxColumns) : 0;
}

int ChildLink(const ProgramState& st, std::string_view rec) {
  return BaseStrToNum(LinkField(rec, kChildPos), st);
}

std::string HeaderNumber(std::string_view rec, int row) {
  return RecordByte(rec, kPrintMarkPos) == 'U' ? "  ." : RowNumberText(row);
}

std::string KindText(char kind) { return FromSjis(std::string_view(&kind, 1)); }

// The column's stored number in its display form.
std::string NumberShown(const ProgramState& st, int level, std::string text, int col) {
  NumCommaFormat(st, level, text, col);
  return FromSjis(text);
}

// A row below the used rows holds nothing: whatever an earlier sheet left in
// the grid there goes.
void BlankRow(GridModel& grid, int row, int cols) {
  if (grid.MemoRow(row)) SetMemoRow32(grid, row, 0);
  for (int c = 1; c <= cols; ++c) {
    if (!grid.CellText(c, row).empty()) SetTextData32(grid, c, row, "");
    if (grid.CellColour(c, row) != 0) SetCellTextColor32(grid, c, row, 0);
  }
}

void StatusPanelSet(ProgramState& st, int panel, const std::string& text) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, panel, text);
}

bool ColumnShown(const ProgramState& st, int level, int col) {
  const int screen = std::clamp(st.XMASK[level], 0, kMaskScreens - 1);
  return st.MaskDef[level][col][static_cast<size_t>(screen)] == ' ';
}

bool HasTotal(const ProgramState& st, int level, int col) {
  return !IsBlank(st.ColTotalKind[level][col]);
}

// Stores the text typed into a totals-line cell.
void TotalsLineEdit(ProgramState& st, GridModel& grid) {
  const int level = st.CurrentLevel;
  const int col = st.CurrentCol;
  if (col >= 1 && col <= Columns(st, level)) {
    const int width = st.ColWidth[level][col];
    FieldStore(st, st.SheetTotalRecord, col, level,
               LeftByBytesAnsi(ToSjis(grid.CurrentText()), width));
    st.SheetModified = true;
  }
  st.ui.SetBusyPointer(false);
}

void TotalsLinePaint(ProgramState& st, GridModel& grid, int row) {
  const int level = st.CurrentLevel;
  for (int c = 1; c <= Columns(st, level); ++c) {
    const int width = st.ColWidth[level][c];
    const std::string bytes(FieldBytes(st, st.SheetTotalRecord, c, level));
    if (HasTotal(st, level, c) && ColumnShown(st, level, c)) {
      std::string text;
      if (st.ReCalcFlag)
        text = NumberShown(st, level, bytes, c);
      else
        text = std::string(static_cast<size_t>(std::max(width, 0)), IsBlank(bytes) ? ' ' : '#');
      grid.SetCellText(c, row, text);
      continue;
    }
    grid.SetCellText(c, row, FromSjis(bytes));
    // Stored back blank-padded; a "W" column shows its first line only.
    const int start = st.ColStart[level][c];
    const int shown = IsWTypeColumn(st, c, level) ? WColumnLineWidth(width) : width;
    FieldStore(st.SheetTotalRecord, start, shown, bytes, st.DataLen);
    SetTextData32(grid, c, row, MidAnsi(st.SheetTotalRecord, start, shown));
  }
}

}  // namespace

void RowDisplay(ProgramState& st, GridModel& grid, int first, int last) {
  st.ui.SetBusyPointer(true);
  const int level = st.CurrentLevel;
  const int imax = SheetRowLimit(st);
  const int cols = Columns(st, level);
  for (int r = std::max(first, 1); r <= last && r <= imax; ++r) {
    const std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    const char mark = RecordByte(rec, kPrintMarkPos);
    const char kind = RecordByte(rec, kKindPos);

    const std::string number = HeaderNumber(rec, r);
    if (ChildLink(st, rec) >= 1) {
      grid.SetCellText(0, r, number + " ");
      SetCellTextColor32(grid, 0, r, 14);
    } else {
      grid.SetCellText(0, r, number + KindText(kind));
      SetCellTextColor32(grid, 0, r, 0);
    }

    if (OneOf(kMemoKinds, kind)) {
      SetMemoRow32(grid, r, 1);
      SetTextData32(grid, 1, r, MidAnsi(rec, kColumnDataPos, st.MemoRowMax));
      SetCellTextColor32(grid, 1, r, 0);
      continue;
    }
    // A row moved here may have been a memo row.
    if (grid.MemoRow(r)) SetMemoRow32(grid, r, 0);

    int colour = 0;
    if (mark == 'U')
      colour = 2;
    else if (mark == 'I')
      colour = 5;
    else if (OneOf(kTotalKinds, kind))
      colour = 3;
    else if (kind == 'Q')
      colour = 4;
    for (int c = 1; c <= cols; ++c) {
      SetCellTextColor32(grid, c, r, colour);
      std::string text;
      if (IsNumericColumn(st, level, c) && kind != 'Q')
        text = NumberShown(st, level, std::string(FieldBytes(st, rec, c, level)), c);
      else if (IsWColumn(st, c, level))
        text = RTrimBlanks(FieldText(st, rec, c, level));
      else
        text = FieldText(st, rec, c, level);
      SetTextData32(grid, c, r, text);
    }
  }
  if (st.UsedRows != 0)
    for (int r = st.UsedRows + 1; r <= imax; ++r) SetCellTextColor32(grid, 0, r, 7);
  st.ui.SetBusyPointer(false);
}

void SheetRedisplay(ProgramState& st, GridModel& grid, int top, int last) {
  const int imax = SheetRowLimit(st);
  if (top == imax + 1) {
    TotalsLineEdit(st, grid);
    return;
  }
  top = std::max(top, 1);
  constexpr int kBlock = 50;
  if (top == 1) {
    if (last - 1 >= kBlock) {
      RowDisplay(st, grid, 1, 1 + kBlock);
      SetTopCell32(grid, 0, 1, 1);
      RowDisplay(st, grid, 2 + kBlock, last);
    } else {
      RowDisplay(st, grid, 1, last);
    }
  } else {
    if (last - top >= kBlock) {
      RowDisplay(st, grid, top, top + kBlock);
      SetTopCell32(grid, 0, 1, top);
      RowDisplay(st, grid, top + kBlock + 1, last);
    } else {
      RowDisplay(st, grid, top, last);
      SetTopCell32(grid, 0, 1, top);
    }
    RowDisplay(st, grid, 1, top - 1);
  }

  const int cols = Columns(st, st.CurrentLevel);
  for (int r = std::max(st.UsedRows, 0) + 1; r <= imax; ++r) {
    grid.SetCellText(0, r, RowNumberText(r) + " ");
    BlankRow(grid, r, cols);
  }
  TotalsLinePaint(st, grid, imax + 1);
  StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
}

void CalcRowsDisplay(ProgramState& st, GridModel& grid, int first, int last) {
  const int level = st.CurrentLevel;
  const int imax = SheetRowLimit(st);
  const int cols = Columns(st, level);
  first = std::max(first, 1);
  last = std::min(last, imax);
  const int formulaCol = level >= 1 && level <= 8 ? st.FormulaColumn[level] : 0;

  if (formulaCol >= 1) {
    for (int r = first; r <= last; ++r) {
      const std::string& rec = st.SheetRows[static_cast<size_t>(r)];
      if (RecordByte(rec, kKindPos) != ' ' || IsBlank(FieldBytes(st, rec, formulaCol, level)))
        continue;
      RowNumbersDisplay(st, grid, r);
    }
  }

  for (int r = first; r <= last; ++r) {
    const std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    const char kind = RecordByte(rec, kKindPos);
    if (!OneOf(kCalcShownKinds, kind)) continue;
    int colour = 0;
    if (RecordByte(rec, kPrintMarkPos) == 'U')
      colour = 2;
    else if (OneOf(kTotalKinds, kind))
      colour = 3;
    else
      colour = 4;  // "Q"
    for (int c = 1; c <= cols; ++c) {
      if (!IsNumericColumn(st, level, c)) continue;
      SetCellTextColor32(grid, c, r, colour);
      if (kind == 'Q') continue;
      std::string bytes(FieldBytes(st, rec, c, level));
      const size_t from = bytes.find_first_not_of(' ');
      bytes = from == std::string::npos
                  ? std::string()
                  : bytes.substr(from, bytes.find_last_not_of(' ') - from + 1);
      SetTextData32(grid, c, r, NumberShown(st, level, bytes, c));
    }
  }

  for (int c = 1; c <= cols; ++c)
    if (HasTotal(st, level, c))
      grid.SetCellText(
          c, imax + 1,
          NumberShown(st, level, std::string(FieldBytes(st, st.SheetTotalRecord, c, level)), c));
}

void RowNumbersDisplay(ProgramState& st, GridModel& grid, int row) {
  const int level = st.CurrentLevel;
  if (row < 1 || row > SheetRowLimit(st)) return;
  const std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  for (int c = 1; c <= Columns(st, level); ++c)
    if (IsNumericColumn(st, level, c))
      SetTextData32(grid, c, row, NumberShown(st, level, std::string(FieldBytes(st, rec, c, level)), c));
}

void PageLinesDraw(const ProgramState& st, GridModel& grid) {
  const int form = st.PrnTypeNo;
  const int perPage =
      form >= 0 && form < static_cast<int>(st.PrintRows.size()) ? st.PrintRows[size_t(form)] : 0;
  const int imax = SheetRowLimit(st);
  for (int r = 1; r <= imax; ++r) grid.SetPageBreak(r, perPage > 0 && r % perPage == 0);
}

std::string RowHeaderLabel(const ProgramState& st, GridModel& grid, int row,
                           std::string_view record) {
  const std::string number = HeaderNumber(record, row);
  if (ChildLink(st, record) >= 1) {
    SetCellTextColor32(grid, 0, row, 14);
    return number + " ";
  }
  return number + KindText(RecordByte(record, kKindPos));
}

}  // namespace kv
