#pragma once
// What the editor window sets up when it loads: placement, status bar, menus
// by edition, the captions and check marks that follow the settings, the
// splitter and the tree pane, the calculator box. The window carries out the
// steps that touch its controls through EditorFormPort.
#include <string>

namespace kv {

struct ProgramState;
struct EditorMenus;
struct EditorState;

// The window's side of the load.
class EditorFormPort {
 public:
  virtual ~EditorFormPort() = default;
  // Advances the title screen's progress bar.
  virtual void SplashProgress(int step) = 0;
  // Moves and sizes the window to the stored rectangle (twips, -1 missing).
  virtual void PlaceWindow(int leftTw, int topTw, int widthTw, int heightTw) = 0;
  // Clears the status bar and makes its six panels.
  virtual void StatusBarInit() = 0;
  virtual void StatusPanelSet(int panel, const std::string& text) = 0;
  // Docks the basic toolbar at the top when it has no docking position.
  virtual void Toolbar1DockIfLoose() = 0;
  // Puts the splitter's left edge at `sizerPosTw` and makes the tree that
  // wide; answers the tree's width afterwards (twips).
  virtual int SizerPlace(int sizerPosTw) = 0;
  // Places the grid right of the splitter over the rest of the width.
  virtual void GridPlace() = 0;
  virtual void DentakuHide() = 0;
  // Shows the menu tree's states on the menu bar.
  virtual void MenusChanged() = 0;
};

// The window's load, in its order; the splash steps 15..28 advance on the way.
// A step that fails shows the standard warning with its text and
// "(Form_loadErr ｴﾗｰNo <step>)", and the load goes on with the next step.
void Form_Load(ProgramState& st, EditorState& ed, EditorMenus& menus, EditorFormPort& port);

// The zoom the window starts with: 100 for a stored value outside 30..200
// (0 and a missing key among them).
int LoadZoom(int storedZoom);

}  // namespace kv
