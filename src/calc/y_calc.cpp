#include "calc/y_calc.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string>

#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc/formula_evaluate.h"
#include "calc/level_calc.h"
#include "calc/row_calc.h"
#include "core/number_text.h"
#include "platform/codepage.h"
#include "platform/decimal.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "sheet/cell_commit.h"
#include "sheet/column_links.h"
#include "sheet/selection_helpers.h"
#include "sheet/undo_clear.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr int kMaxRateBytes = 8;
constexpr int kMaxRoundingUnit = 10000;

GridModel* EditGrid(ProgramState& st) {
  return st.sheetEngine != nullptr ? st.sheetEngine->EdtSheetGrid(st) : nullptr;
}

std::string Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

LevelContext Ctx(const ProgramState& st) {
  const int level = st.CurrentLevel;
  return {level, level >= 2 ? std::string_view(st.ParentRows[static_cast<size_t>(level - 1)]) : std::string_view(),
          st.SheetTotalRecord};
}

bool IsItem(const ProgramState& st, int r) { return RecordByte(st.SheetRows[static_cast<size_t>(r)], kKindPos) == kKindItem; }

// The stored text of the column shown in its cell.
void ShowCell(ProgramState& st, GridModel& grid, int r) {
  const int level = st.CurrentLevel, col = st.SelLeft;
  std::string& rec = st.SheetRows[static_cast<size_t>(r)];
  std::string shown(CellBytes(st, rec, level, col));
  NumCommaFormat(st, level, shown, col);
  SetTextData32(grid, col, r, shown);
}

void Links(ProgramState& st, GridModel& grid, int r) {
  ABLinkUpdate(st, grid, st.SelLeft, r);
  if (const int dst = FirstLinkDestination(st, st.SelLeft); dst != 0)
    RowFormulaCalc(st, Ctx(st), r, st.SheetRows[static_cast<size_t>(r)], dst, true);
}

void AfterChange(ProgramState& st, GridModel& grid) {
  RowsFormulaCalc(st, grid, st.SelTop, st.SelBottom, st.SelLeft, -1);
  if (st.ReCalcFlag) LevelRecalcAndShow(st, st.SheetTotalRecord, st.CurrentRow + 1, st.UsedRows);
}

// True when a divisor of the rate (the group or the operand after a "/")
// is 0: the evaluator would make every amount 0 ("/0", "*2/(1-1)").
bool DividesByZero(ProgramState& st, std::string_view rate) {
  const std::string noRecord(static_cast<size_t>(std::max(st.DataLen, 0)), ' ');
  for (size_t slash = rate.find('/'); slash != std::string_view::npos; slash = rate.find('/', slash + 1)) {
    const std::string_view rest = rate.substr(slash + 1);
    size_t end = 0;
    if (!rest.empty() && rest.front() == '(') {
      int depth = 0;
      for (; end < rest.size(); ++end) {
        if (rest[end] == '(') ++depth;
        if (rest[end] == ')' && --depth == 0) break;
      }
      end = std::min(end + 1, rest.size());
    } else {
      end = rest.empty() || (rest.front() != '+' && rest.front() != '-') ? 0 : 1;  // its sign
      while (end < rest.size() && std::string_view("+-*/:()").find(rest[end]) == std::string_view::npos) ++end;
    }
    const std::string divisor(rest.substr(0, end));
    if (divisor.empty() || divisor.front() == '(' || std::isalpha(static_cast<unsigned char>(divisor.front()))) {
      const std::string value = FormulaEvaluate(st, Ctx(st), noRecord, divisor);
      if (!IsFormulaError(value) && FixedSum::Parse(value).IsZero()) return true;
    } else if (const std::optional<ExactDecimal> v = ExactDecimal::Parse(divisor); v && v->IsZero()) {
      return true;  // a number read exactly: "/0.00001" divides by no 0
    }
  }
  return false;
}

// The rate typed: "*" or "/" and an expression our arithmetic reads, at
// most 8 bytes, dividing by no 0.
bool RateValid(ProgramState& st, const std::string& rate) {
  if (static_cast<int>(ToSjis(rate).size()) > kMaxRateBytes) return false;
  if (rate.empty() || (rate.front() != '*' && rate.front() != '/')) return false;
  std::string ignored;
  return CalcExpression(st, rate.substr(1), ignored) && !DividesByZero(st, rate);
}

// v rounded half up at unit u: Int((v + 5u) / (10u)) x 10u, exactly.
long long RoundAtUnit(long long v, long long u) {
  const long long step = 10 * u;
  const long long x = v + 5 * u;
  long long q = x / step;
  if (x % step != 0 && x < 0) --q;
  return q * step;
}

