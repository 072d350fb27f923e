#include "storage/mask_info_save_file.h"

#include <algorithm>

#include "state/layout_file.h"
#include "state/program_state.h"
#include "storage/mask_info_write.h"

namespace kv {

bool MaskInfoSaveFile(ProgramState& st, int first, int last, const MaskMarks& marks) {
  if (first < 1 || last > kMaxLevels || first > last) return false;
  const int screen = MaskScreenIndex(st.XMASK[std::clamp(st.CurrentLevel, 1, kMaxLevels)]);
  for (int L = first; L <= last; ++L) {
    st.XMASK[L] = screen;
    const int columns = std::clamp(st.ColCount[L], 0, kMaxColumns);
    for (int c = 1; c <= columns; ++c) st.MaskDef[L][c][screen] = MaskCodeOf(marks(c));
  }
  const bool keys = MaskKeysWrite(st, st.WorkFileBase + ".INI", first, last);
  const bool layout = WriteLayoutFile(st, st.WorkFileBase);
  return keys && layout;
}

}  // namespace kv
