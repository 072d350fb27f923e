#include "state/warn_msg_box.h"

#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

void WarnMsgBox(ProgramState& st, std::string_view text) { WarnMsgBox(st.ui, text, FloatWindowsHookOf(st)); }

}  // namespace kv
