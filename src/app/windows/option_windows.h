#pragma once
// The options, font and about windows: registered with the Qt seam
// ("SetOption", "Font_Frm", "frmSelectFont", "frmVersion") and reached from
// the editor's menus.
namespace kv {

class EDTSHEET_FRM;
class QtUi;
struct ProgramState;

void RegisterOptionWindows(QtUi& ui, ProgramState& st);

// Wires the editor's menu items that open them: View "文字ﾌｫﾝﾄ(&F)"
// (Menu_7Sub 2), View "ｵﾌﾟｼｮﾝ(&O)..." (Menu_7Sub 14) and Help
// "ﾊﾞｰｼﾞｮﾝ情報(&A)..." (HelpVersion).
void WireOptionMenus(EDTSHEET_FRM& editor, ProgramState& st);

}  // namespace kv
