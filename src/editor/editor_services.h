#pragma once
// What storage and start-up ask of the editor window: toolbars, the busy lock,
// page numbers, caption, menus. The editor window implements this interface;
// until it is wired in, `ProgramState::editor` is null and callers skip these
// steps.
#include <string>

namespace kv {

struct ProgramState;

class EditorServices {
 public:
  virtual ~EditorServices() = default;

  virtual void ToolBar1Init(ProgramState& st) = 0;
  virtual void ToolBar2Init(ProgramState& st) = 0;
  virtual void ShowToolBar2(ProgramState& st, bool visible) = 0;
  // true when a long command starts, false when it ends.
  virtual void ToolBarStateSet(ProgramState& st, bool busy) = 0;
  // Writes the page numbers into the estimate's level work files.
  virtual void PageNumbersWrite(ProgramState& st) = 0;
  virtual void SetCaption(ProgramState& st, const std::string& caption) = 0;
  virtual void MaskMenuCaptionSet(ProgramState& st) = 0;
  virtual void Form_Resize(ProgramState& st) = 0;
};

}  // namespace kv
