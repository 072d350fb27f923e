#include "sheet/sheet_engine.h"

#include "platform/grid/grid_model.h"
#include "sheet/edit_tree.h"
#include "sheet/grid_setup.h"
#include "sheet/level_bar_layout.h"
#include "sheet/level_navigation.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
#include "state/calc_services.h"
#include "state/editor_services.h"
#include "state/file_command_services.h"
#include "state/program_state.h"
#include "storage/flush_levels.h"
#include "storage/level_files.h"

namespace kv {

SheetEngine::SheetEngine(GridModel& edtSheet, StatusBarPort* statusBar)
    : grid_(edtSheet), statusBar_(statusBar) {}

void SheetEngine::SheetGridInit(ProgramState& st, int level) {
  kv::SheetGridInit(st, grid_, level);
}

void SheetEngine::SheetRedisplay(ProgramState& st, int firstRow, int lastRow) {
  kv::SheetRedisplay(st, grid_, firstRow, lastRow);
}

void SheetEngine::PageLinesDraw(ProgramState& st) { kv::PageLinesDraw(st, grid_); }

void SheetEngine::StatusPanelSet(ProgramState&, int panel, const std::string& text) {
  if (statusBar_ != nullptr) statusBar_->StatusPanelSet(panel, text);
}

void SheetEngine::StatusPanelClear(ProgramState&, int panel) {
  if (statusBar_ != nullptr) kv::StatusPanelClear(*statusBar_, panel);
}

void SheetEngine::StatusPageShow(ProgramState& st, int row) {
  StatusPanelSet(st, 4, StatusPageText(st, row));
}

bool SheetEngine::LevelSheetRecord(ProgramState& st) {
  st.UsedRows = LastUsedRow(st);
  if (st.UsedRows == 0 && st.CurrentLevel == 1) {
    if (!IsUntitledName(st.WorkFileBase) && st.fileCommands != nullptr)
      st.fileCommands->EmptyFileDiscard(st);
    return false;
  }
  StatusPanelSet(st, 1, "**  記録中 !  **");
  bool treeWasOpen = false;
  EditTreeSelectCurrent(st, treeWasOpen);
  if (st.calc != nullptr) st.calc->RecalcEquipmentTotals(st, true);
  const bool recorded = FlushLevels(st);
  if (recorded && st.editor != nullptr) st.editor->PageNumbersWrite(st);
  if (treeWasOpen) EditTreeSync(st);
  StatusPanelClear(st, 1);
  return recorded;
}

void SheetEngine::EditTreeBuild(ProgramState& st) { kv::EditTreeBuild(st); }

void SheetEngine::DMButtonsLayout(ProgramState& st) {
  if (levelBar_ != nullptr) kv::DMButtonsLayout(st, *levelBar_);
}

void SheetEngine::EdtSheet_Pos(ProgramState& st) {
  if (levelBar_ != nullptr) kv::EdtSheet_Pos(st, *levelBar_);
}

void SheetEngine::ShowParentLevelPath(ProgramState& st) {
  if (levelBar_ != nullptr) kv::ShowParentLevelPath(st, *levelBar_);
}

void SheetEngine::UndoSave(ProgramState& st) { kv::UndoSave(st, grid_); }

void SheetEngine::LevelJump(ProgramState& st, int level) { kv::LevelJump(st, level, levelBar_); }

}  // namespace kv
