// The docked toolbars of the editor window: building their buttons, showing
// the extended toolbar, and the busy lock on their buttons.
#include <QPushButton>

#include "editor/toolbars/windows/toolbar_actions.h"
#include "editor/windows/edtsheet_frm.h"
#include "platform/ui.h"
#include "state/menu_rules.h"
#include "state/program_state.h"

namespace kv {

void EDTSHEET_FRM::ToolBar1Init(ProgramState&) {}

void EDTSHEET_FRM::ToolBar2Init(ProgramState&) {}

void EDTSHEET_FRM::ShowToolBar2(ProgramState&, bool) {}

void EDTSHEET_FRM::ToolBarStateSet(ProgramState& st, bool busy) {
  st.CommandBusy = busy;
  st.ui.ProcessEvents();
  BusyLockMenus(menus_, st.SystemKind, busy);
  MenusChanged();
  // Every level button: a level move never starts inside a command.
  for (QPushButton* b : dmButtons_) b->setEnabled(!busy);
}

void EDTSHEET_FRM::HiinsatuStateSet(bool) {}

void EDTSHEET_FRM::Toolbar2_DblClick() {}

void EDTSHEET_FRM::ToolbarsRefresh() {
  if (toolbar1Actions_) toolbar1Actions_->Refresh();
  if (toolbar2Actions_) toolbar2Actions_->Refresh();
  if (floatToolbarsRefresh) floatToolbarsRefresh();
}

}  // namespace kv
