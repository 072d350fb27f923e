#include "editor/edit_menu.h"

#include "platform/ui.h"
#include "sheet/selection_helpers.h"
#include "sheet/undo_clear.h"
#include "state/program_state.h"

namespace kv {

void MarkingModesOff(ProgramState& st) {
  // The modes themselves (their marks shown over the sheet) come with the
  // non-print marking commands; leaving one is clearing its flag.
  if (st.NotPrintLineMode) st.NotPrintLineMode = false;
  if (st.NotPrintLvlLineMode) st.NotPrintLvlLineMode = false;
}

void Menu_2Sub_Click(ProgramState& st, GridModel& sheet, int index) {
  MarkingModesOff(st);
  switch (index) {
    case kEditUndoItem:
      UndoRestore(st, sheet);
      break;
    case kEditDeleteItem:
      SelRectStore(st, sheet);
      st.ui.SetBusyPointer(true);
      ClearSelCells(st, sheet);
      st.ui.SetBusyPointer(false);
      KeepSelVisible(sheet);
      break;
    default:
      break;
  }
}

}  // namespace kv
