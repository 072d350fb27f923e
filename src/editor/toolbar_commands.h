#pragma once
// The commands behind the buttons of the basic and the extended toolbar,
// docked or floating. Each click runs the same prologue: nothing while a
// command holds the busy lock; New and Open only on level 1; the row insert
// and delete buttons do nothing at all on the totals line; a running
// non-print marking mode ends (the row mode stays for the non-print row
// button, which toggles it). Then the button's command, and the sheet grid
// takes the keyboard focus back where the command asks for it.
#include <span>
#include <string>
#include <string_view>

namespace kv {

struct ProgramState;
class GridModel;
class ToolbarModel;

// What the click handlers ask of the editor window.
class ToolbarCommandPort {
 public:
  virtual ~ToolbarCommandPort() = default;
  // The sheet grid takes the keyboard focus.
  virtual void SheetFocus() = 0;
  // The window's menu handlers.
  virtual void Menu_1Sub_Click(int index) = 0;
  virtual void Menu_3Sub_Click(int index) = 0;
  virtual void Tokusyusub_Click(int index) = 0;
  // Shows or hides the level tree.
  virtual void TreeDisplay() = 0;
  // Splits the sheet view or joins it again.
  virtual void ToggleSheetDivide() = 0;
  // Undocks toolbar `bar` (1 basic, 2 extended) into its floating window,
  // loaded but not shown, its top left corner at (xTw, yTw) screen twips.
  virtual void FloatToolBar(int bar, int xTw, int yTw) = 0;
  // The cover tool hand-off (the window's KVCoverProc).
  virtual void KVCoverProc() = 0;
  // Presses an auto-advance button on the docked basic toolbar (hidden while
  // the floating copy is used), so that it shows the mode once docked back.
  virtual void DockedButtonPress(const std::string& key) = 0;
};

// The buttons whose commands exist, per toolbar (1 basic, 2 extended); the
// others are shown disabled.
std::span<const std::string_view> WiredToolbarKeys(int bar);
// Marks those buttons wired in a model of toolbar `bar` (docked or floating).
void SetWiredButtons(ToolbarModel& model, int bar);

// Undocks toolbar `bar`: its floating window loaded with the top left corner
// at (xTw, yTw) screen twips, or centred on the screen, and shown. While the
// extended toolbar floats the View menu's customise and extended toolbar
// items are disabled (its floating window enables them when it docks back).
void ToolbarUndock(ProgramState& st, ToolbarCommandPort& port, int bar, int xTw, int yTw, bool centred = false);

// A click on the basic toolbar's button `key`. `fromFloating`: the floating
// copy's button; its auto-advance buttons also press the docked one, and its
// undock button docks it back (its window is unloaded).
void Toolbar1_ButtonClick(ProgramState& st, GridModel& sheet, ToolbarCommandPort& port, const std::string& key,
                          bool fromFloating = false);
// A click on the extended toolbar's button `key`. From the floating copy Ｙ計算
// and the split toggle leave the focus where it is, the cover button starts
// the hand-off without the printer test of the docked one, and the undock
// button docks it back.
void Toolbar2_ButtonClick(ProgramState& st, GridModel& sheet, ToolbarCommandPort& port, const std::string& key,
                          bool fromFloating = false);

}  // namespace kv
