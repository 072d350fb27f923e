#include "state/column_numbers.h"

#include <algorithm>

#include "state/program_state.h"

namespace kv {

static_assert(kMaxColumns + 1 == 53, "MakeColumnMasks returns one mask per column index 0..52");

bool IsNumericColumn(const ColumnTables& tables, int level, int column) {
  if (level < 0 || level >= static_cast<int>(tables.ColType.size())) return false;
  if (column < 0 || column > kMaxColumns) return false;
  return IsNumericColumnType(tables.ColType[level][column]);
}

NumColumn NumColumnOf(const ProgramState& st, int level, int column) {
  return NumColumnFor(st.ColWidth.at(level).at(column), st.ColType.at(level).at(column), st.Zero);
}

void NumFitColumn(const ProgramState& st, int level, std::string& text, int column) {
  NumFitColumn(text, NumColumnOf(st, level, column));
}
void NumCommaFormat(const ProgramState& st, int level, std::string& text, int column) {
  NumCommaFormat(text, NumColumnOf(st, level, column));
}
void TotalFitColumn(const ProgramState& st, int level, std::string& text, int column) {
  TotalFitColumn(text, NumColumnOf(st, level, column));
}

std::array<std::string, 53> MakeColumnMasks(const ColumnTables& tables, int level) {
  std::array<std::string, 53> masks;
  const int count = std::min(tables.ColCount.at(level), kMaxColumns);
  for (int c = 1; c <= count; ++c) {
    if (!IsNumericColumn(tables, level, c)) continue;  // text columns get no mask
    masks[c] = MakeColumnMask(tables.ColWidth.at(level)[c], tables.ColType.at(level)[c]);
  }
  return masks;
}

Currency DecimalStep(const ProgramState& st, int level, int column) {
  return DecimalStep(NumColumnOf(st, level, column).decimals);
}

}  // namespace kv
