#include "sheet/level_navigation.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "core/record_file.h"
#include "core/sjis_text.h"
#include "core/stored_number.h"
#include "platform/grid/grid_api.h"
#include "platform/ui.h"
#include "sheet/edit_tree.h"
#include "sheet/level_bar_layout.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "sheet/wide_text_cells.h"
#include "state/calc_services.h"
#include "state/column_numbers.h"
#include "state/editor_services.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/disk_space.h"
#include "storage/file_command_steps.h"
#include "storage/flush_levels.h"
#include "storage/level_chain.h"
#include "storage/level_files.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"

namespace kv {
namespace {

bool Hex(const ProgramState& st) { return IsHexBase(st.H_Link); }

GridModel* Grid(ProgramState& st) { return st.sheetEngine ? st.sheetEngine->EdtSheetGrid(st) : nullptr; }

// The busy lock of the editor window (`ToolBarStateSet`).
void ToolBarStateSet(ProgramState& st, bool busy) {
  if (st.editor) st.editor->ToolBarStateSet(st, busy);
  st.CommandBusy = busy;
}

void StatusRows(ProgramState& st) {
  if (st.sheetEngine) st.sheetEngine->StatusPanelSet(st, 2, StrNum(st.UsedRows) + " 行");
}

void TotalsMaskWhenOff(ProgramState& st) {
  if (!st.ReCalcFlag && st.calc) st.calc->TotalRowsMask(st, st.UsedRows);
}

// Clears the grid's selection and keeps it (`SelRectStore`).
void SelectionClearAndStore(ProgramState& st) {
  if (GridModel* grid = Grid(st)) {
    ClearSelect32(*grid);
    SelRectStore(st, *grid);
  }
}

// The columns copied from a parent row into its breakdown's first row.
std::vector<int> DownCopyColumns(const ProgramState& st) {
  std::vector<int> cols;
  for (int c = std::max(st.DownCopyColmun1, 1); c <= std::min(st.DownCopyColmun2, kMaxColumns); ++c)
    cols.push_back(c);
  return cols;
}

// Record n of the level file of `level`, checked like every chain walk: the
// file whole, the record there and naming itself. False after the level
// file's message.
bool ReadParentRecord(ProgramState& st, int level, int n, std::string& rec) {
  const auto path = LevelFilePath(st, st.WorkFileBase, level);
  try {
    RecordFile file(path, st.DataLen, RecordFileMode::ReadOnly);
    FileRecords src(file);
    int count = 0;
    LevelFileProblem p = CountRecords(src, count);
    if (!p && (n < 1 || n > count || !src.Get(n, rec))) p = {LevelFault::LinkPastEnd, n};
    if (!p) p = CheckRecordNumbers(rec, n, count, Hex(st));
    if (p) {
      LevelFileFaultShow(st, path, p);
      return false;
    }
    return true;
  } catch (const RecordFileError& e) {
    LevelFileErrorShow(st, path, e.what());
    return false;
  }
}

// Hides every button and label of the level bar.
void LevelBarHide(const ProgramState& st, LevelBarPort* bar) {
  if (bar) bar->PlaceLevelBar(std::vector<LevelBarPlace>(static_cast<size_t>(std::max(st.LevelCount - 1, 0))));
}

// The grid set up for the sheet in memory, its objects loaded.
void GridSetUp(ProgramState& st, int level) {
  SheetServices* engine = st.sheetEngine;
  if (!engine) return;
  st.SheetLoading = true;
  st.ui.ProcessEvents();
  engine->SheetGridInit(st, level);
  st.SheetLoading = false;
  if (GridModel* grid = Grid(st)) LoadSheetObjects(st, st.WorkFileBase, st.SheetObjNo, *grid);
}

void BarLayout(ProgramState& st) {
  if (!st.sheetEngine) return;
  st.sheetEngine->DMButtonsLayout(st);
  st.sheetEngine->EdtSheet_Pos(st);
}

void Repaint(ProgramState& st) {
  if (!st.sheetEngine) return;
  st.ui.SetBusyPointer(true);
  st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
  st.ui.SetBusyPointer(false);
  st.sheetEngine->ShowParentLevelPath(st);
}

void CursorTo(ProgramState& st, int col, int row) {
  st.CurrentRow = row;
  st.CurrentCol = col;
  if (GridModel* grid = Grid(st)) SetSheetLocate32(*grid, col, row);
}

enum class PathRecordCase {
  DownModified,       // going down from a modified sheet
  DownNeverRecorded,  // going down from a row that was never recorded
  Jump,               // jumping up from a modified sheet
};

// Records the sheet in memory and the levels above it before a move. On
// failure the sheet in memory is the current level's again (FlushLevels reads
// the path back, or keeps the sheet it could not write), the grid shows it
// and the tree is as it was; the move ends.
bool PathRecord(ProgramState& st, PathRecordCase which) {
  if (!FreeSpaceCheck(st)) return false;
  bool treeWasOpen = false;
  if (which != PathRecordCase::DownNeverRecorded) EditTreeSelectCurrent(st, treeWasOpen);
  bool ok = FlushLevels(st);
  // An estimate left untitled (its name input cancelled) is not recorded.
  if (which == PathRecordCase::DownNeverRecorded && IsUntitledName(st.WorkFileBase)) ok = false;
  if (!ok) {
    if (st.sheetEngine) st.sheetEngine->SheetRedisplay(st, 1, st.UsedRows);
    if (treeWasOpen) EditTreeSync(st);
    return false;
  }
  if (st.editor) st.editor->PageNumbersWrite(st);
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  st.SheetModified = false;
  st.PackPending = true;
  if (which == PathRecordCase::DownModified || (which == PathRecordCase::Jump && treeWasOpen)) EditTreeSync(st);
  return true;
}

// The silent refusals of a move down from the cursor row.
bool MayGoDown(const ProgramState& st) {
  const int row = st.CurrentRow;
  if (row < 1 || row > SheetRowLimit(st)) return false;
  if (st.CurrentLevel >= st.LevelCount || st.CurrentLevel >= kMaxLevels) return false;
  const std::string& rec = st.SheetRows[static_cast<size_t>(row)];
  const std::optional<int> link = ReadStoredLink(LinkField(rec, kChildPos), Hex(st));
  const bool hasBreakdown = link && *link >= 1;
  // The whole column data, bytes 20 .. DataLen - 1.
  const size_t dataBytes = st.DataLen > kColumnDataPos ? static_cast<size_t>(st.DataLen - kColumnDataPos) : 0;
  const std::string_view data =
      rec.size() >= kColumnDataPos ? std::string_view(rec).substr(kColumnDataPos - 1, dataBytes) : std::string_view();
  const bool blank = data.find_first_not_of(' ') == std::string_view::npos;
  if (!hasBreakdown && blank) return false;
  if (RecordByte(rec, kKindPos) != kKindItem) return false;
  return st.UsedRows != 0;
}

}  // namespace

void LevelDown(ProgramState& st, LevelBarPort* bar) {
  SelectionClearAndStore(st);
  if (!MayGoDown(st)) return;

  if (st.SheetModified) {
    const int answer = AskUser(st, "記録後に下の階層に移動しますか?", vbYesNoCancel);
    if (answer == vbCancel) return;
    if (answer == vbYes) {
      if (!PathRecord(st, PathRecordCase::DownModified)) return;
    } else {
      st.SheetModified = false;
    }
  }
  const int level = st.CurrentLevel;
  if (LinkField(st.SheetRows[static_cast<size_t>(st.CurrentRow)], kOwnPos) == "    ") {
    if (AskUser(st, "記録後に下の階層へ移動して下さい", vbYesNo + vbExclamation) != vbYes) return;
    if (!PathRecord(st, PathRecordCase::DownNeverRecorded)) return;
  }

  // The parent row as its level file holds it.
  const std::string& row = st.SheetRows[static_cast<size_t>(st.CurrentRow)];
  const int own = BaseStrToNum(LinkField(row, kOwnPos), Hex(st));
  std::string parent;
  if (!ReadParentRecord(st, level, own, parent)) return;
  const std::string oldParent = st.ParentRows[static_cast<size_t>(level)];
  st.ParentRows[static_cast<size_t>(level)] = parent;

  GridModel* grid = Grid(st);
  if (grid) {
    SheetTopCell& top = st.PathTopCells[static_cast<size_t>(level)];
    GetTopCell32(*grid, 0, top.col, top.row);
  }
  st.PathRows[static_cast<size_t>(level)] = st.CurrentRow;
  st.PathCols[static_cast<size_t>(level)] = st.CurrentCol;

  // The first row of a new breakdown: the parent's heading columns, at the
  // parent level's positions.
  std::string first(static_cast<size_t>(std::max(st.DataLen, 0)), ' ');
  std::string heading;
  for (int c : DownCopyColumns(st)) {
    const std::string field(FieldBytes(st, parent, c, level));
    FieldStore(st, first, c, level, field);
    heading += WColumnTextFit(st, field, level, c);
  }
  if (!st.ReCalcFlag && bar) bar->SetLevelCaption(level, ":" + ToUnicodeStr(heading));

  st.CurrentLevel = level + 1;
  if (!LevelRead(st, st.CurrentLevel)) {
    // The breakdown could not be read (the user has been told): the sheet in
    // memory is still the one left.
    st.CurrentLevel = level;
    st.ParentRows[static_cast<size_t>(level)] = oldParent;
    if (bar) bar->SetLevelCaption(level, "");
    return;
  }
  const int down = st.CurrentLevel;
  if (st.UsedRows == 0) {
    st.SheetRows[1] = first;
    st.UsedRows = 1;
  }
  if (st.CustomerVariant2 && st.ReCalcFlag && st.calc) {
    for (int r = 1; r <= st.UsedRows; ++r) st.calc->RowCalc(st, st.SheetRows[static_cast<size_t>(r)]);
    st.calc->LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
  }
  if (st.DownCopyColmunSw != 0) {
    for (int c : DownCopyColumns(st)) {
      const std::string parentField = FitBytes(FieldBytes(st, parent, c, level), st.ColWidth[down][c]);
      if (st.ColStart[down][c] < 1 || FieldBytes(st, st.SheetRows[1], c, down) == parentField) continue;
      FieldStore(st, st.SheetRows[1], c, down, parentField);
      st.SheetModified = true;
    }
  }

  GridSetUp(st, down);
  if (bar) bar->SetLevelCaption(level, "");
  BarLayout(st);
  Repaint(st);
  CursorTo(st, st.ToTalNameColmun, 1);
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  StatusRows(st);
  TotalsMaskWhenOff(st);
}

void LevelJump(ProgramState& st, int& n, LevelBarPort* bar) {
  const bool quiet = n == 0;
  if (quiet) n = 1;
  if (n < 1 || n > st.CurrentLevel) return;
  SelectionClearAndStore(st);

  if (st.SheetModified) {
    const int answer = AskUser(st, "記録後に " + StrNum(n) + " 階層目に移動しますか?", vbYesNoCancel);
    if (answer == vbCancel) return;
    if (answer == vbYes) {
      if (!PathRecord(st, PathRecordCase::Jump)) return;
    } else {
      // The edits are given up: level 1 is read afresh. When it cannot be
      // read (the user has been told) the user stays where they were, the
      // sheet with its edits as it was.
      const int here = st.CurrentLevel;
      st.CurrentLevel = 1;
      if (!LevelRead(st, 1)) {
        st.CurrentLevel = here;
        return;
      }
      st.SheetModified = false;
    }
  }

  const int before = st.CurrentLevel;
  st.CurrentLevel = n;
  LevelBarHide(st, bar);
  if (!LevelRead(st, n)) {
    // The level could not be read (the user has been told): the sheet in
    // memory stays, shown as the level it is.
    st.CurrentLevel = n = before;
  }
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  GridSetUp(st, n);
  BarLayout(st);
  if (quiet) return;

  Repaint(st);
  GridModel* grid = Grid(st);
  const SheetTopCell top = st.PathTopCells[static_cast<size_t>(n)];
  if (grid && top.row >= 1) SetTopCell32(*grid, 0, 1, top.row);
  CursorTo(st, st.ToTalNameColmun, std::max(st.PathRows[static_cast<size_t>(n)], 1));
  if (st.sheetEngine) st.sheetEngine->UndoSave(st);
  StatusRows(st);
  TotalsMaskWhenOff(st);
}

void AskLevelUp(ProgramState& st, LevelBarPort* bar) {
  if (st.CommandBusy) return;
  if (st.CurrentLevel <= 1 && !st.SheetModified) return;
  ToolBarStateSet(st, true);
  st.ui.SetBusyPointer(false);
  st.Select2Result = 1;
  st.ui.ShowModal("Select_1");
  if (st.Select2Result == 0 && st.sheetEngine && st.sheetEngine->LevelSheetRecord(st)) {
    st.SheetModified = false;
    st.PackPending = true;
  }
  if (st.CurrentLevel > 1) {
    const std::string_view w = "Select_2";
    st.ui.SetWindowText(w, "", "上階層に移動しますか");
    st.ui.SetWindowText(w, "S_Label", std::to_string(st.CurrentLevel - 1) + "階層目に移動しますか？");
    st.ui.SetWindowText(w, "S_Button(0)", "はい(&Y)");
    st.ui.SetWindowText(w, "S_Button(1)", "いいえ(&N)");
    st.ui.SetWindowText(w, "S_Button(2)", "1階層に戻る");
    st.ui.SetControlEnabled(w, "S_Button(2)", st.CurrentLevel > 2);
    st.Select2Result = 1;
    st.ui.ShowModal(w);
    int target = 0;
    if (st.Select2Result == 0) target = st.CurrentLevel - 1;
    if (st.Select2Result == 2) target = 1;
    if (target >= 1) LevelJump(st, target, bar);
  }
  ToolBarStateSet(st, false);
}

void DM_Button_Click(ProgramState& st, int index, LevelBarPort* bar, const MarkingModeToggles& toggles) {
  if (st.CommandBusy) return;
  if (st.NotPrintLineMode && toggles.NotPrintLine) toggles.NotPrintLine();
  if (st.NotPrintLvlLineMode && toggles.NotPrintLvlLine) toggles.NotPrintLvlLine();
  DMLabel_Click(st, index, bar);
}

void DMLabel_Click(ProgramState& st, int index, LevelBarPort* bar) {
  if (st.CommandBusy || index < 1) return;
  ToolBarStateSet(st, true);
  int n = index;
  LevelJump(st, n, bar);
  ToolBarStateSet(st, false);
}

void DMLabel_DblClick(ProgramState&, int) {}

}  // namespace kv
