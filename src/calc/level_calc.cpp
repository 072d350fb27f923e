#include "calc/level_calc.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "state/column_numbers.h"
#include "state/program_state.h"
#include "core/settings_text.h"
#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc/fixed_sum.h"
#include "calc/formula_evaluate.h"
#include "state/level_context.h"
#include "calc/rounding.h"
#include "calc/row_calc.h"
#include "calc/zoku_unit_round.h"
#include "core/column_letter.h"
#include "core/number_text.h"
#include "platform/grid/grid_api.h"
#include "sheet/sheet_painting.h"
#include "storage/level_read.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr char kKindOld = 'K';  // older code of the tax and expense rows
constexpr char kKindMemo = '\xD2';  // ﾒ
constexpr char kKindSpecialMemo = 'Q';
constexpr char kKindStoredOnly = '~';
// The total rows by order: "#" receives T1, "$" T2 .. "ｳ" T6.
constexpr std::string_view kTotalKinds = "#$%\xB1\xB2\xB3";  // # $ % ｱ ｲ ｳ
// Memo-type rows: their text runs over the columns from byte 20.
constexpr std::string_view kMemoTextKinds = "123HD\xD2";  // 1 2 3 H D ﾒ

// What a row does in a "SUM" column.
enum class SumRole { Value, Tax, EquipmentExpense, Expense, Total, None };

SumRole RoleOf(char kind, int systemKind) {
  switch (kind) {
    case kKindItem:
    case 'Z':
    case 'S':
      return SumRole::Value;
    case kKindTax:
      return SumRole::Tax;
    default:
      break;
  }
  if (kTotalKinds.find(kind) != std::string_view::npos) return SumRole::Total;
  if (kind == kKindOld && systemKind == 2) return SumRole::Tax;
  if (kind == kKindExpense || kind == kKindOld) {
    if (systemKind == 1) return SumRole::EquipmentExpense;
    if (systemKind == 4 || (systemKind == 2 && kind == kKindExpense)) return SumRole::Expense;
  }
  return SumRole::None;
}

// Columns of a KEIHI entry of the equipment definitions.
struct KeihiEntry {
  int amount = 0;  // the totalled column
  int rate = 0;
  int result = 0;
};

int LetterAt(const std::string& line, size_t pos) {
  return pos < line.size() ? ColLetterToNum(std::string_view(line).substr(pos, 1)) : 0;
}

std::vector<KeihiEntry> KeihiEntries(const ProgramState& st) {
  std::vector<KeihiEntry> entries;
  const int count = std::clamp(st.KeihiCount, 0, kMaxKeihiLines);
  for (int k = 1; k <= count; ++k) {
    const std::string& line = st.KeihiLines[static_cast<size_t>(k)];
    entries.push_back({LetterAt(line, 2), LetterAt(line, 7), LetterAt(line, 12)});
  }
  return entries;
}

// One run of the calculation over a sheet.
class SheetCalc {
 public:
  SheetCalc(ProgramState& st, int level, std::string& total, int rowCount)
      : st_(st),
        level_(level),
        total_(total),
        rows_(std::clamp(rowCount, 0, SheetRowLimit(st))),
        paint_(!st.CalcNoDisplay),
        parent_(level >= 2 ? std::string_view(st.ParentRows[static_cast<size_t>(level - 1)]) : std::string_view()) {}

  void Run(int firstRow) {
    // The rows CalcRowsDisplay repaints at the end: the numeric cells of
    // their formula rows are painted there only, not on the way as well.
    if (paint_ && PaintGrid(st_, level_) != nullptr) {
      repaintFirst_ = std::max(firstRow, 1);
      repaintLast_ = std::min(st_.UsedRows, SheetRowLimit(st_));
    }
    if (st_.RecalcAllRunning) {
      // Rows whose formula column's answer RowCalc stored, unchanged since:
      // the formula column need not evaluate them again.
      const int f = st_.FormulaColumn[level_];
      const bool note = SettledRows(f + 1) && !RowDefinitionWrites(st_, level_, f + 1);
      const std::uint64_t overwritten = AnswersOverwrittenUnread(st_, level_);
      answered_.assign(static_cast<size_t>(rows_) + 1, false);
      for (int r = 1; r <= rows_; ++r)
        answered_[static_cast<size_t>(r)] = RowCalcNotingAnswer(st_, Ctx(), Row(r), note ? f : 0, overwritten);
    }
    FormulaColumn();
    const std::vector<KeihiEntry> keihi = st_.SystemKind == 1 ? KeihiEntries(st_) : std::vector<KeihiEntry>();
    for (int c = 1; c <= CalcColumns(st_, level_); ++c)
      if (st_.ColTotalKind[level_][c] == "SUM") SumColumn(c, keihi);
    TotalDefinitions();
    Ratios();
    if (paint_) {
      if (GridModel* grid = PaintGrid(st_, level_)) {
        st_.CalcNoDisplay = true;
        CalcRowsDisplay(st_, *grid, firstRow, st_.UsedRows);
        st_.CalcNoDisplay = false;
      }
    }
  }

