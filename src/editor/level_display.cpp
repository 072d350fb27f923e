#include "editor/level_display.h"

#include "sheet/selection_helpers.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/sheet_objects.h"

namespace kv {

void DM_Disp_Click(ProgramState& st, EditorMenus& menus, GridModel& sheet, int index) {
  SelRectStore(st, sheet);
  if (st.NotPrintLineMode) {
    WarnMsgBox(st, "非印刷行指定を解除して下さい.");
    return;
  }
  if (st.NotPrintLvlLineMode) {
    WarnMsgBox(st, "非印刷階層行の指定を解除して下さい.");
    return;
  }
  switch (index) {
    case 1: st.KVDisp = "縦"; break;
    case 2: st.KVDisp = "縦計"; break;
    case 3: st.KVDisp = "横"; break;
    default: return;
  }
  st.DMTotalFlag = index == 2;
  CheckOnly(menus, "DM_DISP", index);
  SheetServices* engine = st.sheetEngine;
  if (engine == nullptr) return;
  st.SheetLoading = true;
  engine->SheetGridInit(st, st.CurrentLevel);
  st.SheetLoading = false;
  engine->EdtSheet_Pos(st);
  engine->DMButtonsLayout(st);
  st.ui.SetBusyPointer(true);
  engine->SheetRedisplay(st, 1, st.UsedRows);
  LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, sheet);
  st.ui.SetBusyPointer(false);
  engine->ShowParentLevelPath(st);
}

}  // namespace kv
