#include "sheet/last_used_row.h"

#include <algorithm>
#include <string_view>

#include "core/stored_number.h"
#include "state/program_state.h"

namespace kv {
namespace {

bool AllBlank(std::string_view s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return c == ' '; });
}

bool RowUsed(std::string_view rec, int dataLen, bool hex) {
  if (rec.size() >= 3 && rec[2] != ' ') return true;
  if (rec.size() > 19) {
    size_t count = dataLen > 20 ? static_cast<size_t>(dataLen - 20) : 0;
    if (!AllBlank(rec.substr(19, count))) return true;
  }
  return rec.size() >= 15 && BaseStrToNum(rec.substr(11, 4), hex) > 0;
}

}  // namespace

int LastUsedRow(const ProgramState& st) {
  const bool hex = IsHexBase(st.H_Link);
  int imax = st.Imax < 1 ? 200 : std::min(st.Imax, kMaxSheetRows);
  int last = 0;
  for (int r = imax; r >= 1; --r) {
    if (RowUsed(st.SheetRows[r], st.DataLen, hex)) {
      last = r;
      break;
    }
  }
  if (!st.LevelWriting && st.EditGridObjectsLastRow)
    last = std::max(last, std::min(st.EditGridObjectsLastRow(), imax));
  return last;
}

}  // namespace kv
