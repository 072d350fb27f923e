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
  // "**  記録中 !  **" meanwhile; the page numbers are written after a
  // successful record.
  bool LevelSheetRecord(ProgramState& st) override;
  GridModel* EdtSheetGrid(ProgramState&) override { return &grid_; }
  // Takes the undo copy of the sheet in memory with the grid's top cell.
  void UndoSave(ProgramState& st) override;

  // Not built yet; each does nothing until its part of the engine exists.
  void EditTreeBuild(ProgramState& st) override;
  void DMButtonsLayout(ProgramState& st) override;
  void EdtSheet_Pos(ProgramState& st) override;
  void ShowParentLevelPath(ProgramState& st) override;
  void LevelJump(ProgramState& st, int level) override;

 private:
  GridModel& grid_;
  StatusBarPort* statusBar_;
};

}  // namespace kv
