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
  std::string v = Stripped(value);
  if (const size_t dot = v.find('.'); dot != std::string::npos) v.erase(dot);
  return RoundUpToUnit(v, UnitLetterFactor(Stripped(unit)));
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
