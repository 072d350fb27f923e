#include "calc/equipment/equipment_aggregation.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc/equipment/equipment_cells.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/equipment/equipment_row_defs.h"
#include "calc/equipment/equipment_sums.h"
#include "calc/row_calc.h"
#include "calc/row_def_readers.h"
#include "calc/zoku_unit_round.h"
#include "core/column_letter.h"
#include "sheet/last_used_row.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {
namespace {

constexpr int kMaxDepth = 10;
constexpr int kMaxBody = 10;  // the group sums a rule body reads

// One run of the rules over the sheet.
class RuleRun {
 public:
  RuleRun(ProgramState& st, bool paint)
      : st_(st),
        paint_(paint),
        last_(std::clamp(st.UsedRows, 0, kMaxSheetRows)),
        done_(static_cast<size_t>(last_) + 2, 0),
        ruleTexts_(static_cast<size_t>(last_) + 2),
        ruleBytes_(static_cast<size_t>(last_) + 2),
        ruleBytesFromThird_(static_cast<size_t>(last_) + 2) {}

  // Every rule row of the rule; the row that failed in `failedRow`.
  bool Apply(const SikiRule& rule, int& failedRow) {
    std::fill(done_.begin(), done_.end(), 0);
    for (auto& sum : sums_) sum.reset();
    ruleCol_ = rule.ruleCol;
    for (int i = 1; i <= last_; ++i) ReadRuleText(i);
    for (int e = 1; e <= last_; ++e) {
      SbMsgSetDetail(st_, e);
      const std::string& t = ruleTexts_[static_cast<size_t>(e)];
      if (t.empty() || t.front() != '*' || rule.bodyCount == 0 || !IsItemRow(st_.SheetRows[static_cast<size_t>(e)]))
        continue;
      depth_ = 0;
      std::vector<std::string> values;
      if (!SikiRuleEval(e, rule, GroupCode(t), values)) {
        failedRow = e;
        return false;
      }
    }
    return true;
  }

 private:
  // The rule column of every row is read once per rule and again only after
  // the row itself is written (only the row being completed is written).
  void ReadRuleText(int row) {
    std::string buffer;
    const size_t i = static_cast<size_t>(row);
    const std::string& t = ruleTexts_[i] = EquipCellStrippedView(st_, row, ruleCol_, buffer);
    ruleBytes_[i].reset();
    ruleBytesFromThird_[i].reset();
    for (size_t p = 0; p < t.size(); ++p) {
      ruleBytes_[i].set(static_cast<unsigned char>(t[p]));
      if (p >= 2) ruleBytesFromThird_[i].set(static_cast<unsigned char>(t[p]));
    }
  }

  static std::string GroupCode(const std::string& t) { return t.size() >= 2 ? t.substr(1, 1) : std::string(); }

  // The texts of the body columns of a row into `v` (its room kept).
  void BodyValues(int row, const SikiRule& rule, std::vector<std::string>& v) {
    v.resize(static_cast<size_t>(rule.bodyCount));
    for (int k = 0; k < rule.bodyCount; ++k)
      v[size_t(k)] = EquipCellStrippedView(st_, row, rule.bodyCols[size_t(k)], buffer_);
  }

  std::string SumName(const SikiRule& rule, int k) const {
    return std::string("T") + static_cast<char>('A' + depth_) + ColNumToLetter(rule.bodyCols[size_t(k)]);
  }

  // The group sum of body column k at the current depth, kept for the rule.
  EquipSum& Sum(const SikiRule& rule, int k) {
    std::optional<EquipSum>& sum = sums_[static_cast<size_t>(depth_ * kMaxBody + k)];
    if (!sum) sum.emplace(SumName(rule, k));
    return *sum;
  }

  // The group sums of the current depth with what they hold back added.
  void FlushSums(const SikiRule& rule) {
    for (int k = 0; k < rule.bodyCount; ++k)
      if (std::optional<EquipSum>& sum = sums_[static_cast<size_t>(depth_ * kMaxBody + k)]) sum->Flush(st_);
  }

