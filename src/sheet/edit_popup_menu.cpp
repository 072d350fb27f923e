#include "sheet/edit_popup_menu.h"

#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/clipboard.h"
#include "sheet/row_commands.h"
#include "sheet/selection_helpers.h"
#include "sheet/undo_clear.h"
#include "state/program_state.h"

namespace kv {

void mnuSysInfo_Click(ProgramState& st, GridModel& grid, int index) {
  switch (index) {
    case 0:
    case 1:
    case 2:
      SelRectStore(st, grid);
      st.ui.SetBusyPointer(true);
      if (index == 2) {
        ClipboardPaste(st, grid);
      } else {
        ClipboardPut(st);
        if (index == 0) ClearSelCells(st, grid);
      }
      st.ui.SetBusyPointer(false);
      ClearSelect32(grid);
      break;
    case 3:
      SelRectStore(st, grid);
      st.ui.SetBusyPointer(true);
      ClearSelCells(st, grid);
      KeepSelVisible(grid);
      st.ui.SetBusyPointer(false);
      break;
    case 5:
      SelRectStore(st, grid);
      RowCopy(st);
      RowDelete(st, grid);
      KeepSelVisible(grid);
      break;
    case 6:
      SelRectStore(st, grid);
      RowInsert(st, grid);
      KeepSelVisible(grid);
      break;
    case 8:
      SelRectStore(st, grid);
      RowCopy(st);
      break;
    case 9:
      RowPaste(st, grid);
      break;
    default:
      break;
  }
}

}  // namespace kv
