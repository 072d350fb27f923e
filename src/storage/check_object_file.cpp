#include "storage/check_object_file.h"

#include <vector>

#include "platform/grid/grid_item_file.h"
#include "state/program_state.h"

namespace kv {

bool CheckObjectFile(const ProgramState& st, const std::string& path, int rows) {
  // The grid's own reader checks every length against the bytes there are,
  // so a truncated or garbled file is refused before any corner is looked at.
  std::vector<GridItem> items;
  std::string header;
  if (!ReadItemFile(path, items, header)) return false;
  const int level = st.CurrentLevel >= 1 && st.CurrentLevel <= kMaxLevels ? st.CurrentLevel : 1;
  const int cols = st.ColCount[static_cast<size_t>(level)];
  for (const GridItem& it : items) {
    if (it.col1 >= cols || it.col2 >= cols) return false;
    if (it.row1 >= rows || it.row2 >= rows) return false;
  }
  return true;
}

}  // namespace kv
