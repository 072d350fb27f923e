#include "editor/edit_menu.h"

#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "sheet/edit_popup_menu.h"
#include "sheet/selection_helpers.h"
#include "sheet/undo_clear.h"
#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "state/sheet_services.h"

namespace kv {

namespace {

// Starts or ends a marking mode: its flag, the grid's cursor mode, the
// status text of panel 1 and the check mark of its menu item change
// together.
void MarkingModeToggle(ProgramState& st, bool& mode, int menuItem, const char* panelText) {
  mode = !mode;
  if (st.sheetEngine != nullptr) {
    if (GridModel* grid = st.sheetEngine->EdtSheetGrid(st)) grid->SetMouseMode(mode ? kMarkingCursorMode : st.EditCursor);
    if (mode)
      st.sheetEngine->StatusPanelSet(st, 1, panelText);
    else
      st.sheetEngine->StatusPanelClear(st, 1);
  }
  if (st.editor != nullptr) {
    if (EditorMenus* menus = st.editor->Menus())
      if (MenuItem* item = menus->Find("Tokusyusub", menuItem)) item->checked = mode;
    st.editor->MenusChanged(st);
  }
}

}  // namespace

void NotPrintLine(ProgramState& st) {
  MarkingModeToggle(st, st.NotPrintLineMode, kNotPrintLineItem, "非印刷行設定解除,ESCｷｰまたはﾏｳｽ右ﾎﾞﾀﾝ");
}

void NotPrintLvlLine(ProgramState& st) {
  MarkingModeToggle(st, st.NotPrintLvlLineMode, kNotPrintLvlLineItem, "非印刷階層行設定解除,ESCｷｰ,ﾏｳｽ右ﾎﾞﾀﾝ");
}

void MarkingModesOff(ProgramState& st) {
  if (st.NotPrintLineMode) NotPrintLine(st);
  if (st.NotPrintLvlLineMode) NotPrintLvlLine(st);
}

void Menu_2Sub_Click(ProgramState& st, GridModel& sheet, int index) {
  MarkingModesOff(st);
  // The row commands leave the totals line alone, without a word.
  if ((index == kEditRowDeleteItem || index == kEditRowInsertItem) && st.CurrentRow > st.Imax) return;
  if (index == kEditUndoItem) {
    UndoRestore(st, sheet);
  } else if (index >= kEditCutItem && index <= kEditRowPasteItem) {
    // Items 1 .. 10 are the grid's popup edit menu, one place further on.
    mnuSysInfo_Click(st, sheet, index - 1);
  }
}

}  // namespace kv
