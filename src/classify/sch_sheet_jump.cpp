// The jump from a hit of the result grid to its sheet, in the editor or in
// the reference window. A hit names its sheet only by record numbers, which
// later recorded changes can make stale; so the parents on its path are read
// and checked before anything changes, and a sheet that cannot be read puts
// everything back as it was.
#include <algorithm>
#include <filesystem>

#include "classify/sch_sheet_frm.h"
#include "core/record_file.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "reference/ref_window.h"
#include "sheet/sheet_fields.h"
#include "sheet/wide_text_cells.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"

namespace kv {

namespace {

enum class PathCheck { Ok, Stale, Damaged };

// Reads the parent rows of a hit on `level` from the level files of
// `workBase` into parents[1 .. level - 1], each through the checked chain
// reader: the record must be on the sheet its parent's breakdown begins (level
// 1: the top sheet) and must not be a closing record, and the last parent
// must own a breakdown. A damaged level file is told here.
PathCheck ReadHitParents(ProgramState& st, const std::string& workBase, const std::array<int, kHitNumberCount>& nums,
                         int level, std::array<std::string, 9>& parents) {
  const bool hex = IsHexBase(st.H_Link);
  const int limit = SheetRowLimit(st) + 1;
  int first = 1;
  for (int o = 1; o < level; ++o) {
    const std::filesystem::path path = LevelFilePath(st, workBase, o);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return PathCheck::Stale;
    SheetChain chain;
    try {
      RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
      FileRecords source(file);
      if (LevelFileProblem p = ReadSheetChain(source, o == 1, first, hex, limit, chain)) {
        LevelFileFaultShow(st, path, p);
        return PathCheck::Damaged;
      }
    } catch (const RecordFileError& e) {
      LevelFileErrorShow(st, path, e.what());
      return PathCheck::Damaged;
    }
    const int want = nums[static_cast<size_t>(o)];
    bool found = false;
    for (size_t i = 0; i < chain.records.size() && !found; ++i) {
      const int recNo = o == 1 ? static_cast<int>(i) + 1 : (i < chain.recNos.size() ? chain.recNos[i] : 0);
      if (recNo != want) continue;
      if (RecordByte(chain.records[i], kKindPos) == kClosingKind) return PathCheck::Stale;
      parents[static_cast<size_t>(o)] = chain.records[i];
      found = true;
    }
    if (!found) return PathCheck::Stale;
    const std::optional<int> child = ReadStoredLink(LinkField(parents[static_cast<size_t>(o)], kChildPos), hex);
    if (!child || *child < 1) return PathCheck::Stale;
    first = *child;
  }
  return PathCheck::Ok;
}

// ReadHitParents, telling the user of a stale hit; true when the path holds.
bool HitParents(ProgramState& st, const std::string& workBase, const std::array<int, kHitNumberCount>& nums,
                int level, std::array<std::string, 9>& parents) {
  const PathCheck check = ReadHitParents(st, workBase, nums, level, parents);
  if (check == PathCheck::Stale) {
    FloatWindowsTopMostSet(st, false);
    st.ui.MsgBox(kStaleHitText, vbOKOnly | vbExclamation, kSearchTitle);
    FloatWindowsTopMostSet(st, true);
  }
  return check == PathCheck::Ok;
}

// The level-bar label of a parent row: its heading columns, then ":".
std::string HeadingLabel(const ProgramState& st, const std::string& rec, int level) {
  std::string t;
  for (int c = std::max(st.CaptionColmun1, 1); c <= st.CaptionColmun2 && c <= kMaxColumns; ++c)
    t += FromSjis(WColumnTextFit(st, FieldBytes(st, rec, c, level), level, c));
  return t + ":";
}

}  // namespace

int HitLevel(const std::array<int, kHitNumberCount>& nums, int levelCount) {
  if (nums[0] >= 1) return 1;
  const int last = std::min(kHitNumberCount - 1, levelCount);
  int level = 0;
  for (int e = 1; e <= last && nums[static_cast<size_t>(e)] != 0; ++e) level = e;
  return level;
}

void SchSheet_Frm::SchSheet_DblClk(int, int row) {
  if (row > Hits.HitCount) return;
  if (ForReference()) {
    if (row >= 0) JumpToReferenceHit(row);
    if (st_.sheetEngine) st_.sheetEngine->UndoSave(st_);
    if (st_.ui.GetWindowState(kRefWindow) != WindowState::Minimized && port_.RefGridFocus) port_.RefGridFocus();
  } else {
    if (row >= 0) JumpToEstimateHit(row);
    if (st_.sheetEngine) st_.sheetEngine->UndoSave(st_);
    if (st_.ui.GetWindowState(kEditWindow) != WindowState::Minimized && port_.EditorGridFocus)
      port_.EditorGridFocus();
  }
}

void SchSheet_Frm::CommandJump_Click() { SchSheet_DblClk(ResultCol, ResultRow); }

void SchSheet_Frm::JumpToEstimateHit(int hit) {
  if (IsUntitledName(st_.WorkFileBase)) return;
  if (st_.SheetModified) {
    if (Msg(kJumpRecordText, vbOKCancel | vbExclamation) != vbOK) return;
    if (st_.sheetEngine == nullptr || !st_.sheetEngine->LevelSheetRecord(st_)) return;
    st_.SheetModified = false;
    st_.PackPending = true;
    // The hits may have moved: the search runs again and nothing jumps.
    CommandSearch_Click();
    return;
  }
  const auto& nums = Hits.HitNums[static_cast<size_t>(hit)];
  const int level = HitLevel(nums, st_.LevelCount);
  if (level == 0) return;
  std::array<std::string, 9> parents;
  if (!HitParents(st_, st_.WorkFileBase, nums, level, parents)) return;

  SheetServices* engine = st_.sheetEngine;
  GridModel* sheet = engine ? engine->EdtSheetGrid(st_) : nullptr;
  const int oldLevel = st_.CurrentLevel;
  const auto oldParents = st_.ParentRows;
  st_.CurrentLevel = level;
  for (int o = 1; o < level; ++o) {
    st_.ParentRows[static_cast<size_t>(o)] = parents[static_cast<size_t>(o)];
    if (port_.EditorLevelCaption) port_.EditorLevelCaption(o, HeadingLabel(st_, parents[static_cast<size_t>(o)], o));
  }
  if (engine) {
    engine->DMButtonsLayout(st_);
    engine->EdtSheet_Pos(st_);
  }
  if (!LevelRead(st_, level)) {
    // The sheet could not be read (the user has been told): the editor stays
    // on the sheet it showed, with its level, path and level bar.
    st_.CurrentLevel = oldLevel;
    st_.ParentRows = oldParents;
    if (engine) {
      engine->DMButtonsLayout(st_);
      engine->EdtSheet_Pos(st_);
      engine->ShowParentLevelPath(st_);
    }
    return;
  }
  const int col0 = st_.CurrentCol;
  st_.CurrentRow = 1;
  if (sheet) SetSheetLocate32(*sheet, col0, 1);
  if (engine) {
    st_.SheetLoading = true;
    engine->SheetGridInit(st_, level);
    st_.SheetLoading = false;
    st_.ui.SetBusyPointer(true);
    engine->SheetRedisplay(st_, 1, st_.UsedRows);
  }
  if (sheet) LoadSheetObjects(st_, st_.WorkFileBase, st_.SheetObjNo, *sheet);
  st_.ui.SetBusyPointer(false);
  const int r = level == 1 ? nums[0] : nums[static_cast<size_t>(level)];
  if (sheet) {
    if (r >= 1) {
      SetTopCell32(*sheet, 0, 1, r);
      sheet->SetCurrentRow(r);
    }
    sheet->SetCurrentCol(col0);
    st_.CurrentCol = sheet->CurrentCol();
    st_.CurrentRow = sheet->CurrentRow();
  } else {
    st_.CurrentCol = col0;
    st_.CurrentRow = r >= 1 ? r : 1;
  }
}

void SchSheet_Frm::JumpToReferenceHit(int hit) {
  if (IsUntitledName(st_.RefWorkFileBase)) return;
  const auto& nums = Hits.HitNums[static_cast<size_t>(hit)];
  const int level = HitLevel(nums, st_.LevelCount);
  if (level == 0) return;
  RefSheetWindow* ref = port_.RefWindow ? port_.RefWindow() : nullptr;
  if (ref == nullptr) return;
  std::array<std::string, 9> parents;
  if (!HitParents(st_, st_.RefWorkFileBase, nums, level, parents)) return;
  std::array<std::string, 9> labels;
  for (int o = 1; o < level; ++o)
    labels[static_cast<size_t>(o)] = HeadingLabel(st_, parents[static_cast<size_t>(o)], o);
  ref->ShowSearchHit(level, parents, labels, level == 1 ? nums[0] : nums[static_cast<size_t>(level)]);
}

}  // namespace kv
