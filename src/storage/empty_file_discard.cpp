#include "storage/empty_file_discard.h"

#include <filesystem>
#include <system_error>

#include "core/record_file.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_command_steps.h"
#include "storage/lan_lock.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {
namespace {

// The estimate is empty only when level 1 was read whole and has no rows: the
// settings can read its work file, and that file is there and sound. A top
// sheet that shows no rows because its file is missing or damaged, or because
// the settings cannot read it, keeps every file (the user is told why).
bool TopSheetReadWhole(ProgramState& st) {
  const std::filesystem::path path = LevelFilePath(st, st.WorkFileBase, 1);
  if (st.LevelCount < 1 || st.LevelCount > kMaxLevels || st.ColCount[1] < 1 || !IsValidRecordLength(st.DataLen)) {
    LevelFileErrorShow(st, path, "階層または列の設定を使用できません。");
    return false;
  }
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    LevelFileErrorShow(st, path, "ファイルがありません。");
    return false;
  }
  // Read as the editor reads it: a sheet of more rows than the settings
  // give a sheet is not read whole either.
  return LevelChainCheck(st, 1);
}

}  // namespace

bool EmptyFileDiscard(ProgramState& st) {
  if (!TopSheetReadWhole(st)) return false;
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
  TopSheetLoad(st);
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