 private:
  LevelContext Ctx() const { return {level_, parent_, total_}; }
  std::string& Row(int r) { return st_.SheetRows[static_cast<size_t>(r)]; }
  static char Kind(std::string_view rec) { return RecordByte(rec, kKindPos); }

  // The answer of a formula for column `col`: its value; after an error
  // the column's zero form or, for a value beyond the calculable range, its
  // overflow mark (FitAnswer).
  std::string Evaluate(std::string_view rec, std::string_view formula, int col) {
    std::string answer = FormulaEvaluate(st_, Ctx(), rec, formula);
    return IsFormulaError(answer) ? FitAnswer(st_, level_, col, std::move(answer)) : answer;
  }

  void StoreTotal(int col, const std::string& value) {
    StoreCell(st_, total_, level_, col, RefitToColumn(st_, level_, col, value));
  }

  // The quantity formulas of the formula column into the column right of it.
  void FormulaColumn() {
    const int f = st_.FormulaColumn[level_];
    const int result = f + 1;
    if (!IsColumnOf(st_, level_, f) || !IsColumnOf(st_, level_, result)) return;
    GridModel* grid = paint_ ? PaintGrid(st_, level_) : nullptr;
    // Every item row was computed just before (RowCalc): a row whose answer
    // is already in its cell and whose definitions are settled would store
    // the same bytes again; only the library's variables are set for it.
    const bool settledRows = SettledRows(result);
    const std::vector<int> numeric = NumericColumns(st_, level_);
    for (int r = 1; r <= rows_; ++r) {
      std::string& rec = Row(r);
      if (static_cast<size_t>(r) < answered_.size() && answered_[static_cast<size_t>(r)]) {
        // Its answer, as evaluating it again would leave it.
        st_.FormulaRangeSign = 0;
        RowVariablesSet(st_, level_, rec, numeric);
        continue;
      }
      if (Kind(rec) != kKindItem) continue;
      const std::string_view text = CellTrimmed(st_, rec, level_, f);
      if (text.empty()) continue;
      const std::string fitted = RefitToColumn(st_, level_, result, Evaluate(rec, text, result));
      if (settledRows && fitted == CellBytes(st_, rec, level_, result)) {
        RowVariablesSet(st_, level_, rec, numeric);
        continue;
      }
      StoreCell(st_, rec, level_, result, fitted);
      if (grid == nullptr) {
        RowFormulaCalc(st_, Ctx(), r, rec, result, false);
        continue;
      }
      if (!IsNumericColumn(st_, level_, result)) {
        std::string shown(CellBytes(st_, rec, level_, result));
        NumCommaFormat(st_, level_, shown, result);
        PaintCell(grid, result, r, shown);
      }
      // The row's numeric cells are painted from the record once it is
      // calculated, as a repaint of the sheet shows them (not in the total
      // form the propagation would paint): by CalcRowsDisplay at the end
      // for the rows it repaints, here for the others.
      RowFormulaCalc(st_, Ctx(), r, rec, result, true, true);
      if (r < repaintFirst_ || r > repaintLast_) RowNumbersDisplay(st_, *grid, r);
    }
  }

  // Whether the rows RowCalc has just computed are settled for a change of
  // column `result` (RowRecalcSettled), with nothing painted.
  bool SettledRows(int result) const {
    return st_.RecalcAllRunning && !(paint_ && PaintGrid(st_, level_) != nullptr) &&
           IsColumnOf(st_, level_, result) && RowRecalcSettled(st_, level_, result);
  }

