#include "state/file_exist_check.h"

#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

bool FileExistChk(ProgramState& st, std::string_view path) {
  return FileExistChk(st, path, FileMatchExists);
}

bool FileExistChk(ProgramState& st, std::string_view path, const FileLookup& lookup) {
  return FileExistChk(st.ui, path, lookup, FloatWindowsHookOf(st));
}

bool MakeFolderPath(ProgramState& st, std::string_view path) { return MakeFolderPath(st.ui, path); }

}  // namespace kv
