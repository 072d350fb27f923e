#include "storage/flush_levels.h"

#include <optional>
#include <string>

#include "platform/ui.h"
#include "sheet/last_used_row.h"
#include "state/calc_services.h"
#include "state/file_command_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/disk_space.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/level_write.h"

namespace kv {
namespace {

// The untitled estimate with an empty top sheet starts afresh.
bool RestartUntitled(ProgramState& st) {
  st.WorkFileBase = st.AppPath + st.WorkFolderName + "/無題";
  st.CurrentFilePath = st.WorkFileBase;
  st.SheetTotalRecord = std::string(static_cast<size_t>(st.DataLen > 0 ? st.DataLen : 0), ' ');
  bool ok = LevelRead(st, st.CurrentLevel);
  if (st.sheetEngine) {
    st.SheetLoading = true;
    st.sheetEngine->SheetGridInit(st, st.CurrentLevel);
    st.SheetLoading = false;
  }
  st.SheetModified = false;
  return ok;
}

// Reads the path from level 1 down to the current level.
bool ReadPathBack(ProgramState& st) {
  bool ok = true;
  for (int k = 1; k <= st.CurrentLevel && ok; ++k) ok = LevelRead(st, k);
  if (st.sheetEngine) st.sheetEngine->ShowParentLevelPath(st);
  return ok;
}

}  // namespace

bool FlushLevels(ProgramState& st, FileCommandServices* services) {
  if (!services) services = st.fileCommands;
  st.UsedRows = LastUsedRow(st);
  if (st.CurrentLevel == 1 && st.UsedRows == 0) {
    if (IsUntitledName(st.WorkFileBase)) return RestartUntitled(st);
    return services && services->EmptyFileDiscard(st);
  }

  if (!FreeSpaceCheck(st)) return false;
  // Every sheet of the path is read back after the writes: a damaged one
  // stops the recording before anything is written (the user has been told).
  for (int k = 1; k <= st.CurrentLevel; ++k)
    if (!LevelChainCheck(st, k)) return false;
  st.ui.SetBusyPointer(true);
  bool written = true;
  bool currentSheetWritten = false;
  // The current sheet as it stood once written: the sheet in memory goes back
  // to it when a sheet above cannot be read, so no other level's rows stay in
  // memory as the current level's.
  std::optional<SheetState> current;
  bool pathUnread = false;
  for (int k = st.CurrentLevel; k >= 1; --k) {
    bool recorded = false;
    // The equipment edition brings the sheet's equipment totals up to date
    // before it is written (nothing is painted: the sheet may be a parent's).
    if (st.calc) st.calc->RecalcEquipmentTotals(st, false);
    const bool ok = LevelWrite(st, k, services, &recorded);
    if (k == st.CurrentLevel) {
      currentSheetWritten = recorded;
      if (ok && services) services->SaveSheetObjects(st, st.WorkFileBase);
      current = static_cast<const SheetState&>(st);
    }
    if (!ok) {
      written = false;
      break;
    }
    if (k > 1 && !LevelRead(st, k - 1)) {
      written = false;
      pathUnread = true;
      break;
    }
  }
  // The sheet in memory may be a parent's: read the path back, also when
  // only the pack after naming the estimate failed (the sheet is on disk).
  // When the current sheet itself was not written it is still in memory,
  // unsaved. A path that cannot be read (the user has been told) is not read
  // again: the current sheet comes back as written.
  bool readBack = true;
  if (currentSheetWritten && !pathUnread) readBack = ReadPathBack(st);
  if ((pathUnread || !readBack) && current) static_cast<SheetState&>(st) = *current;
  st.ui.SetBusyPointer(false);
  return written && readBack;
}

}  // namespace kv
