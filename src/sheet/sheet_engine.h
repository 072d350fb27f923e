#pragma once
// The sheet engine as the rest of the program reaches it (`st.sheetEngine`):
// grid set-up, painting, page lines, the status bar, and recording the sheet
// and its path. It drives the editor's sheet grid model and the window's
// status bar, both handed to it by the window that owns them (tests hand it
// a plain model and a recording bar).
#include "sheet/status_bar.h"
#include "state/sheet_services.h"

namespace kv {

class GridModel;
class LevelBarPort;

class SheetEngine : public SheetServices {
 public:
  // `statusBar` may be null (nothing is shown then).
  SheetEngine(GridModel& edtSheet, StatusBarPort* statusBar);

  GridModel& EdtSheet() { return grid_; }

  void SheetGridInit(ProgramState& st, int level) override;
  void SheetRedisplay(ProgramState& st, int firstRow, int lastRow) override;
  void PageLinesDraw(ProgramState& st) override;
  void StatusPanelSet(ProgramState& st, int panel, const std::string& text) override;
  void StatusPanelClear(ProgramState& st, int panel) override;
  void StatusPageShow(ProgramState& st, int row) override;
  // Records the sheet and every level above it through FlushLevels. An empty
  // top-level sheet is not recorded (false); a named estimate is first
  // handed to the empty-estimate discard. Status panel 1 shows
  // "**  記録中 !  **" meanwhile; the level tree's branch of the sheet is
  // closed around the record (and reopened when it was open), the equipment
  // totals are brought up to date first, and the page numbers are written
  // after a successful record.
  bool LevelSheetRecord(ProgramState& st) override;
  GridModel* EdtSheetGrid(ProgramState&) override { return &grid_; }
  // Takes the undo copy of the sheet in memory with the grid's top cell.
  void UndoSave(ProgramState& st) override;

  // The level tree of the estimate.
  void EditTreeBuild(ProgramState& st) override;
  // The level bar and the grid below it, through the window's level bar
  // (nothing while none is set).
  void DMButtonsLayout(ProgramState& st) override;
  void EdtSheet_Pos(ProgramState& st) override;
  void ShowParentLevelPath(ProgramState& st) override;
  // Moves to a level of the current path (0: the quiet return to level 1).
  void LevelJump(ProgramState& st, int level) override;

  // The window's level bar; null: the level bar steps are skipped.
  void SetLevelBar(LevelBarPort* bar) { levelBar_ = bar; }
  LevelBarPort* LevelBar() const { return levelBar_; }

 private:
  GridModel& grid_;
  StatusBarPort* statusBar_;
  LevelBarPort* levelBar_ = nullptr;
};

}  // namespace kv
