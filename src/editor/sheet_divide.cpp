#include "editor/sheet_divide.h"

#include "editor/grid_events.h"
#include "platform/grid/grid_api.h"
#include "state/program_state.h"

namespace kv {

void ToggleSheetDivide(ProgramState& st, GridModel& sheet) {
  const size_t lv = size_t(st.CurrentLevel);
  if (st.GamenX[lv] == 0 && st.GamenY[lv] == 0) {
    SetDivide32(sheet, st.GamenCX[lv], st.GamenCY[lv]);
    return;
  }
  st.GamenCX[lv] = st.GamenX[lv];
  st.GamenCY[lv] = st.GamenY[lv];
  SetDivide32(sheet, 0, 0);
  int shown = 0;
  for (int c = 1; c <= st.ColCount[lv] && shown == 0; ++c)
    if (!IsMaskedColumn(st, c)) shown = c;
  int col = 0, row = 0;
  GetTopCell32(sheet, 0, col, row);
  SetTopCell32(sheet, 0, 1, row);
  if (shown > 0) sheet.SetCurrentCol(shown);
}

}  // namespace kv
