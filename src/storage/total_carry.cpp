#include "storage/total_carry.h"

#include <algorithm>

#include "core/column_letter.h"
#include "sheet/sheet_fields.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "storage/row_record.h"

namespace kv {

void CarryTotals(ProgramState& st, int level, std::string_view totals, std::string& parent) {
  if (level < 2 || level > kMaxLevels) return;
  const int up = level - 1;
  parent = FitRecord(parent, st.DataLen);
  const LevelContext parentLevel{up, up >= 2 ? std::string_view(st.ParentRows[static_cast<size_t>(up - 1)]) : std::string_view(),
                                 st.PathTotalRecords[static_cast<size_t>(up)]};
  const int columns = std::clamp(st.ColCount[level], 0, kMaxColumns);
  for (int c = 1; c <= columns; ++c) {
    const std::string& def = st.ColCarryDef[level][c];
    const size_t arrow = def.find("->");
    if (arrow == std::string::npos || arrow + 4 >= def.size()) continue;
    const int target = ColLetterToNum(std::string_view(def).substr(arrow + 4, 1));
    if (target < 1 || target > std::min(st.ColCount[up], kMaxColumns)) continue;
    const int start = st.ColStart[up][target];
    const int width = st.ColWidth[up][target];
    if (start < kColumnDataPos || width < 1 || start - 1 + width > static_cast<int>(parent.size())) continue;

    std::string value(FieldBytes(st, totals, c, level));
    if (st.SystemKind == 1 && st.calc) value = st.calc->ZokuUnitRoundAt(st, parent, value, target, up);
    NumFitColumn(st, up, value, target);
    FieldStore(st, parent, target, up, value);
    if (st.calc) {
      st.calc->RowFormulaCalc(st, parentLevel, parent, target);
      parent = FitRecord(parent, st.DataLen);
    }
  }
}

}  // namespace kv
