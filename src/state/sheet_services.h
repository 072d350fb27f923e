#pragma once
// What storage and start-up ask of the sheet engine's window-facing side (grid
// set-up and painting, level bar, tree, status bar, undo, level moves). The
// sheet engine implements this interface; until it is wired in,
// `ProgramState::sheetEngine` is null and callers skip these display steps.
#include <string>

namespace kv {

struct ProgramState;

class SheetServices {
 public:
  virtual ~SheetServices() = default;

  virtual void SheetGridInit(ProgramState& st, int level) = 0;
  virtual void SheetRedisplay(ProgramState& st, int firstRow, int lastRow) = 0;
  virtual void PageLinesDraw(ProgramState& st) = 0;
  virtual void EditTreeBuild(ProgramState& st) = 0;
  virtual void DMButtonsLayout(ProgramState& st) = 0;
  virtual void EdtSheet_Pos(ProgramState& st) = 0;
  virtual void ShowParentLevelPath(ProgramState& st) = 0;
  virtual void StatusPanelSet(ProgramState& st, int panel, const std::string& text) = 0;
  virtual void StatusPanelClear(ProgramState& st, int panel) = 0;
  virtual void StatusPageShow(ProgramState& st, int row) = 0;
  virtual void UndoSave(ProgramState& st) = 0;
  virtual void LevelJump(ProgramState& st, int level) = 0;
  // Records the sheet in memory and the levels above it; false when nothing
  // was recorded or a level write failed.
  virtual bool LevelSheetRecord(ProgramState& st) = 0;
};

}  // namespace kv
