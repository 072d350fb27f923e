#include "storage/file_new.h"

#include <string>

#include "platform/ui.h"
#include "state/data_ini.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/estimate_pack.h"
#include "storage/file_command_steps.h"
#include "storage/file_save.h"
#include "storage/lan_lock.h"
#include "storage/last_estimate_setting.h"
#include "storage/level_files.h"
#include "storage/recent_files.h"
#include "storage/work_files.h"

namespace kv {

void FileNew(ProgramState& st) {
  CommandEnd end(st);
  SearchWindowUnload(st);
  if (st.SheetModified) {
    CommandBusySet(st, true);
    if (!AskToRecord(st, "ファイル" + st.CurrentFilePath + "の内容は変更されています。\n" + "保存しますか？",
                     "ﾌｧｲﾙ呼び出し"))
      return;
  }

  const DeclinedPack declined = AskAboutDeclinedPack(st);
  if (declined == DeclinedPack::Stop) return;
  if (!IsUntitledName(st.WorkFileBase)) {
    if (!st.CommandBusy) CommandBusySet(st, true);
    if (st.PackPending && declined == DeclinedPack::Pack) {
      if (!PackLockCheck(st)) {
        FileSaveAsRun(st, true);
        return;
      }
      // A refused compaction has told the user; the pack stays pending.
      if (!CompactEstimate(st, st.WorkFileBase)) return;
      const int result = PackEstimate(st, st.CurrentFilePath);
      st.PackPending = false;
      if (result != kEstimatePacked) {
        // Still to be packed, so that nothing recorded is lost at the end.
        st.PackPending = true;
        PackResultShow(st, result, NameOf(st, st.WorkFileBase));
        if (result != kEstimatePackRefused) FileSaveAsRun(st, true);
        return;
      }
    }
  }

  const int shownLevel = st.CurrentLevel;
  st.CurrentLevel = 1;
  if (shownLevel > 1 && st.sheetEngine) st.sheetEngine->LevelJump(st, 0);

  const std::string untitled = UntitledBase(st);
  if (!LanLockAcquire(st, untitled)) return;
  const std::string oldPath = st.CurrentFilePath;
  const std::string oldBase = st.WorkFileBase;
  LanLockReleaseOf(st, oldPath);
  WorkFilesDelete(st, NameOf(st, oldBase));
  // Changes the user chose not to save went with the work files.
  if (declined == DeclinedPack::Leave) st.PackPending = false;
  st.PackDeclined = false;
  AddRecentEstimate(st, oldPath);
  if (st.CustomerVariant) SaveLastEstimateSetting(st, oldPath, oldBase);
  DataIniLoad(st, st.AppPath + "/DAVIROV.INI");
  st.WorkFileBase = untitled;
  st.CurrentFilePath = untitled;
  LoadEditLayout(st, untitled);
  SettingsDependentsRefresh(st);

  TopSheetLoad(st);
  st.SheetLoading = true;
  if (st.sheetEngine) st.sheetEngine->SheetGridInit(st, 1);
  st.SheetLoading = false;
  if (st.sheetEngine) {
    st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    st.sheetEngine->EditTreeBuild(st);
    st.sheetEngine->UndoSave(st);
  }
  st.SheetModified = false;
}

}  // namespace kv
