#include "storage/ref_in_use_check.h"

#include <string>

#include "platform/fs.h"
#include "state/program_state.h"
#include "state/reference_services.h"
#include "state/warn_msg_box.h"

namespace kv {

void RefInUseChk(ProgramState& st) {
  if (!st.RefSheetLoaded || !st.reference) return;
  const std::string shown = st.reference->RefFilePath(st);
  if (shown.empty() || !fs::NameEqualsNoCase(shown, st.CurrentFilePath)) return;
  WarnMsgBox(st, "参考で使用中のﾌｧｲﾙです\n参考画面を閉じます ");
  st.reference->Unload(st);
}

}  // namespace kv
