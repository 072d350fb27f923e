#include "editor/recent_file_open.h"

#include <string>

#include "core/window_services.h"
#include "platform/ui.h"
#include "state/calc_services.h"
#include "state/data_ini.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/menu_model.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/estimate_pack.h"
#include "storage/estimate_unpack.h"
#include "storage/file_command_steps.h"
#include "storage/file_save.h"
#include "storage/lan_lock.h"
#include "storage/last_estimate_setting.h"
#include "storage/level_files.h"
#include "storage/recent_files.h"
#include "storage/ref_in_use_check.h"
#include "storage/special_print_convert.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {
namespace {

bool BlankText(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

void RecentCaptionsRefresh(ProgramState& st) {
  if (!st.editor) return;
  if (EditorMenus* menus = st.editor->Menus()) {
    RecentMenuCaptions(*menus, st.RecentFiles);
    st.editor->MenusChanged(st);
  }
}

// Entry n taken out of the list; the later entries move up.
void RemoveEntry(ProgramState& st, int n) {
  st.RecentFiles[size_t(n)] = std::to_string(n);
  for (int i = n + 1; i <= 5; ++i)
    st.RecentFiles[size_t(i - 1)] = std::to_string(i - 1) + " " + RecentEntryPath(st.RecentFiles[size_t(i)]);
  st.RecentFiles[5] = "5";
}

}  // namespace

bool RecentFileOpen(ProgramState& st, int n, const std::function<void(ProgramState&)>& levelRecalcAndShow) {
  if (n < 1 || n > 5) return false;
  CommandEnd end(st);
  CommandBusySet(st, true);
  const std::string entry = st.RecentFiles[size_t(n)];
  if (entry.size() < 2 || BlankText(entry.substr(1))) return false;
  const std::string path = RecentEntryPath(entry);
  if (path == st.CurrentFilePath) return false;
  SearchWindowUnload(st);

  if (!FileExistChk(st, path)) {
    AskUser(st, "見積データを開くことが出来ません (" + SplitPath(st, path).name + ")",
            vbOKOnly + vbExclamation);
    RemoveEntry(st, n);
    RecentCaptionsRefresh(st);
    return false;
  }

  if (st.SheetModified &&
      !AskToRecord(st, "ファイル" + st.CurrentFilePath + "の内容は変更されています。\n" + "保存しますか？",
                   "ﾌｧｲﾙ呼び出し"))
    return false;

  // The new file's lock first; the estimate open now keeps its own until the
  // new one is sure to open.
  const std::string oldPath = st.CurrentFilePath;
  const std::string oldBase = st.WorkFileBase;
  if (!LanLockAcquire(st, path)) return false;
  const auto giveBackNewLock = [&] {
    if (!SameLock(st, path, oldPath)) LanLockReleaseOf(st, path);
  };
  const bool oldNamed = !IsUntitledName(oldBase);
  if (oldNamed && st.PackPending) {
    if (!PackLockCheck(st)) {
      giveBackNewLock();
      FileSaveAsRun(st, true);
      return false;
    }
    CompactEstimate(st, oldBase);
    const int result = PackEstimate(st, oldPath);
    st.PackPending = false;
    if (result != kEstimatePacked) {
      PackResultShow(st, result, NameOf(st, oldBase));
      st.PackPending = true;
      giveBackNewLock();
      return false;
    }
  }
  const std::string name = SplitPath(st, path).name;
  if (!IsUntitledName(path)) {
    const UnpackResult unpacked = UnpackEstimateFile(st, path);
    if (!unpacked.ok()) {
      UnpackFailureShow(st, unpacked);
      giveBackNewLock();
      return false;
    }
  }

  // From here on the old estimate is closed.
  if (!SameLock(st, path, oldPath)) LanLockReleaseOf(st, oldPath);
  if (oldNamed && !SameWorkName(NameOf(st, oldBase), name)) WorkFilesDelete(st, NameOf(st, oldBase));
  if (st.CustomerVariant) SaveLastEstimateSetting(st, oldPath, oldBase);
  DataIniLoad(st, st.AppPath + "/DAVIROV.INI");
  LoadEditLayout(st, UntitledBase(st));

  st.CurrentFilePath = path;
  RefInUseChk(st);
  st.WorkFileBase = WorkBaseOf(st, name);
  OpenedEstimateSettings(st, name);
  SettingsDependentsRefresh(st);
  MakeNewFromTemplate(st, st.WorkFileBase);
  if (st.SpecialPrintSpec) SpecialPrintConvert(st, st.WorkFileBase);

  ShowLevelOne(st);
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  if (levelRecalcAndShow) levelRecalcAndShow(st);
  AddRecentEstimate(st, st.CurrentFilePath);
  if (st.SystemKind == 1 && st.calc)
    st.IsSetubiSiwakeFile = st.calc->IsEquipmentSiwakeFile(st, st.WorkFileBase);
  TouchEditForm(st.ui);
  return true;
}

}  // namespace kv
