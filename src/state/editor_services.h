#pragma once
// What storage and start-up ask of the editor window: toolbars, the busy lock,
// page numbers, caption, menus. The editor window implements this interface;
// until it is wired in, `ProgramState::editor` is null and callers skip these
// steps.
#include <string>
#include <vector>

namespace kv {

struct ProgramState;
struct EditorMenus;

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

  // The window's menu tree (state/menu_model.h): a command changes captions,
  // checks and enabled states there and then calls MenusChanged, which shows
  // them on the menu bar. Null without a window.
  virtual EditorMenus* Menus() { return nullptr; }
  virtual void MenusChanged(ProgramState& st) {}
  // Fills the paper combos the window has loaded with the print forms'
  // captions (display text) and selects entry `selected` (0-based), without
  // running their selection handlers.
  virtual void PaperCombosFill(ProgramState& st, const std::vector<std::string>& captions, int selected) {}
  // True when a loaded window of the program has exactly this caption.
  virtual bool FormCaptionOpen(ProgramState& st, const std::string& caption) { return false; }
};

}  // namespace kv
