#include "sheet/sheet_engine.h"

#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "sheet/last_used_row.h"
#include "sheet/sheet_painting.h"
#include "sheet/undo_clear.h"
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
  // The level tree's branch is closed around the record and the equipment
  // edition's totals are recalculated first, once those parts exist.
  const bool recorded = FlushLevels(st);
  if (recorded && st.editor != nullptr) st.editor->PageNumbersWrite(st);
  StatusPanelClear(st, 1);
  return recorded;
}

// Builds the level tree of the estimate (the level tree's part).
void SheetEngine::EditTreeBuild(ProgramState&) {}

// Places the level bar's buttons and path labels (the level bar's part).
void SheetEngine::DMButtonsLayout(ProgramState&) {}

// Places the sheet grid below the level bar (the level bar's part).
void SheetEngine::EdtSheet_Pos(ProgramState&) {}

// Writes the path of parent rows into the level bar (the level bar's part).
void SheetEngine::ShowParentLevelPath(ProgramState&) {}

void SheetEngine::UndoSave(ProgramState& st) { kv::UndoSave(st, grid_); }

// Moves to a level of the current path (the level navigation's part).
void SheetEngine::LevelJump(ProgramState&, int) {}

}  // namespace kv
