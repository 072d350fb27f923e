// Undocking the toolbars into their floating windows.
#include "editor/windows/edtsheet_frm.h"

namespace kv {

void EDTSHEET_FRM::FloatToolBar1(int, int) {}

void EDTSHEET_FRM::FloatToolBar2(int, int) {}

}  // namespace kv
