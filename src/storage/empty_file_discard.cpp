#include "storage/empty_file_discard.h"

#include <filesystem>
#include <system_error>

#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_command_steps.h"
#include "storage/lan_lock.h"
#include "storage/level_read.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {

bool EmptyFileDiscard(ProgramState& st) {
  if (AskUser(st, st.WorkFileBase + "\nこのファイルは空ですので削除されます。保存出来ません。\n",
              vbOKCancel + vbExclamation) != vbOK)
    return false;
  st.UsedRows = LastUsedRow(st);

  const SplitPathResult file = SplitPath(st, st.CurrentFilePath);
  const std::string folder = file.folder.empty() ? std::string() : file.folder + "/";
  std::error_code ec;
  std::filesystem::remove(st.CurrentFilePath, ec);
  std::filesystem::remove(folder + file.name + ".OPD", ec);
  LanLockReleaseOf(st, st.CurrentFilePath);
  WorkFilesDelete(st, NameOf(st, st.WorkFileBase));

  st.WorkFileBase = UntitledBase(st);
  st.CurrentFilePath = st.WorkFileBase;
  st.SheetTotalRecord = std::string(static_cast<size_t>(st.DataLen > 0 ? st.DataLen : 0), ' ');
  LevelRead(st, st.CurrentLevel);
  st.SheetLoading = true;
  if (st.sheetEngine) st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
  st.SheetLoading = false;
  st.SheetModified = false;
  if (st.sheetEngine) {
    st.sheetEngine->EditTreeBuild(st);
    st.sheetEngine->UndoSave(st);
  }
  return true;
}

}  // namespace kv
