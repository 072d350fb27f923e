#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/fs.h"
#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/db_find_value.h"
#include "storage/disk_space.h"
#include "storage/estimate_pack.h"
#include "storage/file_command_steps.h"
#include "storage/file_save.h"
#include "storage/lan_lock.h"
#include "storage/last_estimate_setting.h"
#include "storage/level_files.h"
#include "storage/recent_files.h"
#include "storage/save_as_name_input.h"
#include "storage/split_path.h"
#include "storage/work_files.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

// The identity of the open estimate, kept to be put back.
struct EstimateIdentity {
  std::string path, base, folder;

  static EstimateIdentity Of(const ProgramState& st) {
    return {st.CurrentFilePath, st.WorkFileBase, st.KVData};
  }
  void Restore(ProgramState& st) const {
    st.CurrentFilePath = path;
    st.WorkFileBase = base;
    st.KVData = folder;
  }
};

void TakeIdentity(ProgramState& st, const std::string& path) {
  const SplitPathResult p = SplitPath(st, path);
  st.CurrentFilePath = path;
  st.KVData = p.folder;
  st.WorkFileBase = WorkBaseOf(st, p.name);
}

// Copies the component files and sheet object files of the old work name
// under the new one. False when a file could not be copied.
bool CopyWorkSet(ProgramState& st, const std::string& oldBase, const std::string& newBase) {
  std::error_code ec;
  for (int i = 1; i <= st.CompFileCount && i <= kMaxCompFiles; ++i) {
    const stdfs::path from = fs::ResolveNoCase(oldBase + st.CompFileExt[i]);
    if (!stdfs::is_regular_file(from, ec)) continue;
    if (!stdfs::copy_file(from, newBase + st.CompFileExt[i], stdfs::copy_options::overwrite_existing, ec))
      return false;
  }
  const std::string oldName = NameOf(st, oldBase);
  const std::string newName = NameOf(st, newBase);
  const stdfs::path work(st.AppPath + st.WorkFolderName);
  std::vector<stdfs::path> objects;
  for (auto it = stdfs::directory_iterator(work, ec); !ec && it != stdfs::directory_iterator();
       it.increment(ec)) {
    const std::string file = it->path().filename().string();
    if (it->is_regular_file() && IsObjectFileOf(file, oldName)) objects.push_back(it->path());
  }
  if (ec) return false;
  for (const stdfs::path& from : objects) {
    const std::string rest = from.filename().string().substr(oldName.size());  // from the "$" on
    if (!stdfs::copy_file(from, work / (newName + rest), stdfs::copy_options::overwrite_existing, ec))
      return false;
  }
  return true;
}

// An untitled estimate: named, locked and saved under the name.
bool SaveUntitledAs(ProgramState& st) {
  const std::optional<std::string> chosen = SaveAsNameInput(st);
  if (!chosen) return false;
  if (!LanLockAcquire(st, *chosen)) return false;
  const EstimateIdentity old = EstimateIdentity::Of(st);
  const bool wasModified = st.SheetModified;
  TakeIdentity(st, *chosen);
  st.SheetModified = true;
  const SaveResult result = FileSaveRun(st);
  if (result == SaveResult::NotRecorded) {
    // Nothing lives under the new name: the untitled estimate stays.
    old.Restore(st);
    st.SheetModified = wasModified;
    LanLockReleaseOf(st, *chosen);
    return false;
  }
  if (result == SaveResult::Saved) AddRecentEstimate(st, st.CurrentFilePath);
  ShowCurrentLevelAgain(st);
  return result == SaveResult::Saved;
}

// Packs the open estimate first when the user wants. False when the command
// ends here (cancelled, or the pack did not succeed). An estimate another
// user holds is not packed: the user is told, and Save As goes on to its new
// name.
bool OfferPackOfOld(ProgramState& st) {
  const int answer = AskUser(st, PendingChangesQuestion(st), vbYesNoCancel + vbExclamation);
  // Declined or cancelled: the changes stay pending, but are packed into this
  // file only after asking again.
  st.PackDeclined = answer != vbYes;
  if (answer == vbNo) return true;
  if (answer != vbYes) return false;
  if (!PackLockCheck(st)) return true;
  // A refused compaction has told the user; the pack stays pending.
  if (!CompactEstimate(st, st.WorkFileBase)) return false;
  const int result = PackEstimate(st, st.CurrentFilePath);
  st.PackPending = false;
  if (result == kEstimatePacked) return true;
  PackResultShow(st, result, NameOf(st, st.WorkFileBase));
  FloatWindowsRaise(st);
  st.PackPending = true;
  return false;
}

