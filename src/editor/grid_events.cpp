#include "editor/grid_events.h"

#include <algorithm>
#include <optional>

#include "core/column_letter.h"
#include "core/sjis_text.h"
#include "editor/calc_box.h"
#include "editor/edit_menu.h"
#include "editor/grid_key_table.h"
#include "editor/grid_mouse.h"
#include "editor/typed_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/cell_commit.h"
#include "sheet/memo_editor.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/row_record.h"

namespace kv {

namespace {

constexpr char kKindQ = 'Q';
constexpr char kKindMemoRow = '\xD2';  // ﾒ
// Mode values of the grid's edit-mode property.
constexpr int kTypingOpens = 9;
constexpr int kTypingClosed = 15;

char TypeFirst(const ProgramState& st, int level, int col) {
  const std::string& t = st.ColType[size_t(level)][size_t(col)];
  return t.empty() ? ' ' : t[0];
}

// Numeric cells of an expense row are computed from its rate in the editions
// 2 and 4; only the rate's own "A" column takes a typed value.
bool ExpenseRowNumberClosed(const ProgramState& st, char kind, int col) {
  return (st.SystemKind == 2 || st.SystemKind == 4) && kind == kKindExpense &&
         IsNumericColumn(st, st.CurrentLevel, col) && TypeFirst(st, st.CurrentLevel, col) != 'A';
}

// Whether typing may open the cursor cell (edit mode 9) or not (15).
bool CursorCellClosed(const ProgramState& st, char kind) {
  const int col = st.CurrentCol;
  if (kind != kKindQ && IsComputedColumn(st, st.CurrentLevel, col)) return true;
  if (st.CustomerVariant && (col == 11 || col == 12)) return true;
  if (ExpenseRowNumberClosed(st, kind, col)) return true;
  if (st.CurrentRow == st.Imax + 1) return true;
  return IsMemoKind(kind);
}

// The input method wanted in the cursor cell; the cell's own setting when
// no rule speaks.
bool CursorCellIme(const ProgramState& st, char kind, bool current) {
  if (kind == kKindMemoRow) return true;
  if (IsMemoKind(kind)) return false;
  const int col = st.CurrentCol;
  if (col == st.CodeColmun) return false;
  if (st.CustomerVariant && (col == 1 || col == 2 || col == 10)) return false;
  const char t = TypeFirst(st, st.CurrentLevel, col);
  if (t == 'C' || t == 'W') return true;
  if (std::string_view("01234ASFI").find(t) != std::string_view::npos) return false;
  return current;
}

int FirstShownColumn(const ProgramState& st) {
  for (int c = 1; c <= st.ColCount[size_t(st.CurrentLevel)]; ++c)
    if (!IsMaskedColumn(st, c)) return c;
  return 0;
}

// Moves the grid's cursor off a hidden column, past the run of hidden
// columns in the direction of the move; the grid reports the new cell.
void SkipHiddenColumns(EditorGrids& g, int col) {
  ProgramState& st = g.st;
  const int count = st.ColCount[size_t(st.CurrentLevel)];
  if (st.CurrentCol < col) {
    if (col >= count) return;  // the last column: the cursor stays on it
    int run = 0;
    while (col + run <= count && IsMaskedColumn(st, col + run)) ++run;
    g.sheet.SetCurrentCol(col + run);
  } else if (st.CurrentCol > col) {
    int run = 0;
    while (col - run >= 1 && IsMaskedColumn(st, col - run)) ++run;
    if (col - run >= 1) {
      g.sheet.SetCurrentCol(col - run);
    } else if (const int first = FirstShownColumn(st); first > 0) {
      g.sheet.SetCurrentCol(first);
    }
  }
}

// Shows the stored value of the cursor cell again after a refused entry.
void ReshowCursorCell(EditorGrids& g) {
  ProgramState& st = g.st;
  if (st.CurrentRow <= st.Imax) {
    if (st.sheetEngine != nullptr) st.sheetEngine->SheetRedisplay(st, st.CurrentRow, st.CurrentRow);
    return;
  }
  SetTextData32(g.sheet, st.CurrentCol, st.CurrentRow,
                FieldText(st, st.SheetTotalRecord, st.CurrentCol, st.CurrentLevel));
}

// A typed text written straight into the sheet's closing record on the
// totals line. Every path cuts without splitting a character and writes
// inside the column's own bytes.
void TotalsLineWrite(ProgramState& st, GridModel& grid, const std::string& text) {
  const int level = st.CurrentLevel, col = st.CurrentCol;
  const int start = st.ColStart[size_t(level)][size_t(col)];
  const int width = st.ColWidth[size_t(level)][size_t(col)];
  std::string bytes = ToAnsiBytes(text);
  std::string shown;
  if (!IsNumericColumn(st, level, col) && TypeFirst(st, level, col) == 'W') {
    const int n = WColumnLineWidth(width);
    std::string line = Text2DanSplit(bytes, kDanJoin).line1 + std::string(size_t(std::max(width, 0)), ' ');
    line = CutToBytes(line, n);
    FieldStore(st.SheetTotalRecord, start, n, line, st.DataLen);
    shown = ToUnicodeStr(line);
  } else {
    FieldStore(st, st.SheetTotalRecord, col, level, bytes);
    shown = FieldText(st, st.SheetTotalRecord, col, level);
  }
  SetTextData32(grid, col, st.Imax + 1, shown);
  st.SheetModified = true;
}

// The totals text of a column renamed through the input box.
void TotalsLineRename(EditorGrids& g, int col) {
  ProgramState& st = g.st;
  const int level = st.CurrentLevel;
  const int start = st.ColStart[size_t(level)][size_t(col)];
  const int width = st.ColWidth[size_t(level)][size_t(col)];
  st.ui.SetInputBoxImeOn(true);
  std::optional<std::string> answer =
      st.ui.InputBox("合計欄の名称を変更します、新規名称を入力して下さい", "合計行名称変更",
                     FieldText(st, st.SheetTotalRecord, col, level));
  st.ui.SetInputBoxImeOn(false);
  st.InputOk = answer.has_value();
  if (!answer) return;
  st.InputText = RTrimBlanks(*answer);
  if (!TypedTextStorable(st, st.InputText)) return;
  const std::string bytes = CutToBytes(ToAnsiBytes(st.InputText), std::min(40, width));
  if (TypeFirst(st, level, col) == 'W') {
    const int n = WColumnLineWidth(width);
    FieldStore(st.SheetTotalRecord, start, n, bytes, st.DataLen);
    SetTextData32(g.sheet, col, st.Imax + 1, MidAnsi(st.SheetTotalRecord, start, n));
  } else {
    FieldStore(st, st.SheetTotalRecord, col, level, bytes);
    SetTextData32(g.sheet, col, st.Imax + 1, FieldText(st, st.SheetTotalRecord, col, level));
  }
  st.SheetModified = true;
}

}  // namespace

bool IsLevelColumn(const ProgramState& st, int col) {
  return col >= 1 && col <= st.ColCount[size_t(st.CurrentLevel)] && col <= kMaxColumns;
}

void EditorPanelSet(ProgramState& st, int panel, const std::string& text) {
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPanelSet(st, panel, text);
}

bool IsMemoKind(char kind) { return kind != '\0' && std::string_view("123HD\xD2").find(kind) != std::string_view::npos; }

char RowKind(const ProgramState& st, int row) {
  if (row < 0 || row >= int(st.SheetRows.size())) return ' ';
  return RecordByte(st.SheetRows[size_t(row)], kKindPos);
}

bool IsComputedColumn(const ProgramState& st, int level, int col) {
  if (level < 0 || level > 8 || col < 0 || col > kMaxColumns) return false;
  return !IsBlank(st.ColFormula[size_t(level)][size_t(col)]);
}

bool IsMaskedColumn(const ProgramState& st, int col) {
  const int level = st.CurrentLevel;
  if (level < 0 || level > 8 || col < 0 || col > kMaxColumns) return false;
  const int screen = std::clamp(st.XMASK[size_t(level)], 0, kMaskScreens);
  return st.MaskDef[size_t(level)][size_t(col)][size_t(screen)] != ' ';
}

void EdtSheet_Locate(EditorGrids& g, int col, int row) {
  ProgramState& st = g.st;
  if (col <= 0) return;
  const char kind = RowKind(st, row);
  if (st.GamenX[size_t(st.CurrentLevel)] != 0) st.DivideCol = g.sheet.CurrentCol();
  if (g.port.CalcBoxVisible()) {
    g.port.SetCalcBoxText("");
    g.port.CalcBoxShow(false);
    g.port.SheetFocus();
  }
  if (IsMaskedColumn(st, col)) {
    SkipHiddenColumns(g, col);
    return;
  }
  st.CurrentCol = col;
  st.CurrentRow = row;
  g.sheet.SetEditMode(CursorCellClosed(st, kind) ? kTypingClosed : kTypingOpens);
  if (row == st.Imax + 1) return;
  EditorPanelSet(st, 5, ColNumToLetter(col) + StrNum(row));
  if (st.sheetEngine != nullptr) st.sheetEngine->StatusPageShow(st, row);
  g.sheet.SetImeOn(CursorCellIme(st, kind, g.sheet.ImeOn()));
}

void EdtSheet_PreEdit(EditorGrids& g, int& key) {
  ProgramState& st = g.st;
  const char kind = RowKind(st, st.CurrentRow);
  if (kind != kKindQ && IsComputedColumn(st, st.CurrentLevel, st.CurrentCol)) {
    key = 0;
    return;
  }
  if (ExpenseRowNumberClosed(st, kind, st.CurrentCol)) {
    key = 0;
    return;
  }
  st.CellEditActive = true;
}

void EdtSheet_EditEnd(EditorGrids& g) {
  ProgramState& st = g.st;
  if (IsMaskedColumn(st, st.CurrentCol)) {
    st.CellEditActive = false;
    return;
  }
  if (g.memo.Visible()) return;
  const std::string text = WithCrLf(g.sheet.EditText());
  st.CellCommitting = true;
  if (!TypedTextStorable(st, text)) {
    ReshowCursorCell(g);
  } else if (st.CurrentRow <= st.Imax) {
    CellCommit(st, g.sheet, ToAnsiBytes(text));
  } else if (IsLevelColumn(st, st.CurrentCol)) {
    TotalsLineWrite(st, g.sheet, text);
  }
  st.CellCommitting = false;
  st.MemoEditOpen = false;
  st.CellEditActive = false;
}

void EdtSheet_GotFocus(EditorGrids& g) {
  if (g.memo.Visible()) g.memo.Hide();
}

void EdtSheet_ItemSelected(ProgramState& st, int item) {
  st.OleObjectsChanged = true;
  st.SheetModified = true;
  st.SelectedObjectItem = item;
}

void EdtSheet_SelectEnd(EditorGrids&, int, int) {}

void EdtSheet_Divide(EditorGrids& g, int x, int y) {
  ProgramState& st = g.st;
  if (st.SheetLoading) return;
  st.GamenX[size_t(st.CurrentLevel)] = x;
  st.GamenY[size_t(st.CurrentLevel)] = y;
  if (x != 0)
    st.DivideCol = g.sheet.CurrentCol();
  else
    g.sheet.SetCurrentCol(st.DivideCol);
}

void EdtSheet_DblClk(EditorGrids& g, int col, int row) {
  ProgramState& st = g.st;
  const int level = st.CurrentLevel;
  if (col <= 0 || !IsLevelColumn(st, st.CurrentCol)) return;
  const int cur = st.CurrentCol;
  const char kind = RowKind(st, st.CurrentRow);
  const bool totalDefined = !IsBlank(st.ColTotalKind[size_t(level)][size_t(cur)]);
  if ((totalDefined || IsComputedColumn(st, level, cur)) && kind != kKindQ) return;
  if (st.NotPrintLineMode || st.NotPrintLvlLineMode) return;
  if (row == 0) {
    SetSelect32(g.sheet, col, 1, col, st.Imax);
    return;
  }
  if (row == st.Imax + 1) {
    if (IsLevelColumn(st, col) && IsBlank(st.ColTotalKind[size_t(level)][size_t(col)]))
      TotalsLineRename(g, col);
    return;
  }
  if (st.CurrentRow < 1 || st.CurrentRow > st.Imax) return;
  if (IsMemoKind(kind)) {
    OpenMemoEditor(st, g.sheet, g.rowSheet, g.memo);
    return;
  }
  if (kind == ' ' && !IsComputedColumn(st, level, cur) && IsNumericColumn(st, level, cur)) {
    st.SheetModified = true;
    DentakuOpen(g);
    return;
  }
  const char t = TypeFirst(st, level, cur);
  if (t == 'D' || t == 'I') {
    st.SheetModified = true;
    SiwaWindowOpen(st);
    return;
  }
  st.CellEditActive = true;
  st.SheetModified = true;
  SetTextData32(g.sheet, cur, st.CurrentRow,
                RTrimBlanks(FieldText(st, st.SheetRows[size_t(st.CurrentRow)], cur, level)));
  g.sheet.BeginEdit(st.EditCellPosition);
}

void WireEditorGridEvents(EditorGrids& g) {
  GridEvents& e = g.sheet.events;
  e.Locate = [&g](int col, int row) { EdtSheet_Locate(g, col, row); };
  e.PreEdit = [&g](int& key) { EdtSheet_PreEdit(g, key); };
  e.EditEnd = [&g] { EdtSheet_EditEnd(g); };
  e.GotFocus = [&g] { EdtSheet_GotFocus(g); };
  e.ItemSelected = [&g](int item) { EdtSheet_ItemSelected(g.st, item); };
  e.SelectEnd = [&g](int col, int row) { EdtSheet_SelectEnd(g, col, row); };
  e.Divide = [&g](int x, int y) { EdtSheet_Divide(g, x, y); };
  e.DblClk = [&g](int col, int row) { EdtSheet_DblClk(g, col, row); };
  e.KeyDown2 = [&g](int& key, bool shift, bool ctrl) { EdtSheet_KeyDown2(g, key, shift, ctrl); };
  e.LButtonDown = [&g](int col, int row, bool& ignore) { EdtSheet_LButtonDown(g, col, row, ignore); };
  e.RButtonDown = [&g](int col, int row, bool& ignore) { EdtSheet_RButtonDown(g, col, row, ignore); };
  e.ItemMoveResized = [&g](int col, int row, int left, int top, int width, int height, bool& ignore) {
    EdtSheet_ItemMoveResized(g, col, row, left, top, width, height, ignore);
  };
  GridEvents& r = g.rowSheet.events;
  r.EditEnd = [&g] { RowSheet_EditEnd(g); };
  r.KeyDown2 = [&g](int& key, bool shift, bool ctrl) { RowSheet_KeyDown2(g, key, shift, ctrl); };
  r.RButtonDown = [](int col, int row, bool& ignore) { RowSheet_RButtonDown(col, row, ignore); };
}

}  // namespace kv
