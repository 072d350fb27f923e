#pragma once
// The options, font and about windows: registered with the Qt seam
// ("SetOption", "Font_Frm", "frmSelectFont", "frmVersion") and reached from
// the editor's menus.
namespace kv {

class EDTSHEET_FRM;
class QtUi;
struct ProgramState;

void RegisterOptionWindows(QtUi& ui, ProgramState& st);

// Wires the editor's Help "ﾊﾞｰｼﾞｮﾝ情報(&A)..." (HelpVersion). The View
// menu's font and options items open theirs through the View menu's handler.
void WireOptionMenus(EDTSHEET_FRM& editor, ProgramState& st);

}  // namespace kv
