#include "calc/equipment/equipment_rows.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <optional>
#include <string_view>

#include "calc/calc_expression.h"
#include "calc/equipment/equipment_cells.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_sums.h"
#include "calc/rounding.h"
#include "calc/row_calc.h"
#include "calc/zoku_unit_round.h"
#include "core/column_letter.h"
#include "platform/codepage.h"
#include "sheet/sheet_fields.h"
#include "state/program_state.h"

namespace kv {
namespace {

constexpr std::string_view kExpenseFailed = "諸経費計算行の計算に失敗しました｡";
constexpr std::string_view kConsumablesFailed = "消耗品雑材の計算に失敗しました｡";

char KindOf(const ProgramState& st, int row) {
  const std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  return rec.size() >= 3 ? rec[2] : ' ';
}

// The characters of a Shift-JIS text, a double-byte character as one.
std::vector<std::string> Chars(std::string_view text) {
  std::vector<std::string> out;
  for (size_t i = 0; i < text.size();) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
    out.emplace_back(text.substr(i, n));
    i += n;
  }
  return out;
}

std::string CutAtDot(std::string s) {
  if (const size_t dot = s.find('.'); dot != std::string::npos) s.erase(dot);
  return s;
}

bool IsMarkChar(const std::string& c) { return c == "#" || IsAsciiLetter(c) || (c.size() == 1 && IsHalfKana(c)); }

// The columns of one SKEIHI or SZATU entry.
struct EntryCols {
  int formula, mark, amount, rate, result;
};

EntryCols SkeihiCols(const ProgramState& st, int e) {
  const size_t i = static_cast<size_t>(e);
  return {ParseDoubleBracketNumber(st.SkeihiFormulaLines[i]), ParseDoubleBracketNumber(st.SkeihiMarkLines[i]),
          ParseDoubleBracketNumber(st.SkeihiAmountLines[i]), ParseDoubleBracketNumber(st.SkeihiRateLines[i]),
          ParseDoubleBracketNumber(st.SkeihiResultLines[i])};
}

EntryCols SzatuCols(const ProgramState& st, int e) {
  const size_t i = static_cast<size_t>(e);
  return {ParseDoubleBracketNumber(st.SzatuFormulaLines[i]), ParseDoubleBracketNumber(st.SzatuMarkLines[i]),
          ParseDoubleBracketNumber(st.SzatuAmountLines[i]), ParseDoubleBracketNumber(st.SzatuRateLines[i]),
          ParseDoubleBracketNumber(st.SzatuResultLines[i])};
}

// The overhead sums of one entry letter, by mark character: the sum of a
// single-byte mark is kept for the run, a double-byte mark's is looked up
// each time.
class MarkSums {
 public:
  explicit MarkSums(std::string letter) : letter_(std::move(letter)) {}
  const std::string& Letter() const { return letter_; }

  bool Add(ProgramState& st, std::string_view mark, const EquipAmount& amount) {
    if (mark.size() != 1) return EquipSumAddOrStart(st, letter_ + std::string(mark), amount);
    const auto c = static_cast<unsigned char>(mark.front());
    std::optional<EquipSum>& sum = sums_[c];
    if (!sum) {
      sum.emplace(letter_ + std::string(mark));
      used_.push_back(c);
    }
    return sum->AddOrStart(st, amount);
  }

  // The amounts every sum holds back, added to its variable.
  bool Flush(ProgramState& st) {
    for (unsigned char c : used_)
      if (!sums_[c]->Flush(st)) return false;
    return true;
  }

