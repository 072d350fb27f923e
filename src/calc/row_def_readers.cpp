#include "calc/row_def_readers.h"

#include <string>

#include "calc/calc_cells.h"
#include "core/column_letter.h"
#include "state/column_numbers.h"
#include "state/program_state.h"

namespace kv {

RowDefinitionReaders::RowDefinitionReaders(const ProgramState& st, int level) {
  const int count = CalcColumns(st, level);
  // Slot 0 stands for a column without a letter, whose reference is "[[" alone.
  for (int col = 0; col <= kMaxColumns; ++col) {
    const std::string key = col >= 1 ? "[[" + ColNumToLetter(col) : std::string("[[");
    for (int c = 1; c <= count && !read_[static_cast<size_t>(col)]; ++c) {
      if (c == col || !IsNumericColumn(st, level, c)) continue;
      const std::string& def = st.ColFormula[level][c];
      read_[static_cast<size_t>(col)] = !def.empty() && def.find(key) != std::string::npos;
    }
  }
}

}  // namespace kv
