#include "editor/calc_box.h"

#include <algorithm>

#include "calc/formula_evaluate.h"
#include "core/settings_text.h"
#include "core/sjis_text.h"
#include "editor/typed_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "platform/grid/grid_keys.h"
#include "sheet/cell_commit.h"
#include "sheet/memo_editor.h"
#include "sheet/sheet_fields.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/row_record.h"

namespace kv {

namespace {

constexpr int kAsciiReturn = 13;
constexpr int kAsciiEscape = 27;


// A fitted number that did not fit: the column filled with "+" or "-".
bool IsOverflowMark(std::string_view fitted) {
  return !fitted.empty() && (fitted.find_first_not_of('+') == std::string_view::npos ||
                             fitted.find_first_not_of('-') == std::string_view::npos);
}

void CloseBox(EditorGrids& g) {
  g.port.SetCalcBoxText("");
  g.port.CalcBoxShow(false);
}

// The memo text of a sheet row (from byte 20, MemoRowMax bytes, without its
// trailing blanks).
std::string MemoText(const ProgramState& st, int row) {
  if (row < 1 || row >= int(st.SheetRows.size())) return {};
  return RTrimBlanks(MidAnsi(st.SheetRows[size_t(row)], kColumnDataPos, st.MemoRowMax));
}

}  // namespace

bool DentakuOpen(EditorGrids& g) {
  ProgramState& st = g.st;
  const int level = st.CurrentLevel, col = st.CurrentCol, row = st.CurrentRow;
  if (col <= 0 || col > kMaxColumns) return false;
  if (row < 1 || row > st.Imax || RowKind(st, row) != ' ') return false;
  if (IsComputedColumn(st, level, col) || !IsNumericColumn(st, level, col)) return false;
  g.port.CalcBoxShow(true);
  g.port.SetCalcBoxText(std::string(TrimBlanks(FieldText(st, st.SheetRows[size_t(row)], col, level))));
  g.port.CalcBoxFocus();
  return true;
}

void DentakuText_KeyPress(EditorGrids& g, int keyAscii) {
  ProgramState& st = g.st;
  if (keyAscii == kAsciiEscape) {
    CloseBox(g);
    g.port.SheetFocus();
    SetSheetLocate32(g.sheet, st.CurrentCol, st.CurrentRow);
    return;
  }
  if (keyAscii != kAsciiReturn) return;
  // Hiding the box or moving the focus raises its focus loss at once, which
  // empties it: the formula is read first.
  const std::string formula = g.port.CalcBoxText();
  if (!TypedTextStorable(st, formula)) {
    g.port.CalcBoxFocus();
    return;
  }
  const int level = st.CurrentLevel;
  const LevelContext ctx{level, level > 1 ? std::string_view(st.ParentRows[size_t(level - 1)]) : std::string_view(),
                         st.SheetTotalRecord};
  std::string result = FormulaEvaluate(st, ctx, "", ToAnsiBytes(formula));
  if (IsFormulaError(result)) {
    WarnMsgBox(st, ToUnicodeStr(result));
    g.port.CalcBoxFocus();
    return;
  }
  NumFitColumn(st, level, result, st.CurrentCol);
  if (IsOverflowMark(result)) {
    st.ui.Beep();
    WarnMsgBox(st, kTooManyDigitsMessage);
    g.port.CalcBoxFocus();
    return;
  }
  CloseBox(g);
  SetSheetLocate32(g.sheet, st.CurrentCol, st.CurrentRow);
  g.port.SheetFocus();
  CellCommit(st, g.sheet, result);
}

void DentakuText_LostFocus(EditorGrids& g) { CloseBox(g); }

void RowSheet_EditEnd(EditorGrids& g) {
  ProgramState& st = g.st;
  const std::string text = WithCrLf(g.rowSheet.EditText());
  if (!TypedTextStorable(st, text)) {
    SetTextData32(g.rowSheet, 1, 1, MemoText(st, st.MemoEditRow));
    return;
  }
  CommitMemoRow(st, g.rowSheet, ToAnsiBytes(text));
  // The edited row shows its new text before the cursor leaves it.
  const int edited = st.CurrentRow;
  SetTextData32(g.sheet, 1, edited, MemoText(st, edited));
  const int row = g.sheet.CurrentRow();
  g.sheet.SetCurrentRow(row < st.Imax ? row + 1 : st.Imax);
  g.memo.Hide();
  g.port.SheetFocus();
}

void RowSheet_KeyDown2(EditorGrids& g, int& key, bool, bool) {
  ProgramState& st = g.st;
  switch (key) {
    case gridkey::kReturn:
    case gridkey::kEscape:
      g.memo.Hide();
      g.port.SheetFocus();
      SetSheetLocate32(g.sheet, st.CurrentCol, st.CurrentRow);
      return;
    case gridkey::kF2:
      SetTextData32(g.rowSheet, 1, 1, MemoText(st, st.CurrentRow));
      g.rowSheet.BeginEdit(st.EditCellPosition);
      key = 0;
      return;
    case gridkey::kDelete:
    case gridkey::kBack: {
      const int autoDown = st.AutoDownFlag;
      st.AutoDownFlag = 0;
      SetTextData32(g.rowSheet, 1, 1, "");
      CommitMemoRow(st, g.rowSheet, "");
      st.AutoDownFlag = autoDown;
      SetTextData32(g.sheet, 1, st.CurrentRow, MemoText(st, st.CurrentRow));
      key = 0;
      return;
    }
    default:
      return;
  }
}

void RowSheet_RButtonDown(int, int, bool& ignore) { ignore = false; }

}  // namespace kv