 private:
  std::string letter_;
  std::array<std::optional<EquipSum>, 256> sums_;
  std::vector<unsigned char> used_;  // the marks with a sum, in order
};

// The marks and amount of row i join the overhead sums of the entry.
bool AddExpenseSums(ProgramState& st, MarkSums& sums, const EntryCols& cols, int i) {
  std::string_view marks = EquipCellView(st, i, cols.mark);  // the row is not written here
  if (!marks.empty() && marks.front() == '*') marks = marks.size() > 2 ? marks.substr(2) : std::string_view();
  const EquipAmount& amount = EquipRowAmount(i, EquipCellView(st, i, cols.amount));
  if (amount.text.empty()) return true;
  // Each mark character (a double-byte one whole), then "#".
  for (size_t p = 0; p < marks.size();) {
    const size_t n = IsSjisLeadByte(static_cast<unsigned char>(marks[p])) && p + 1 < marks.size() ? 2 : 1;
    if (!sums.Add(st, marks.substr(p, n), amount)) return false;
    p += n;
  }
  return sums.Add(st, "#", amount);
}

// The rounding of an equipment result by every ZOKU pair of its column,
// whatever the column's type.
std::string PairRounded(const ProgramState& st, int row, int col, std::string value) {
  for (int z = 1; z <= st.ZokuCount; ++z) {
    if (st.ZokuValueCols[static_cast<size_t>(z)] != col) continue;
    const std::string unit = EquipCellStripped(st, row, st.ZokuUnitCols[static_cast<size_t>(z)]);
    if (UnitRoundApplies(unit, value)) value = UnitRounded(unit, value);
  }
  return value;
}

bool ExpenseRowsRun(ProgramState& st, bool paint, const std::vector<int>& zRows) {
  std::vector<MarkSums> sums;
  sums.reserve(static_cast<size_t>(std::max(st.SkeihiCount, 0)));
  for (int e = 1; e <= st.SkeihiCount; ++e) {
    sums.emplace_back(ColNumToLetter(e));
    const EntryCols cols = SkeihiCols(st, e);
    for (int i = 1; i <= st.UsedRows; ++i)
      if (IsItemRow(st.SheetRows[static_cast<size_t>(i)]) && KindOf(st, i) != 'Z' &&
          !AddExpenseSums(st, sums.back(), cols, i))
        return false;
  }
  for (int r : zRows) {
    for (int e = 1; e <= st.SkeihiCount; ++e) {
      // The sums are read (and a row definition may set any variable) below.
      for (MarkSums& s : sums)
        if (!s.Flush(st)) return false;
      MarkSums& entrySums = sums[static_cast<size_t>(e - 1)];
      const std::string& L = entrySums.Letter();
      const EntryCols cols = SkeihiCols(st, e);
      const std::string formula = EquipCellTrimmed(st, r, cols.formula);
      if (formula.empty()) continue;
      std::string expr;
      for (const std::string& c : Chars(formula))
        expr += (c.size() == 1 && std::string_view("0123456789.+-*/()").find(c[0]) != std::string_view::npos)
                    ? c
                    : L + c;
      std::string result;
      if (!CalcExpression(st, expr, result)) continue;
      std::string rate = EquipCellTrimmed(st, r, cols.rate);
      if (rate.empty()) rate = "100";
      if (!CalcExpression(st, result + "*" + rate + "/100", result)) continue;
      result = PairRounded(st, r, cols.result, result);
      EquipWriteCell(st, r, cols.result, result, paint);
      const int lastAuto = EquipWriteAutoValues(st, r, paint, false);
      EquipRowRecalc(st, r, lastAuto != 0 ? lastAuto : cols.result, paint);
      if (!AddExpenseSums(st, entrySums, cols, r)) return false;
    }
  }
  return true;
}

// The formula text without its last adjustment group (an operator, "(",
// digits and "-", ")" ending the text). False for a "(" without its ")" or
// an empty group.
bool CutAdjustment(const std::string& text, std::string& cut) {
  cut = text;
  size_t close = std::string::npos;
  for (size_t p = text.size(); p-- > 0;) {
    if (text[p] == ')') close = p;
    if (text[p] != '(') continue;
    if (close == std::string::npos || close == p + 1) return false;
    if (close + 1 != text.size()) return true;
    for (size_t q = p + 1; q < close; ++q)
      if (!IsDigitOrMinus(std::string_view(text).substr(q, 1))) return true;
    cut = p == 0 ? std::string() : text.substr(0, p - 1);
    return true;
  }
  return true;
}

// One SZATU entry; a failure's message is the caller's.
enum class Outcome { Done, NoRow, Stop, Failed };

Outcome ConsumablesEntry(ProgramState& st, int s, bool paint, bool& again) {
  const EntryCols cols = SzatuCols(st, s);
  int sRow = -1;
  std::string text;
  std::vector<std::string> marks;
  switch (CheckConsumablesRow(st, s, st.UsedRows, sRow, text, marks)) {
    case 1:
      EquipCalcMessage(st, "消耗品雑材行が2行以上あります｡");
      return Outcome::Stop;
    case 2:
      return Outcome::NoRow;
    case 3:
      EquipWriteCell(st, sRow, cols.result, "", paint);
      EquipWriteAutoValues(st, sRow, paint, true);
      return Outcome::Done;
    case 4:
      EquipCalcMessage(st, "消耗品雑材行計算式内に集計マークが有りません｡");
      return Outcome::Done;
    default:
      break;
  }

  // The mark text and numeric amount of every item row, read once for all
  // marks, with the bytes a single-byte mark is found among: the third one
  // of a text that begins with "*", else every one of the text. (The rows
  // are not written before the sums are done.)
  struct Counted {
    std::string_view markText;
    const EquipAmount* amount = nullptr;  // none: the row is not counted
    std::bitset<256> bytes;
  };
  std::vector<Counted> items(static_cast<size_t>(std::max(st.UsedRows, 0)) + 1);
  for (int i = 1; i <= st.UsedRows; ++i) {
    if (!IsItemRow(st.SheetRows[static_cast<size_t>(i)])) continue;
    const EquipAmount* amount = EquipRowNumber(i, EquipCellView(st, i, cols.amount));
    if (amount == nullptr) continue;
    Counted& item = items[static_cast<size_t>(i)];
    item = {EquipCellView(st, i, cols.mark), amount, {}};
    const std::string_view text = item.markText;
    const bool starred = !text.empty() && text.front() == '*';
    for (size_t p = starred ? 2 : 0; p < (starred ? std::min<size_t>(text.size(), 3) : text.size()); ++p)
      item.bytes.set(static_cast<unsigned char>(text[p]));
  }

  std::string r;
  for (const std::string& m : marks) {
    EquipSum sum("@M" + m);
    const std::string& name = sum.Name();
    if (!CalcExpression(st, name + "=0", r)) return Outcome::Failed;
    const bool all = m == "#";
    for (int i = 1; i <= st.UsedRows; ++i) {
      SbMsgSetDetail(st, i);
      const Counted& item = items[static_cast<size_t>(i)];
      if (item.amount == nullptr) continue;
      const std::string_view markText = item.markText;
      const bool counted =
          all || (m.size() == 1 ? item.bytes.test(static_cast<unsigned char>(m.front()))
                                : !markText.empty() && markText.front() == '*'
                                      ? markText.size() > 2 && markText.substr(2, m.size()) == m
                                      : markText.find(m) != std::string::npos);
      if (!counted) continue;
      if (!sum.Add(st, *item.amount)) return Outcome::Failed;
    }
    if (!sum.Flush(st)) return Outcome::Failed;
  }

  std::string cut;
  if (!CutAdjustment(text, cut)) return Outcome::Failed;
  std::string expr;
  for (const std::string& c : Chars(cut)) {
    if (!IsMarkChar(c)) {
      expr += c;
      continue;
    }
    std::string v;
    if (!CalcExpression(st, "@M" + c, v)) return Outcome::Failed;
    expr += v.empty() ? "0" : v;
  }
  std::string base = "0";
  if (!expr.empty() && !CalcExpression(st, expr, base)) return Outcome::Failed;

  std::string rate = EquipCellTrimmed(st, sRow, cols.rate);
  if (rate.empty()) rate = "100";
  if (!CalcExpression(st, base + "*" + rate + "/100", base)) return Outcome::Failed;
  if (!CalcExpression(st, "MR2=" + base, r) || !CalcExpression(st, "MG1=0", r)) return Outcome::Failed;
  // The item rows above the consumables row, with the amounts read above.
  EquipSum running("MG1");
  for (int i = 1; i < sRow; ++i) {
    const EquipAmount* amount = items[static_cast<size_t>(i)].amount;
    if (amount == nullptr) continue;
    if (!running.Add(st, *amount)) return Outcome::Failed;
  }
  if (!running.Flush(st)) return Outcome::Failed;

  std::string total;
  if (!CalcExpression(st, "MG1+MR2", total)) return Outcome::Failed;
  total = CutAtDot(total);
  const bool negative = !total.empty() && total.front() == '-';
  if (negative) total.erase(0, 1);
  std::string rounded = RoundUpToUnit(total, 1000);
  if (negative) total = "-" + total, rounded = "-" + rounded;
  std::string adjustment;
  if (!CalcExpression(st, rounded + "-" + total, adjustment)) return Outcome::Failed;
  if (adjustment.empty()) adjustment = "0";
  adjustment = CutAtDot(adjustment);

  // The new formula text must fit its column whole.
  const std::string formula = cut + "+(" + adjustment + ")";
  const int width = st.ColWidth[st.CurrentLevel][cols.formula];
  if (static_cast<int>(formula.size()) > width) return Outcome::Failed;
  std::string result;
  if (!CalcExpression(st, "MR2+" + adjustment, result)) return Outcome::Failed;

  EquipWriteCell(st, sRow, cols.formula, formula, paint);
  EquipWriteCell(st, sRow, cols.result, result, paint);
  EquipRowRecalc(st, sRow, cols.result, paint);
  EquipWriteAutoValues(st, sRow, paint, true);

  for (int k = 1; k <= st.SikiCount; ++k) {
    const std::string& rule = st.SikiRules[static_cast<size_t>(k)];
    if (rule.size() >= 3 && !EquipCellTrimmed(st, sRow, ColLetterToNum(std::string_view(rule).substr(2, 1))).empty()) {
      again = true;
      break;
    }
  }
  return Outcome::Done;
}

}  // namespace

