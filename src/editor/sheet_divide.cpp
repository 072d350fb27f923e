#include "editor/sheet_divide.h"

#include "editor/grid_events.h"
#include "platform/grid/grid_api.h"
#include "state/program_state.h"

namespace kv {

namespace {

// The first column the level's mask screen shows, 0 when it hides them all.
int FirstShownColumn(const ProgramState& st, size_t lv) {
  for (int c = 1; c <= st.ColCount[lv]; ++c)
    if (!IsMaskedColumn(st, c)) return c;
  return 0;
}

}  // namespace

void ToggleSheetDivide(ProgramState& st, GridModel& sheet) {
  const size_t lv = size_t(st.CurrentLevel);
  if (st.GamenX[lv] == 0 && st.GamenY[lv] == 0) {
    int x = st.GamenCX[lv];
    // Nothing remembered yet (a new program folder stores zeros, and the
    // grid offers no split box of its own): split after the first shown
    // column, which then stays in view while the other pane scrolls.
    if (x == 0 && st.GamenCY[lv] == 0) {
      const int shown = FirstShownColumn(st, lv);
      if (shown > 0) x = sheet.ColWidth(0) + sheet.ColWidth(shown);
    }
    SetDivide32(sheet, x, st.GamenCY[lv]);
    return;
  }
  st.GamenCX[lv] = st.GamenX[lv];
  st.GamenCY[lv] = st.GamenY[lv];
  SetDivide32(sheet, 0, 0);
  const int shown = FirstShownColumn(st, lv);
  int col = 0, row = 0;
  GetTopCell32(sheet, 0, col, row);
  SetTopCell32(sheet, 0, 1, row);
  if (shown > 0) sheet.SetCurrentCol(shown);
}

}  // namespace kv
