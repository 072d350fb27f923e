#include "storage/recent_files.h"

#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "storage/level_files.h"

namespace kv {

std::string RecentEntryPath(const std::string& entry) {
  return entry.size() > 2 ? entry.substr(2) : std::string();
}

void AddRecentPath(std::array<std::string, 6>& list, const std::string& path) {
  if (path.empty() || IsUntitledName(path)) return;
  int found = 0;
  for (int k = 1; k <= 5 && !found; ++k)
    if (RecentEntryPath(list[size_t(k)]) == path) found = k;
  if (found == 1) return;
  const int from = found ? found : 5;
  for (int j = from; j >= 2; --j)
    list[size_t(j)] = std::to_string(j) + " " + RecentEntryPath(list[size_t(j - 1)]);
  list[1] = "1 " + path;
}

void AddRecentEstimate(ProgramState& st, const std::string& path) {
  if (path.empty() || IsUntitledName(path)) return;
  AddRecentPath(st.RecentFiles, path);
  if (st.editor) {
    if (EditorMenus* menus = st.editor->Menus()) {
      RecentMenuCaptions(*menus, st.RecentFiles);
      st.editor->MenusChanged(st);
    }
  }
}

void AddRecentReference(ProgramState& st, const std::string& path) { AddRecentPath(st.RecentRefFiles, path); }

}  // namespace kv
