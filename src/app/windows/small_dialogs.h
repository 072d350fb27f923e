#pragma once
// Registers the small shared dialogs and busy windows with the Qt seam:
// "Select_1", "Select_2", "Z_InputBox", "Msg_Frm", "SB_MsgFrm".
namespace kv {

class QtUi;
struct ProgramState;

void RegisterSmallDialogs(QtUi& ui, ProgramState& st);

}  // namespace kv
