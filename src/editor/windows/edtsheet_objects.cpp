// The editor window's Insert menu and its hidden Pack item: the window's
// side of the handlers in editor/object_menu.h.
#include "editor/object_menu.h"
#include "editor/windows/edtsheet_frm.h"

namespace kv {

void EDTSHEET_FRM::ObjectMenuSub_Click(int index) { kv::ObjectMenuSub_Click(*grids_, index); }

void EDTSHEET_FRM::Pack_Click() { kv::Pack_Click(st_); }

void EDTSHEET_FRM::WireObjectMenu() {
  for (int item : kObjectMenuItems)
    WireMenu("ObjectMenuSub", [this](int index) { ObjectMenuSub_Click(index); }, item);
  WireMenu("Pack", [this](int) { Pack_Click(); });
}

}  // namespace kv