  // One rule row: row r of group g gets the rule's result from its group's
  // sums, the rule rows among its members computed first, one level deeper;
  // `values` receives its body columns' texts. False when nested too deep
  // (which includes a group containing itself).
  bool SikiRuleEval(int r, const SikiRule& rule, const std::string& g, std::vector<std::string>& values) {
    if (depth_ > kMaxDepth) return false;
    std::string ignored;
    for (int k = 0; k < rule.bodyCount; ++k) CalcExpression(st_, SumName(rule, k) + "=0", ignored);

    std::vector<std::string> taken;
    // A group code is one byte, found in a rule text as its byte sets say.
    const auto code = static_cast<unsigned char>(g.empty() ? '\0' : g.front());
    for (int i = 1; i <= last_ && !g.empty(); ++i) {
      const std::string& t = ruleTexts_[static_cast<size_t>(i)];
      if (!t.empty() && t.front() == '*' && ruleBytesFromThird_[static_cast<size_t>(i)].test(code)) {
        if (done_[static_cast<size_t>(i)]) {
          BodyValues(i, rule, taken);
        } else {
          // The deeper rule row evaluates definitions, which may set any variable.
          FlushSums(rule);
          ++depth_;
          const bool ok = SikiRuleEval(i, rule, GroupCode(t), taken);
          --depth_;
          if (!ok) return false;
        }
      } else if (ruleBytes_[static_cast<size_t>(i)].test(code)) {
        BodyValues(i, rule, taken);
      } else {
        continue;
      }
      for (int k = 0; k < rule.bodyCount && k < static_cast<int>(taken.size()); ++k) {
        if (const EquipAmount* amount = EquipRowNumber(i, taken[size_t(k)])) Sum(rule, k).Add(st_, *amount);
      }
    }
    FlushSums(rule);

    if (done_[static_cast<size_t>(r)]) {
      BodyValues(r, rule, values);
      return true;
    }
    EquipWriteAutoValues(st_, r, paint_, false);

    std::string result;
    if (!CalcExpression(st_, Expression(r, rule), result) || result.empty()) {
      result.clear();
    } else {
      for (int z = 1; z <= st_.ZokuCount; ++z) {
        if (st_.ZokuValueCols[static_cast<size_t>(z)] != rule.resultCol) continue;
        const std::string unit = EquipCellStripped(st_, r, st_.ZokuUnitCols[static_cast<size_t>(z)]);
        if (UnitRoundApplies(unit, result)) result = UnitRounded(unit, result);
      }
    }
    EquipWriteCell(st_, r, rule.resultCol, result, paint_);
    EquipRowRecalc(st_, r, rule.resultCol, paint_);
    ReadRuleText(r);
    BodyValues(r, rule, values);
    done_[static_cast<size_t>(r)] = 1;
    return true;
  }

  // The body with "[#X" as the group sum of X, "[[X" as the row's own text
  // of X and "[" with any other character dropped.
  std::string Expression(int r, const SikiRule& rule) {
    const std::string& body = rule.body;
    std::string out;
    for (size_t p = 0; p < body.size(); ++p) {
      if (body[p] != '[') {
        out += body[p];
        continue;
      }
      const char kind = p + 1 < body.size() ? body[p + 1] : '\0';
      const std::string letter = p + 2 < body.size() ? body.substr(p + 2, 1) : std::string();
      if (kind == '#' && !letter.empty()) {
        std::string sum;
        CalcExpression(st_, std::string("T") + static_cast<char>('A' + depth_) + letter, sum);
        out += sum;
        p += 2;
      } else if (kind == '[' && !letter.empty()) {
        out += EquipCellStripped(st_, r, ColLetterToNum(letter));
        p += 2;
      } else {
        p += 1;
      }
    }
    return out;
  }

  ProgramState& st_;
  const bool paint_;
  const int last_;
  std::vector<char> done_;
  std::vector<std::string> ruleTexts_;  // the rule column of each row, stripped
  // The bytes each rule text holds, and those from its third on.
  std::vector<std::bitset<256>> ruleBytes_, ruleBytesFromThird_;
  std::string buffer_;  // a stripped cell's copy, when it is not read in place
  int ruleCol_ = 0;
  int depth_ = 0;
  // The group sums by depth and body column of the rule being applied.
  std::array<std::optional<EquipSum>, (kMaxDepth + 1) * kMaxBody> sums_;
};

// The texts of the rounded values fitted to their columns, each fitted once
// in a run: rounded values repeat.
class FittedValues {
 public:
  FittedValues(const ProgramState& st, int level) : st_(st), level_(level) {}

  // The fitted text of `value`, without spaces, rounded up to `factor`
  // (`UnitRoundedBy`) for column `col` of the level.
  const std::string& Of(int col, std::int64_t factor, std::string_view value) {
    const size_t c = static_cast<size_t>(col);
    if (const std::optional<std::int64_t> whole = UnitRoundedWhole(factor, value)) {
      auto found = wholes_[c].find(*whole);
      if (found == wholes_[c].end())
        found = wholes_[c].emplace(*whole, FitToColumn(st_, level_, col, std::to_string(*whole))).first;
      return found->second;
    }
    other_ = FitToColumn(st_, level_, col, UnitRoundedBy(factor, std::string(value)));
    return other_;
  }

