#include "app/help_file.h"

#include <filesystem>
#include <system_error>

#include "platform/fs.h"
#include "platform/ui.h"
#include "state/program_state.h"

namespace kv {

void HelpOpen(ProgramState& st) {
  const std::filesystem::path help = fs::ResolveNoCase(st.AppPath + "/help_v.chm");
  std::error_code ec;
  if (std::filesystem::is_regular_file(help, ec)) st.ui.OpenDocument(help.string());
}

}  // namespace kv
