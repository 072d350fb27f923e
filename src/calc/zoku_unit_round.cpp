#include "calc/zoku_unit_round.h"

#include <algorithm>
#include <optional>

#include "calc/calc_cells.h"
#include "calc/equipment/equipment_definitions.h"
#include "calc/rounding.h"
#include "calc/strip_spaces.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {
namespace {

std::string Stripped(std::string_view s) {
  std::string out(s);
  StripSpaces(out);
  return out;
}

}  // namespace

bool UnitRoundApplies(std::string_view unit, std::string_view value) {
  const std::string u = Stripped(unit);
  return !u.empty() && UnitLetterFactor(u) != 1 && !Stripped(value).empty();
}

std::string UnitRounded(std::string_view unit, std::string_view value) {
  return UnitRoundedBy(UnitLetterFactor(Stripped(unit)), Stripped(value));
}

std::string UnitRoundedBy(std::int64_t factor, std::string v) {
  // The value is rounded up as it is, its fraction included (200.5 to a
  // unit of 100 is 300); the rounded value is a whole multiple of the unit.
  if (const std::optional<std::int64_t> whole = UnitRoundedWhole(factor, v)) return std::to_string(*whole);
  const size_t digits = !v.empty() && v.front() == '-' ? 1 : 0;
  if (v.size() > digits && v[digits] == '.') v.insert(digits, "0");  // ".5" is 0.5
  std::string rounded = RoundUpToUnit(v, factor);
  if (const size_t dot = rounded.find('.'); dot != std::string::npos) rounded.erase(dot);
  return rounded;
}

std::optional<std::int64_t> UnitRoundedWhole(std::int64_t factor, std::string_view v) {
  // As the general rounding does it: the magnitude, one more when a
  // fraction digit is not 0, up to the next multiple; negative again after.
  const bool negative = !v.empty() && v.front() == '-';
  if (negative) v.remove_prefix(1);
  const size_t dot = std::min(v.find('.'), v.size());
  if (dot == 0 || dot > 14 || factor < 1) return std::nullopt;
  std::int64_t whole = 0;
  for (size_t i = 0; i < dot; ++i) {
    if (v[i] < '0' || v[i] > '9') return std::nullopt;
    whole = whole * 10 + (v[i] - '0');
  }
  bool fraction = false;
  for (size_t i = dot + 1; i < v.size(); ++i) {
    if (v[i] < '0' || v[i] > '9') return std::nullopt;
    fraction = fraction || v[i] != '0';
  }
  const std::int64_t j = whole + (fraction ? 1 : 0);
  const std::int64_t rounded = (j / factor + (j % factor != 0 ? 1 : 0)) * factor;
  return negative ? -rounded : rounded;
}

std::string ZokuUnitRound(const ProgramState& st, std::string_view rec, std::string value, int col) {
  return ZokuUnitRoundAt(st, rec, std::move(value), col, st.CurrentLevel);
}

std::string ZokuUnitRoundAt(const ProgramState& st, std::string_view rec, std::string value, int col, int level) {
  if (!IsColumnOf(st, level, col) || !IsNumericColumn(st, level, col)) return value;
  for (int z = 1; z <= st.ZokuCount && z <= kMaxEquipEntries; ++z) {
    if (st.ZokuValueCols[static_cast<size_t>(z)] != col) continue;
    const std::string_view unit = CellBytes(st, rec, level, st.ZokuUnitCols[static_cast<size_t>(z)]);
    if (UnitRoundApplies(unit, value)) return UnitRounded(unit, value);
  }
  return value;
}

}  // namespace kv