bool FindExpenseRows(const ProgramState& st, int n, std::vector<int>& rows) {
  rows.clear();
  const int last = std::clamp(n, 0, kMaxSheetRows + 1);
  for (int i = 1; i <= last; ++i)
    if (KindOf(st, i) == 'Z') rows.push_back(i);
  return !rows.empty();
}

int CheckConsumablesRow(const ProgramState& st, int entry, int n, int& sRow, std::string& text,
                        std::vector<std::string>& marks) {
  sRow = -1;
  text.clear();
  marks.clear();
  int count = 0;
  const int last = std::clamp(n, 0, kMaxSheetRows + 1);
  for (int i = 1; i <= last; ++i)
    if (KindOf(st, i) == 'S') sRow = i, ++count;
  if (count >= 2) return 1;
  if (count == 0) return 2;
  text = EquipCellTrimmed(st, sRow, SzatuCols(st, entry).formula);
  if (text.empty()) return 3;
  for (const std::string& c : Chars(text))
    if (IsMarkChar(c)) marks.push_back(c);
  return marks.empty() ? 4 : -1;
}

bool CalcExpenseRows(ProgramState& st, bool paint) {
  std::vector<int> zRows;
  if (st.SkeihiCount == 0 || st.UsedRows == 0 || !FindExpenseRows(st, st.UsedRows, zRows)) return true;
  CalcInit(st);
  if (ExpenseRowsRun(st, paint, zRows)) return true;
  EquipCalcMessage(st, std::string(kExpenseFailed));
  return false;
}

bool CalcConsumablesRow(ProgramState& st, bool paint, bool& again) {
  again = false;
  if (st.SzatuCount == 0 || st.UsedRows == 0) return true;
  CalcInit(st);
  for (int s = 1; s <= st.SzatuCount; ++s) {
    switch (ConsumablesEntry(st, s, paint, again)) {
      case Outcome::Done:
        break;
      case Outcome::NoRow:
        return true;
      case Outcome::Stop:
        return false;
      case Outcome::Failed:
        EquipCalcMessage(st, std::string(kConsumablesFailed));
        return false;
    }
  }
  return true;
}

}  // namespace kv
