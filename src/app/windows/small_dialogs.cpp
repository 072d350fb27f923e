#include "app/windows/small_dialogs.h"

#include "app/windows/msg_frm.h"
#include "app/windows/sb_msg_frm.h"
#include "app/windows/select_1.h"
#include "app/windows/select_2.h"
#include "app/windows/z_input_box.h"
#include "platform/qt/qt_ui.h"

namespace kv {

void RegisterSmallDialogs(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow("Select_1", [&st] { return new Select_1(st); });
  ui.RegisterWindow("Select_2", [&st] { return new Select_2(st); });
  ui.RegisterWindow("Z_InputBox", [&st] { return new Z_InputBox(st); });
  ui.RegisterWindow("Msg_Frm", [&st] { return new Msg_Frm(st); });
  ui.RegisterWindow("SB_MsgFrm", [&st] { return new SB_MsgFrm(st); });
}

}  // namespace kv
