#include "calc/zoku_unit_round.h"

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
  // The value is rounded up as it is, its fraction included (200.5 to a
  // unit of 100 is 300); the rounded value is a whole multiple of the unit.
  std::string v = Stripped(value);
  const size_t digits = !v.empty() && v.front() == '-' ? 1 : 0;
  if (v.size() > digits && v[digits] == '.') v.insert(digits, "0");  // ".5" is 0.5
  std::string rounded = RoundUpToUnit(v, UnitLetterFactor(Stripped(unit)));
  if (const size_t dot = rounded.find('.'); dot != std::string::npos) rounded.erase(dot);
  return rounded;
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
