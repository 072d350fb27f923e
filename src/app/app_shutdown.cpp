#include "app/app_shutdown.h"

#include <filesystem>
#include <system_error>

#include "app/help_file.h"
#include "core/window_services.h"
#include "platform/fs.h"
#include "state/editor_services.h"
#include "state/file_exist_check.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "storage/compact_work_files.h"
#include "storage/estimate_pack.h"
#include "storage/file_command_steps.h"
#include "storage/file_save.h"
#include "storage/lan_lock.h"
#include "storage/split_path.h"

namespace kv {

namespace {

// An estimate another user holds (or took from this program) is not written
// over: the user is told and may save it under another name. False when the
// program must stay open.
bool InUseAtEnd(ProgramState& st) {
  const std::string name = SplitPath(st, st.WorkFileBase).name;
  FloatWindowsTopMostSet(st, false);
  const int answer = st.ui.MsgBox(InUseNotSavedText(name) + "\r名前を変えて保存しますか？",
                                  vbYesNo + vbExclamation, kMsgTitle);
  FloatWindowsTopMostSet(st, true);
  if (answer != vbYes) return true;  // the estimate file keeps the other user's work
  return FileSaveAsRun(st, true);
}

// Packs a named estimate with pending work files. False when the program
// must stay open.
bool PendingPack(ProgramState& st) {
  if (st.WorkFileBase.find("無題") != std::string::npos || !st.PackPending) return true;
  // Changes the user once declined to save are packed only on a Yes; No ends
  // the program with the estimate file as it was.
  switch (AskAboutDeclinedPack(st)) {
    case DeclinedPack::Stop: return false;
    case DeclinedPack::Leave: st.PackPending = false; return true;
    case DeclinedPack::Pack: break;
  }
  if (!LanLockTestForPack(st)) {
    if (InUseAtEnd(st)) return true;
    st.PackPending = true;
    return false;
  }
  // A refused compaction has told the user: as after a failed pack, nothing
  // is written and the program stays open with its work files.
  if (!CompactWorkFiles(st, st.WorkFileBase)) {
    st.PackPending = true;
    return false;
  }
  if (st.editor != nullptr) st.editor->PageNumbersWrite(st);
  const int outcome = PackEstimateFile(st, st.CurrentFilePath, false);
  st.PackPending = false;
  if (outcome == kEstimatePacked) st.PackDeclined = false;
  if (outcome == kEstimatePacked) return true;

  const std::string name = SplitPath(st, st.WorkFileBase).name;
  FloatWindowsTopMostSet(st, false);
  if (outcome == kEstimatePackRefused) {
    const int answer =
        st.ui.MsgBox("ディスクの残り容量が少ないかＣＤ－ＲＯＭの為、見積データ [ " + name +
                         " ] を保存することが出来ません。\r名前を変えて別のドライブに保存して下さい",
                     vbYesNo + vbExclamation, kMsgTitle);
    if (answer != vbYes) return true;  // the estimate file keeps its last packed contents
  } else if (outcome == kEstimatePackFailed) {
    st.ui.MsgBox(
        "見積データ [ " + name + " ] を保存することが出来ませんでした。\r名前を変えて保存を行って下さい。",
        vbOKOnly + vbExclamation, kMsgTitle);
  } else {
    return true;
  }
  FloatWindowsTopMostSet(st, true);
  st.PackPending = true;
  return false;
}

}  // namespace

void WorkFolderRemove(const std::string& folder) {
  std::error_code ec;
  for (const auto& file : fs::MatchingFiles(folder, "*.*", ec)) {
    std::error_code removeEc;
    std::filesystem::remove(file, removeEc);
  }
  // Only an empty folder goes: a hidden file, a subfolder or a file that
  // resisted keeps it.
  std::error_code rmEc;
  if (std::filesystem::is_directory(folder, rmEc) && std::filesystem::is_empty(folder, rmEc) && !rmEc)
    std::filesystem::remove(folder, rmEc);
}

void AppShutdown(ProgramState& st, bool& ok, const ShutdownSteps& steps) {
  ok = true;
  if (!PendingPack(st)) {
    ok = false;
    return;
  }

  // From here every step runs, whatever became of the one before.
  if (steps.LanLockRelease) steps.LanLockRelease(st);
  // The help window goes with the program.
  HelpClose(st);
  MainWindowPlacement placement;
  placement.minimized = true;
  if (steps.WindowPlacement) placement = steps.WindowPlacement(st);
  SysIniSave(st, placement);
  if (steps.GridRelease) steps.GridRelease(st);

  // Our own lock still beside the estimate goes too; any other (another
  // program's that forced its way in) is left to its holder.
  LanLockReleaseOf(st, st.CurrentFilePath, false);

  WorkFolderRemove(st.AppPath + st.WorkFolderName);
  WorkFolderRemove(st.AppPath + "/WORK2");
  st.ui.EndProgram(0);
}

}  // namespace kv
