// MakeNewFromTemplate: an estimate without its own settings or layout file
// gets the current ones.
#include "state/data_ini.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/settings_files.h"

namespace kv {

bool MakeNewFromTemplate(ProgramState& st, const std::string& workBase) {
  const std::string settings = workBase + ".INI";
  const auto hasSettings = SettingsFileExists(st, settings);
  if (!hasSettings) return false;
  if (!*hasSettings && !CopySettingsFile(st, st.AppPath + "/DAVIROV.INI", settings)) return false;

  const std::string layout = LayoutFilePath(st, workBase);
  const auto hasLayout = SettingsFileExists(st, layout);
  if (!hasLayout) return false;
  if (!*hasLayout) {
    const std::string untitled = LayoutFilePath(st, st.AppPath + st.WorkFolderName + "/無題");
    if (!CopySettingsFile(st, untitled, layout)) return false;
  }
  return true;
}

}  // namespace kv
