#include "calc/row_calc.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "state/column_numbers.h"
#include "state/program_state.h"
#include "core/settings_text.h"
#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc/formula_evaluate.h"
#include "calc/zoku_unit_round.h"
#include "core/column_letter.h"
#include "core/number_text.h"
#include "platform/calc2.h"
#include "storage/row_record.h"

namespace kv {
namespace {

constexpr int kCustomerSourceCol = 8;
constexpr int kCustomerSwitchCol = 10;
constexpr int kCustomerFirstCol = 11;
constexpr int kCustomerSecondCol = 12;

char TypeOf(const ProgramState& st, int level, int col) {
  const std::string& type = st.ColType[level][col];
  return type.empty() ? ' ' : type.front();
}

// "[[" and the column's letter: the name of its variable and the reference
// a definition reading the column contains. Built once; a column without a
// letter gives "[[" alone.
const std::string& ColumnReference(int col) {
  static const std::array<std::string, kMaxColumns + 1> names = [] {
    std::array<std::string, kMaxColumns + 1> all;
    for (int c = 0; c <= kMaxColumns; ++c) all[static_cast<size_t>(c)] = "[[" + ColNumToLetter(c);
    return all;
  }();
  return names[col >= 1 && col <= kMaxColumns ? static_cast<size_t>(col) : 0];
}

// Sets the library's variable "[[X" to a cell's text; a blank cell and an
// overflow mark (both read as 0 by the sums) give "0".
void SetColumnVariable(ProgramState& st, int col, std::string_view text) {
  const bool zero = text.empty() || IsOverflowMark(text);
  const std::string& name = ColumnReference(col);
  const std::string_view value = zero ? std::string_view("0") : text;
  // Every numeric cell of every calculated row comes here: a stored number
  // goes straight into the variable; anything else is sent as the statement.
  if (Calc2SetNumber(st.Calc2Vars, name, value)) return;
  std::string result;
  CalcExpression(st, name + "=" + std::string(value), result);
}

// A row definition's answer: most are products and sums of the row's
// cells, answered straight from their digits.
std::string DefinitionAnswer(ProgramState& st, const LevelContext& ctx, std::string_view rec, const std::string& def) {
  if (std::optional<std::string> answer = ProductSumAnswer(st, ctx, rec, def)) return std::move(*answer);
  return FormulaEvaluate(st, ctx, rec, def);
}

// Whether a row definition is the ratio's ("RATIO" in any case). Every row
// asks for each definition, and most hold no "R" in either case: the text is
// compared only where one stands.
bool IsRatioDefinition(std::string_view def) {
  constexpr std::string_view kRatio = "RATIO";
  for (size_t at = 0; at + kRatio.size() <= def.size(); ++at)
    if ((def[at] == 'R' || def[at] == 'r') && EqualsNoCase(def.substr(at, kRatio.size()), kRatio)) return true;
  return false;
}

// The customer variant's columns 11 and 12 for a result of column 8.
struct CustomerSplit {
  int target = 0;  // column that receives the value
  int other = 0;   // column blanked
};

CustomerSplit CustomerSplitOf(const ProgramState& st, std::string_view rec, int level) {
  const bool first = CellTrimmed(st, rec, level, kCustomerSwitchCol) == "1";
  return first ? CustomerSplit{kCustomerFirstCol, kCustomerSecondCol} : CustomerSplit{kCustomerSecondCol, kCustomerFirstCol};
}

struct Propagation {
  ProgramState& st;
  const LevelContext& ctx;
  int gridRow;
  std::string& rec;
  GridModel* grid;  // null: nothing painted
  bool numbersRepainted;  // the caller repaints the numeric cells afterwards
  // Numeric columns with a row definition, in column order (kept in place:
  // every row of a recalculation builds this list).
  std::array<int, kMaxColumns> computed;
  size_t computedCount;
  std::array<bool, kMaxColumns + 1> onChain{};
};

// Whether a cell is painted here: not when the caller's repaint from the
// stored record would paint over it anyway.
bool Painted(const Propagation& p, int col) {
  return p.grid != nullptr && !(p.numbersRepainted && IsNumericColumn(p.st, p.ctx.level, col));
}

void PaintShown(Propagation& p, int col, const std::string& shown) {
  if (Painted(p, col)) PaintCell(p.grid, col, p.gridRow, shown);
}

// Paints `shown` in the column (and, in the customer variant, in the
// column 8's result goes to).
void PaintAs(Propagation& p, int col, const std::string& shown) {
  const bool customer = p.st.CustomerVariant && col == kCustomerSourceCol;
  if (!Painted(p, col) && !customer) return;
  if (p.grid == nullptr) return;
  const int level = p.ctx.level;
  PaintShown(p, col, shown);
  if (customer) {
    const CustomerSplit split = CustomerSplitOf(p.st, p.rec, level);
    for (int c : {kCustomerFirstCol, kCustomerSecondCol})
      if (IsColumnOf(p.st, level, c)) PaintShown(p, c, std::string(20, ' '));
    if (IsColumnOf(p.st, level, split.target)) PaintShown(p, split.target, shown);
  }
}

// Paints a computed value in the form the propagation shows it.
void Paint(Propagation& p, int col, const std::string& result) {
  if (p.grid == nullptr) return;
  std::string shown = result;
  if (result == "0") {
    shown = " ";
  } else if (p.st.SystemKind == 1) {
    NumCommaFormat(p.st, p.ctx.level, shown, col);
  } else {
    TotalFitColumn(p.st, p.ctx.level, shown, col);
  }
  PaintAs(p, col, shown);
}

void Store(Propagation& p, int col, const std::string& fitted) {
  const int level = p.ctx.level;
  StoreCell(p.st, p.rec, level, col, fitted);
  if (p.st.CustomerVariant && col == kCustomerSourceCol) {
    const CustomerSplit split = CustomerSplitOf(p.st, p.rec, level);
    StoreCell(p.st, p.rec, level, split.other, "");
    StoreRefitted(p.st, p.rec, level, split.target, fitted);
  }
}

void ColumnFormulaPropagate(Propagation& p, int changedCol) {
  const int level = p.ctx.level;
  const std::string& key = ColumnReference(changedCol);
  for (size_t i = 0; i < p.computedCount; ++i) {
    const int col = p.computed[i];
    if (p.onChain[static_cast<size_t>(col)]) continue;
    const std::string& def = p.st.ColFormula[level][col];
    if (def.find(key) == std::string::npos) continue;

    std::string result = DefinitionAnswer(p.st, p.ctx, p.rec, def);
    std::string fitted;
    if (!IsFormulaError(result)) {
      if (p.st.SystemKind == 1) result = ZokuUnitRoundAt(p.st, p.rec, result, col, level);
      Paint(p, col, result);
      fitted = FitToColumn(p.st, level, col, result);
    } else if (p.st.FormulaRangeSign != 0) {
      // Beyond the calculable range: the overflow mark, shown as it is, and
      // the columns reading this one go on with it as 0.
      fitted = FitAnswer(p.st, level, col, std::move(result));
      PaintAs(p, col, fitted);
    } else {
      PaintShown(p, col, "");
      StoreCell(p.st, p.rec, level, col, "");
      continue;
    }
    Store(p, col, fitted);
    SetColumnVariable(p.st, col, TrimBlanks(fitted));

    p.onChain[static_cast<size_t>(col)] = true;
    ColumnFormulaPropagate(p, col);
    p.onChain[static_cast<size_t>(col)] = false;
  }
}

}  // namespace

void RowCalc(ProgramState& st, const LevelContext& ctx, std::string& rec) { RowCalcNotingAnswer(st, ctx, rec, 0); }

bool RowCalcNotingAnswer(ProgramState& st, const LevelContext& ctx, std::string& rec, int formulaCol,
                         std::uint64_t overwrittenAnswers) {
  if (RecordByte(rec, kKindPos) != kKindItem) return false;
  const int level = ctx.level;
  const int count = CalcColumns(st, level);

  // Formula texts into their answer columns.
  // FitAnswer reads the range of the last evaluation: none runs between an
  // "S" column's and the "A" columns that take its result.
  std::string carried;
  bool carriedError = false;
  bool carriedPlain = false;  // from formulaCol: a number read from nothing but its text
  bool noted = false;
  for (int c = 1; c <= count; ++c) {
    const char type = TypeOf(st, level, c);
    if (type == 'S') {
      const std::string_view text = CellTrimmed(st, rec, level, c);
      if (text.empty()) continue;
      carried = FormulaEvaluate(st, ctx, rec, text);
      carriedError = IsFormulaError(carried);
      carriedPlain = c == formulaCol && !carriedError && FormulaReadsNothing(text) && !carried.empty() &&
                     TrimBlanks(carried).size() == carried.size() && !IsOverflowMark(carried);
    } else if (type == 'A' && !TrimBlanks(carried).empty()) {
      // An answer a definition overwrites unread leaves nothing behind.
      if (c < 64 && ((overwrittenAnswers >> c) & 1) != 0 && !carriedError) continue;
      StoreCell(st, rec, level, c, carriedError ? FitAnswer(st, level, c, carried) : FitToColumn(st, level, c, carried));
      if (c == formulaCol + 1) noted = carriedPlain;
    }
  }

  // Row definitions in their order.
  for (char letter : st.RowFormulaOrder[level]) {
    const int c = ColLetterToNum(std::string_view(&letter, 1));
    if (!IsColumnOf(st, level, c)) continue;
    const std::string& def = st.ColFormula[level][c];
    if (def.empty() || IsRatioDefinition(def)) continue;
    if (st.SystemKind != 1) {
      // A product or sum of the row's cells: its value fitted as is.
      if (const std::optional<Currency> value = ProductSumValue(st, ctx, rec, def)) {
        std::string fitted;
        NumFitValue(fitted, *value, NumColumnOf(st, level, c));
        StoreCell(st, rec, level, c, fitted);
        continue;
      }
    }
    std::string result = DefinitionAnswer(st, ctx, rec, def);
    if (st.SystemKind == 1 && !IsFormulaError(result)) result = ZokuUnitRoundAt(st, rec, result, c, level);
    StoreCell(st, rec, level, c, FitAnswer(st, level, c, std::move(result)));
  }
  return noted;
}

bool RowDefinitionWrites(const ProgramState& st, int level, int col) {
  for (char letter : st.RowFormulaOrder[level]) {
    const int c = ColLetterToNum(std::string_view(&letter, 1));
    if (c != col || !IsColumnOf(st, level, c)) continue;
    const std::string& def = st.ColFormula[level][c];
    if (!def.empty() && !IsRatioDefinition(def)) return true;
  }
  return false;
}

void RowFormulaCalc(ProgramState& st, const LevelContext& ctx, int gridRow, std::string& rec, int changedCol,
                    bool paint, bool numbersRepainted) {
  const int level = ctx.level;
  Propagation p{st, ctx, gridRow, rec, paint ? PaintGrid(st, level) : nullptr, numbersRepainted, {}, 0, {}};
  const int count = CalcColumns(st, level);
  RowVariablesSet(st, level, rec);
  for (int c = 1; c <= count; ++c)
    if (IsNumericColumn(st, level, c) && !st.ColFormula[level][c].empty()) p.computed[p.computedCount++] = c;
  if (changedCol >= 0 && changedCol <= kMaxColumns) p.onChain[static_cast<size_t>(changedCol)] = true;
  ColumnFormulaPropagate(p, changedCol);
}

void RowVariablesSet(ProgramState& st, int level, std::string_view rec) {
  RowVariablesSet(st, level, rec, NumericColumns(st, level));
}

std::vector<int> NumericColumns(const ProgramState& st, int level) {
  std::vector<int> columns;
  const int count = CalcColumns(st, level);
  for (int c = 1; c <= count; ++c)
    if (IsNumericColumn(st, level, c)) columns.push_back(c);
  return columns;
}

void RowVariablesSet(ProgramState& st, int level, std::string_view rec, const std::vector<int>& numericColumns) {
  for (int c : numericColumns) SetColumnVariable(st, c, CellTrimmed(st, rec, level, c));
}

// A row definition RowCalc evaluates and the columns it reads.
struct EvaluatedDefinition {
  int col;
  std::uint64_t reads;
};

// The definitions RowCalc evaluates, in its order; empty when one of them is
// not pure (PureFormulaColumns).
std::optional<std::vector<EvaluatedDefinition>> EvaluatedDefinitions(const ProgramState& st, int level) {
  std::vector<EvaluatedDefinition> order;
  for (char letter : st.RowFormulaOrder[level]) {
    const int c = ColLetterToNum(std::string_view(&letter, 1));
    if (!IsColumnOf(st, level, c)) continue;
    const std::string& def = st.ColFormula[level][c];
    if (def.empty() || IsRatioDefinition(def)) continue;
    const std::optional<std::uint64_t> reads = PureFormulaColumns(def);
    if (!reads) return std::nullopt;
    order.push_back({c, *reads});
  }
  return order;
}

std::uint64_t AnswersOverwrittenUnread(const ProgramState& st, int level) {
  if (st.SystemKind == 1) return 0;  // its rounding reads the row as it stands
  const std::optional<std::vector<EvaluatedDefinition>> order = EvaluatedDefinitions(st, level);
  if (!order) return 0;
  // A formula text right of an answer column reads the answer stored there.
  int lastText = 0;
  for (int c = 1; c <= CalcColumns(st, level); ++c)
    if (TypeOf(st, level, c) == 'S') lastText = c;
  std::uint64_t readSoFar = 0, written = 0, unread = 0;
  for (const EvaluatedDefinition& d : *order) {
    readSoFar |= d.reads;
    const std::uint64_t bit = std::uint64_t{1} << d.col;
    if (!(written & bit) && !(readSoFar & bit) && d.col > lastText && TypeOf(st, level, d.col) == 'A') unread |= bit;
    written |= bit;
  }
  return unread;
}

bool RowRecalcSettled(const ProgramState& st, int level, int changedCol) {
  if (st.CustomerVariant || st.SystemKind == 1) return false;
  const int count = CalcColumns(st, level);
  const std::optional<std::vector<EvaluatedDefinition>> evaluatedOrder = EvaluatedDefinitions(st, level);
  if (!evaluatedOrder) return false;
  const std::vector<EvaluatedDefinition>& order = *evaluatedOrder;
  // No definition reads a column written at or after it.
  std::uint64_t writtenLater = 0;
  std::uint64_t evaluated = 0;
  for (size_t i = order.size(); i-- > 0;) {
    writtenLater |= std::uint64_t{1} << order[i].col;
    if (order[i].reads & writtenLater) return false;
    evaluated |= std::uint64_t{1} << order[i].col;
  }
  // The definitions the propagation reaches, found by its own test.
  std::array<bool, kMaxColumns + 1> reached{};
  if (changedCol < 0 || changedCol > kMaxColumns) return false;
  reached[static_cast<size_t>(changedCol)] = true;
  for (bool grew = true; grew;) {
    grew = false;
    for (int c = 1; c <= count; ++c) {
      if (reached[static_cast<size_t>(c)] || !IsNumericColumn(st, level, c)) continue;
      const std::string& def = st.ColFormula[level][c];
      if (def.empty()) continue;
      bool reads = false;
      for (int x = 0; x <= kMaxColumns && !reads; ++x)
        reads = reached[static_cast<size_t>(x)] && def.find(ColumnReference(x)) != std::string::npos;
      if (!reads) continue;
      if (!(evaluated & (std::uint64_t{1} << c))) return false;
      reached[static_cast<size_t>(c)] = true;
      grew = true;
    }
  }
  return true;
}

void RatioCellCalc(ProgramState& st, int row, int level, int ratioCol, int refCol, FixedSum total) {
  if (row < 0 || row > kMaxSheetRows + 1) return;
  std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  const FixedSum ratio = FixedSum::Percent(CellValue(st, rec, level, refCol), total);
  StoreCell(st, rec, level, ratioCol, FitToColumn(st, level, ratioCol, ratio.ToText()));
}

bool IsItemRow(std::string_view rec) {
  static constexpr std::string_view kNotItems = "#$%\xB1\xB2\xB3S\xD2Q";  // # $ % ｱ ｲ ｳ S ﾒ Q
  return kNotItems.find(RecordByte(rec, kKindPos)) == std::string_view::npos &&
         RecordByte(rec, kPrintMarkPos) != 'U';
}

}  // namespace kv
