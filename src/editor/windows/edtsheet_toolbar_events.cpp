// The docked toolbars' button clicks, undocking by dragging, and the split
// view toggle.
#include "editor/windows/edtsheet_frm.h"

namespace kv {

void EDTSHEET_FRM::Toolbar1_ButtonClick(const std::string&, bool) {}

void EDTSHEET_FRM::Toolbar2_ButtonClick(const std::string&, bool) {}

void EDTSHEET_FRM::ToggleSheetDivide() {}

}  // namespace kv
