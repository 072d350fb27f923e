#include "calc/row_def_readers.h"

#include <string>

#include "calc/calc_cells.h"
#include "core/column_letter.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {

RowDefinitionReaders::RowDefinitionReaders(const ProgramState& st, int level) {
  const int count = CalcColumns(st, level);
  for (int c = 1; c <= count; ++c) {
    if (!IsNumericColumn(st, level, c)) continue;
    const std::string& def = st.ColFormula[level][c];
    // The references "[[X" the definition holds (overlapping ones too: "[[[A"
    // holds "[[A"); any "[[" is the reference of a column without a letter.
    std::array<bool, kMaxColumns + 1> refers{};
    for (size_t p = 0; p + 1 < def.size(); ++p) {
      if (def[p] != '[' || def[p + 1] != '[') continue;
      refers[0] = true;
      if (p + 2 < def.size()) refers[Slot(ColLetterToNum(std::string_view(def).substr(p + 2, 1)))] = true;
    }
    for (int col = 0; col <= kMaxColumns; ++col) {
      if (!refers[static_cast<size_t>(col)]) continue;
      readers_[static_cast<size_t>(col)].push_back(c);
      if (c != col) read_[static_cast<size_t>(col)] = true;
    }
  }
}

}  // namespace kv