 private:
  const ProgramState& st_;
  const int level_;
  std::array<std::unordered_map<std::int64_t, std::string>, kMaxColumns + 1> wholes_;
  std::string other_;
};

// The unit pair z of row r when the unit rounding rounds it: its unit has a
// factor other than 1 and its value column is numeric and holds a value
// (without spaces, in place or in `buffer`).
bool PairToRound(const ProgramState& st, int r, int z, std::string& buffer, std::int64_t& factor,
                 std::string_view& value) {
  const int valueCol = st.ZokuValueCols[static_cast<size_t>(z)];
  factor = EquipCellUnitFactor(st, r, st.ZokuUnitCols[static_cast<size_t>(z)]);
  if (factor == 1) return false;  // no unit to round to: the value is not read
  value = EquipCellStrippedView(st, r, valueCol, buffer);
  return !value.empty() && IsNumericColumn(st, st.CurrentLevel, valueCol);
}

// Whether the unit rounding recalculates row r, read before the run (a row
// is written only by its own rounding): an item row with a pair to round.
bool RoundingRecalculates(const ProgramState& st, int r, std::string& buffer) {
  if (!IsItemRow(st.SheetRows[static_cast<size_t>(r)])) return false;
  std::int64_t factor = 1;
  std::string_view value;
  for (int z = 1; z <= st.ZokuCount; ++z)
    if (PairToRound(st, r, z, buffer, factor, value)) return true;
  return false;
}

}  // namespace

bool ZokuRoundAllRows(ProgramState& st, bool paint) {
  const int last = LastUsedRow(st);
  const int level = st.CurrentLevel;
  const RowDefinitionReaders readers(st, level);
  const LevelContext ctx = EquipContext(st);
  FittedValues fitted(st, level);
  std::string buffer;
  // Every row recalculation sets all the row's column variables: only those
  // of the last one of the run are left. Before the last row recalculated,
  // the rows are recalculated without them (nothing painted; the customer
  // variant's split columns are the row recalculation's own).
  int lastRecalculated = 0;
  if (!paint && !st.CustomerVariant)
    for (int r = last; r >= 1 && lastRecalculated == 0; --r)
      if (RoundingRecalculates(st, r, buffer)) lastRecalculated = r;
  // After a value column that no definition reads, the row recalculation
  // only sets the row's column variables, and the next one sets them all
  // again: of those, only one left at the end of the run counts. It is made
  // there, its row unchanged since.
  int pendingRow = 0, pendingCol = 0;
  for (int r = 1; r <= last; ++r) {
    SbMsgSetDetail(st, r);
    if (!IsItemRow(st.SheetRows[static_cast<size_t>(r)])) continue;
    for (int z = 1; z <= st.ZokuCount; ++z) {
      std::int64_t factor = 1;
      std::string_view value;
      if (!PairToRound(st, r, z, buffer, factor, value)) continue;
      const int valueCol = st.ZokuValueCols[static_cast<size_t>(z)];
      if (IsColumnOf(st, level, valueCol)) EquipWriteFitted(st, r, valueCol, fitted.Of(valueCol, factor, value), paint);
      if (readers.IsRead(valueCol)) {
        if (r < lastRecalculated) {
          RowDefinitionsAfter(st, ctx, st.SheetRows[static_cast<size_t>(r)], valueCol, readers);
        } else {
          EquipRowRecalc(st, r, valueCol, paint);
        }
        pendingRow = 0;
      } else {
        pendingRow = r;
        pendingCol = valueCol;
      }
    }
  }
  if (pendingRow != 0) EquipRowRecalc(st, pendingRow, pendingCol, paint);
  return true;
}

SikiRule SikiRuleParse(std::string_view rule) {
  SikiRule out;
  if (rule.size() >= 3) out.ruleCol = ColLetterToNum(rule.substr(2, 1));
  const size_t arrow = rule.find("=>");
  if (arrow == std::string_view::npos || arrow < 5) return out;
  out.body = std::string(rule.substr(5, arrow - 5));
  if (arrow + 4 < rule.size()) out.resultCol = ColLetterToNum(rule.substr(arrow + 4, 1));
  for (size_t p = out.body.find("[#"); p != std::string::npos && out.bodyCount < 10; p = out.body.find("[#", p + 2))
    if (p + 2 < out.body.size()) out.bodyCols[size_t(out.bodyCount++)] = ColLetterToNum(out.body.substr(p + 2, 1));
  return out;
}

bool SikiRulesApply(ProgramState& st, bool paint) {
  if (st.SikiCount == 0 || st.UsedRows == 0) return true;
  CalcInit(st);
  RuleRun run(st, paint);
  for (int s = 1; s <= st.SikiCount; ++s) {
    int failedRow = 0;
    if (!run.Apply(SikiRuleParse(st.SikiRules[static_cast<size_t>(s)]), failedRow)) {
      EquipCalcMessage(st, "[ " + NumberWithSign(failedRow) + "行目 ]に誤りがあるため計算不可能です。");
      return false;
    }
  }
  return true;
}

}  // namespace kv
