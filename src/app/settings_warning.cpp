#include "app/settings_warning.h"

#include "app/program_state.h"
#include "platform/ui.h"

namespace kv {

void SettingsWarning(ProgramState& st, std::string_view text) {
  st.ui.MsgBox(text, vbOKOnly | vbExclamation, "TheKorvane");
}

}  // namespace kv
