#include "storage/windows/file_commands_wiring.h"

#include "state/program_state.h"
#include "storage/file_commands.h"
#include "storage/windows/lan_msg_frm.h"

namespace kv {

void WireFileCommands(QtUi& ui, ProgramState& st, FileCommands& files) {
  st.fileCommands = &files;
  RegisterLanMsgFrm(ui, st);
}

}  // namespace kv