// The rounding digit: "1" followed by zeros, at most 10000; nullopt when
// the user gave up.
std::optional<long long> AskRoundingUnit(ProgramState& st) {
  const std::string prompt =
      "丸めの金額を入力して\n下さい      (円台)\n--------------------\n(例) 1000\r\n(例) 100";
  for (;;) {
    const std::string u = Trim(st.ui.InputBox(prompt, "金額丸め", "").value_or(""));
    if (std::strtod(u.c_str(), nullptr) > kMaxRoundingUnit) {
      WarnMsgBox(st, "丸めは10000迄です");
      continue;
    }
    if (!u.empty() && u.front() == '1' && u.find_first_not_of('0', 1) == std::string::npos) return std::stoll(u);
    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox("10,100,1000 等の入力をして下さい", vbOKCancel, "Y計算");
    FloatWindowsTopMostSet(st, true);
    if (answer == vbCancel) return std::nullopt;
  }
}

void RoundColumn(ProgramState& st, GridModel& grid, long long unit) {
  st.ui.SetBusyPointer(true);
  const int level = st.CurrentLevel, col = st.SelLeft;
  for (int r = st.SelTop; r <= st.SelBottom; ++r) {
    if (!IsItem(st, r)) continue;
    std::string& rec = st.SheetRows[static_cast<size_t>(r)];
    std::string text = Trim(CellBytes(st, rec, level, col));
    if (const size_t dot = text.find('.'); dot != std::string::npos) text.erase(dot);
    long long v = 0;
    try {
      v = text.empty() ? 0 : std::stoll(text);
    } catch (const std::exception&) {
      v = 0;  // an overflow mark or no number reads 0
    }
    const long long result = RoundAtUnit(v, unit);
    // A value that no longer fits shows the overflow mark, never a cut amount.
    StoreCell(st, rec, level, col, FitToColumn(st, level, col, std::to_string(result)));
    ShowCell(st, grid, r);
    Links(st, grid, r);
  }
  AfterChange(st, grid);
  st.ui.SetBusyPointer(false);
}

}  // namespace

void YKeisanRun(ProgramState& st) {
  GridModel* grid = EditGrid(st);
  if (grid == nullptr) return;
  const GridRect sel = GetSelRect(*grid);
  st.SelLeft = sel.left;
  st.SelTop = sel.top;
  st.SelRight = sel.right;
  st.SelBottom = sel.bottom;
  const int level = st.CurrentLevel;
  if (!IsNumericColumn(st, level, st.SelLeft)) {
    WarnMsgBox(st, "数値入力の欄を指定して下さい");
    ClearSelect32(*grid);
    grid->Refresh();
    return;
  }
  if (!st.ColFormula[level][st.SelLeft].empty()) {
    WarnMsgBox(st, "計算結果出力欄は無効です");
    grid->Refresh();
    return;
  }
  if (st.SelBottom >= SheetRowLimit(st))
    st.SelBottom = st.UsedRows;
  else if (st.SelBottom > st.UsedRows)
    st.UsedRows = st.SelBottom;
  st.SelTop = std::max(st.SelTop, 1);
  RateCalcY(st);
  ClearSelect32(*grid);
  st.ui.SetBusyPointer(false);
}

void RateCalcY(ProgramState& st) {
  GridModel* grid = EditGrid(st);
  if (grid == nullptr) return;
  const bool autoScroll = grid->AutoScroll();
  grid->SetAutoScroll(false);
  const int level = st.CurrentLevel, col = st.SelLeft;

  st.InputPrompt = " \r\n掛率を入力して下さい\r\n(例) *1.25  or  /.87";
  st.InputTitle = "Ｙ計算";
  st.InputText = "*";
  st.InputMaxLen = 32;
  st.ui.ShowModal("Z_InputBox");
  st.InputText = Trim(st.InputText);
  st.ui.UnloadWindow("Z_InputBox");

  [&] {
    if (st.InputText.empty() || !st.InputOk) return;
    const std::string rate = st.InputText;
    if (!RateValid(st, rate)) {
      WarnMsgBox(st, "正しく入力して下さい");
      return;
    }
    st.ui.SetBusyPointer(true);
    UndoSave(st, *grid);
    const std::string noRecord(static_cast<size_t>(st.DataLen), ' ');
    for (int r = st.SelTop; r <= st.SelBottom; ++r) {
      if (!IsItem(st, r)) continue;
      std::string& rec = st.SheetRows[static_cast<size_t>(r)];
      const std::string cell = Trim(CellBytes(st, rec, level, col));
      if (!cell.empty()) {
        StoreCell(st, rec, level, col, FitAnswer(st, level, col, FormulaEvaluate(st, Ctx(st), noRecord, cell + rate)));
        ShowCell(st, *grid, r);
      }
      Links(st, *grid, r);
    }
    AfterChange(st, *grid);
    st.ui.SetBusyPointer(false);
    st.SheetModified = true;
    if (st.ColDecimals[level][col] > 0) return;

    FloatWindowsTopMostSet(st, false);
    const int answer = st.ui.MsgBox("数値を丸めますか？", vbYesNo, "Y計算");
    FloatWindowsTopMostSet(st, true);
    if (answer != vbYes) return;
    if (const std::optional<long long> unit = AskRoundingUnit(st)) RoundColumn(st, *grid, *unit);
  }();

  FloatWindowsTopMostSet(st, false);
  grid->SetAutoScroll(autoScroll);
  FloatWindowsTopMostSet(st, true);
}

}  // namespace kv