// The name the companion program of the customer variant already uses.
bool CompanionUsesName(ProgramState& st, const std::string& path) {
  if (!st.CustomerVariant) return false;
  if (!DbFindValue(st.CompanionExePath + "/VETRIX.MDB", "VetrixTb", "FLD012", path)) return false;
  AskUser(st, "そのﾌｧｲﾙ名はほかの積算で使用されています、別のﾌｧｲﾙ名で保存してください。", vbOKOnly,
          "DI32DODA");
  return true;
}

bool SaveNamedAs(ProgramState& st, bool afterFailedPack) {
  const EstimateIdentity old = EstimateIdentity::Of(st);
  if (st.SheetModified) {
    if (!RecordSheet(st)) return false;
    st.SheetModified = false;
    st.PackPending = true;
  }
  if (st.PackPending && !afterFailedPack && !OfferPackOfOld(st)) return false;
  if (st.CustomerVariant) SaveLastEstimateSetting(st, st.CurrentFilePath, st.WorkFileBase);

  std::optional<std::string> chosen = SaveAsNameInput(st);
  if (chosen && CompanionUsesName(st, *chosen)) chosen.reset();
  if (!chosen) return false;
  if (!LanLockAcquire(st, *chosen)) return false;

  const bool sameLock = SameLock(st, *chosen, old.path);
  const auto rollBack = [&] {
    old.Restore(st);
    if (!sameLock) LanLockReleaseOf(st, *chosen);
  };
  TakeIdentity(st, *chosen);
  const std::string oldName = NameOf(st, old.base);
  const std::string newName = NameOf(st, st.WorkFileBase);
  const bool sameSet = SameWorkName(oldName, newName);

  if (!DiskFreeGet(st, old.base, st.WorkFileBase, FileSystemProbe(st))) {
    WarnMsgBox(st, "ｺﾋﾟｰ先のDisk容量が不足です");
    rollBack();
    return false;
  }
  if (!sameSet && !CopyWorkSet(st, old.base, st.WorkFileBase)) {
    AskUser(st, PackFailedText(newName), vbOKOnly + vbExclamation);
    WorkFilesDelete(st, newName);
    rollBack();
    return false;
  }

  // Compaction renumbers the records the sheet in memory refers to; the old
  // work set keeps its numbers, so a failure puts the sheet back as it was.
  const SheetState sheet = st;
  const bool compacted = CompactEstimate(st, st.WorkFileBase);  // refused: the user was told
  const int result = compacted ? PackEstimate(st, st.CurrentFilePath) : kEstimatePackFailed;
  if (result != kEstimatePacked) {
    if (compacted) {
      PackResultShow(st, result, newName);
      FloatWindowsRaise(st);
    }
    if (!sameSet) {
      WorkFilesDelete(st, newName);
      static_cast<SheetState&>(st) = sheet;
    }
    rollBack();
    return false;
  }

  if (!sameSet) WorkFilesDelete(st, oldName);
  if (!sameLock) LanLockReleaseOf(st, old.path);
  st.SheetModified = false;
  st.PackPending = false;
  AddRecentEstimate(st, st.CurrentFilePath);
  ShowCurrentLevelAgain(st);
  return true;
}

}  // namespace

bool FileSaveAsRun(ProgramState& st, bool afterFailedPack) {
  CommandEnd end(st);
  CommandBusySet(st, true);
  st.UsedRows = LastUsedRow(st);
  if (st.UsedRows == 0 && st.CurrentLevel == 1) {
    AskUser(st, NoDataToSaveText(), vbOKOnly + vbExclamation);
    return false;
  }
  SearchWindowUnload(st);
  if (IsUntitledName(st.WorkFileBase)) return SaveUntitledAs(st);
  return SaveNamedAs(st, afterFailedPack);
}

void FileSaveAs(ProgramState& st) { FileSaveAsRun(st, false); }

}  // namespace kv