  void SumColumn(int c, const std::vector<KeihiEntry>& keihi) {
    FixedSum sum;
    std::array<FixedSum, 6> running{};
    auto add = [&](FixedSum v) {
      sum += v;
      for (FixedSum& t : running) t += v;
    };
    for (int r = 1; r <= rows_; ++r) {
      std::string& rec = Row(r);
      const char kind = Kind(rec);
      switch (RoleOf(kind, st_.SystemKind)) {
        case SumRole::Value:
          if (RecordByte(rec, kPrintMarkPos) != 'U') add(CellValue(st_, rec, level_, c));
          break;
        case SumRole::Tax: {
          const std::string tax = RoundByMethod(sum.Times(st_.STax).ToSignedText(), st_.STaxMethod, st_.STaxMethodKeta);
          StoreColumnValue(st_, level_, rec, tax, c, r);
          add(CellValue(st_, rec, level_, c));
          break;
        }
        case SumRole::EquipmentExpense:
          EquipmentExpense(rec, r, c, sum, keihi);
          add(CellValue(st_, rec, level_, c));
          break;
        case SumRole::Expense:
          if (Expense(rec, r, c, sum)) add(CellValue(st_, rec, level_, c));
          break;
        case SumRole::Total: {
          const size_t order = kTotalKinds.find(kind);
          StoreColumnValue(st_, level_, rec, running[order].ToSignedText(), c, r);
          for (size_t i = 0; i <= order; ++i) running[i] = FixedSum();
          break;
        }
        case SumRole::None:
          break;
      }
    }
    StoreTotal(c, sum.ToSignedText());
  }

  // An expense row of the equipment edition: the first KEIHI entry that
  // totals column c puts sum x rate / 100 into its result column.
  void EquipmentExpense(std::string& rec, int r, int c, FixedSum sum, const std::vector<KeihiEntry>& keihi) {
    auto entry = std::find_if(keihi.begin(), keihi.end(), [c](const KeihiEntry& k) { return k.amount == c; });
    if (entry == keihi.end()) return;
    const std::string rate(CellTrimmed(st_, rec, level_, entry->rate));
    if (rate.empty()) {
      StoreColumnValue(st_, level_, rec, "", entry->result, r);
    } else {
      std::string result;
      if (!CalcExpression(st_, sum.ToText() + "*" + rate + "/100", result)) return;
      const std::string fitted = FitToColumn(st_, level_, entry->result, result);
      const std::string rounded = ZokuUnitRoundAt(st_, rec, std::string(TrimBlanks(fitted)), entry->result, level_);
      StoreColumnValue(st_, level_, rec, rounded, entry->result, r);
    }
    RowFormulaCalc(st_, Ctx(), r, rec, entry->result, paint_);
  }

  // An expense row of system kinds 2 and 4: the sum times the rate the
  // formula column holds after "[@". False when the row is passed over (a
  // rate of fewer than two characters).
  bool Expense(std::string& rec, int r, int c, FixedSum sum) {
    const std::string_view rate = CellTrimmed(st_, rec, level_, st_.FormulaColumn[level_]);
    if (rate.size() < 4) return false;
    std::string result;
    if (CalcExpression(st_, sum.ToText() + std::string(rate.substr(2)), result)) {
      // An overflowed result is stored as it is: its mark shows it.
      if (!IsOverflowMark(FitToColumn(st_, level_, c, result)))
        result = RoundByMethod(result, st_.SKeihiMethod, st_.SKeihiMethodKeta);
      StoreColumnValue(st_, level_, rec, result, c, r);
    }
    return true;
  }

  // The row definitions of the total rows and the closing record's total
  // definitions, in their order.
  void TotalDefinitions() {
    const bool expenseRows = st_.SystemKind == 2 || st_.SystemKind == 4;
    for (char letter : st_.TotalFormulaOrder[level_]) {
      const int c = ColLetterToNum(std::string_view(&letter, 1));
      if (!IsColumnOf(st_, level_, c)) continue;
      const std::string& rowDef = st_.ColFormula[level_][c];
      for (int r = 1; r <= rows_; ++r) {
        std::string& rec = Row(r);
        const char kind = Kind(rec);
        const bool totalRow = kTotalKinds.find(kind) != std::string_view::npos || kind == kKindStoredOnly ||
                              (expenseRows && kind == kKindExpense);
        if (totalRow) StoreColumnValue(st_, level_, rec, Evaluate(rec, rowDef, c), c, r);
      }
      StoreTotal(c, Evaluate(total_, st_.ColTotalKind[level_][c], c));
    }
  }

  // Each row's share of the referenced column's total, and their sum in the
  // closing record. Memo rows get none: their text runs over the columns.
  void Ratios() {
    const int p = st_.RatioColumn[level_];
    if (!IsColumnOf(st_, level_, p)) return;
    const std::string& def = st_.ColFormula[level_][p];
    const int q = def.size() >= 10 ? ColLetterToNum(std::string_view(def).substr(9, 1)) : 0;
    if (!IsColumnOf(st_, level_, q)) return;
    const FixedSum total = CellValue(st_, total_, level_, q);
    FixedSum shares;
    for (int r = 1; r <= rows_; ++r) {
      const std::string& rec = Row(r);
      const char kind = Kind(rec);
      if (RecordByte(rec, kPrintMarkPos) == 'U' || kind == kKindSpecialMemo ||
          kMemoTextKinds.find(kind) != std::string_view::npos)
        continue;
      RatioCellCalc(st_, r, level_, p, q, total);
      if (kTotalKinds.find(kind) == std::string_view::npos && kind != kKindOld)
        shares += CellValue(st_, Row(r), level_, p);
    }
    StoreTotal(p, shares.ToSignedText());
  }

  ProgramState& st_;
  const int level_;
  std::string& total_;
  const int rows_;
  const bool paint_;
  const std::string_view parent_;
  std::vector<bool> answered_;  // rows whose formula answer RowCalc stored (RowCalcNotingAnswer)
  int repaintFirst_ = 1;  // rows CalcRowsDisplay repaints; none unless painting
  int repaintLast_ = 0;
};

void RatioColumnRepaint(ProgramState& st, int rowCount) {
  const int level = st.CurrentLevel;
  const int p = level >= 1 && level <= kMaxLevels ? st.RatioColumn[level] : 0;
  GridModel* grid = PaintGrid(st, level);
  if (grid == nullptr || !IsColumnOf(st, level, p)) return;
  const int rows = std::clamp(rowCount, 0, SheetRowLimit(st));
  for (int r = 1; r <= rows; ++r) {
    std::string shown(CellBytes(st, st.SheetRows[static_cast<size_t>(r)], level, p));
    NumCommaFormat(st, level, shown, p);
    PaintCell(grid, p, r, shown);
  }
}

}  // namespace

void LevelCalc(ProgramState& st, int level, std::string& totalRecord, int firstRow, int rowCount) {
  if (level < 1 || level > kMaxLevels) return;
  SheetCalc(st, level, totalRecord, rowCount).Run(firstRow);
}

void StoreColumnValue(ProgramState& st, int level, std::string& rec, const std::string& value, int col, int row) {
  const std::string fitted = RefitToColumn(st, level, col, value);
  StoreCell(st, rec, level, col, fitted);
  if (st.CalcNoDisplay || !IsColumnOf(st, level, col)) return;
  const int screen = std::clamp(st.XMASK[level], 0, kMaskScreens - 1);
  if (st.MaskDef[level][col][static_cast<size_t>(screen)] != ' ') return;
  if (GridModel* grid = PaintGrid(st, level)) {
    std::string shown = fitted;
    NumCommaFormat(st, level, shown, col);
    PaintCell(grid, col, row, shown);
  }
}

void LevelRecalcAndShow(ProgramState& st, std::string& totalRecord, int firstRow, int rowCount) {
  if (!st.ReCalcFlag) {
    TotalRowsMask(st, rowCount);
    return;
  }
  LevelCalc(st, st.CurrentLevel, totalRecord, firstRow, rowCount);
  RatioColumnRepaint(st, rowCount);
}

void LevelRecalcAt(ProgramState& st, int level, std::string& totalRecord, int rowCount) {
  if (!st.ReCalcFlag) {
    TotalRowsMask(st, rowCount);
    return;
  }
  LevelCalc(st, level, totalRecord, st.CurrentRow + 1, rowCount);
  if (!st.CalcNoDisplay && level == st.CurrentLevel) RatioColumnRepaint(st, rowCount);
}

void TotalRowsMask(ProgramState& st, int rowCount) {
  if (st.CalcNoDisplay || rowCount <= 0) return;
  const int level = st.CurrentLevel;
  GridModel* grid = PaintGrid(st, level);
  if (grid == nullptr) return;
  static constexpr std::string_view kMaskedKinds = "#$%\xB1\xB2\xB3\xBC\xB9";  // # $ % ｱ ｲ ｳ ｼ ｹ
  const int limit = SheetRowLimit(st);
  const int rows = std::min(rowCount, limit);
  for (int c = 1; c <= CalcColumns(st, level); ++c) {
    if (TrimBlanks(st.ColTotalKind[level][c]).empty()) continue;
    const std::string mask(static_cast<size_t>(std::max(st.ColWidth[level][c], 0)), '#');
    for (int r = 1; r <= rows; ++r)
      if (kMaskedKinds.find(RecordByte(st.SheetRows[static_cast<size_t>(r)], kKindPos)) != std::string_view::npos)
        SetTextData32(*grid, c, r, mask);
    SetTextData32(*grid, c, limit + 1, mask);
  }
}

}  // namespace kv
