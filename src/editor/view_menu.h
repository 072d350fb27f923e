#pragma once
// The View menu (`Menu_7Sub` and its submenus) and the basic toolbar's zoom and
// paper combos: zoom, print form, mask screen, page-break line style, the
// parent-level totals line, the windows the menu opens and the extended
// toolbar. Logic over the program state and the sheet grid; the window's
// menus, combos, status bar and toolbar reach it through ViewMenuPort.
//
// A selection a program makes in either combo raises the combo's handler as
// a choice of the user does; a selection that keeps the index raises nothing.
#include <string>

namespace kv {

struct ProgramState;
struct EditorMenus;
class GridModel;

// What the handlers ask of the editor window.
class ViewMenuPort {
 public:
  virtual ~ViewMenuPort() = default;
  // The window's menu tree, and showing its changes on the menu bar.
  virtual EditorMenus& Menus() = 0;
  virtual void MenusChanged() = 0;
  virtual void StatusPanelSet(int panel, const std::string& text) = 0;
  // The sheet grid is shown; it takes the keyboard focus.
  virtual bool SheetVisible() const = 0;
  virtual void SheetFocus() = 0;
  // The zoom combo: its selected index (-1 none) and an item's text.
  virtual int ZoomComboIndex() const = 0;
  virtual std::string ZoomComboText(int index) const = 0;
  // The paper combo: its selected index (print form - 1) and a selection by
  // the program (which raises cmbYosi_Click when the index changes).
  virtual int PaperComboIndex() const = 0;
  virtual void PaperComboSelect(int index) = 0;
  // The floating basic toolbar's combos take the same index (nothing while
  // that window does not exist).
  virtual void FloatingZoomSelect(int index) = 0;
  virtual void FloatingPaperSelect(int index) = 0;
  // The docked extended toolbar is shown; its customise dialog.
  virtual bool Toolbar2Visible() const = 0;
  virtual void Toolbar2Customise() = 0;
};

struct ViewMenu {
  ProgramState& st;
  GridModel& sheet;  // EdtSheet
  ViewMenuPort& port;
};

// Items of `Menu_7Sub` that carry a command (11, the unit window, is wired
// with that window).
inline constexpr int kViewMenuItems[] = {2, 5, 10, 11, 13, 14, 15, 17};

// The current print form, 1..7; any other `PrnTypeNo` counts as 1.
int PrintFormNo(const ProgramState& st);

// True, after the warning, when a non-print marking mode runs (rows first,
// then levels): the commands that refuse rather than end the modes stop.
bool MarkingModesRefused(ProgramState& st);

// Sets the sheet grid up again for the current level and repaints its used
// rows (the busy pointer stays on; the caller turns it off).
void SheetReLay(ProgramState& st);

// The View menu's items, after the selection is stored and the marking
// modes are ended: 2 the font dialog, 5 the mask set-up window, 10 the
// parent-level totals line on or off, 11 the unit window, 13 the extended
// toolbar's customise dialog, 14 the options dialog, 15 the total-row names
// window, 17 the extended toolbar shown or hidden. Other items do nothing.
void Menu_7Sub_Click(ViewMenu& v, int index);

// The zoom combo's selection ("200%" .. "30%") becomes the zoom of the sheet
// (nothing while a command runs).
void cmbZoom_Click(ViewMenu& v);

// The hidden zoom submenu: 0 keeps the zoom, 1 brings one outside 30..200
// back to 100, 2 asks for it, 3..8 set 140, 120, 100, 90, 80, 70. Refused
// while a marking mode runs.
void ZoomSub_Click(ViewMenu& v, int index);

// The paper combo's selection becomes the print form (level 1 only; nothing
// while a command runs). A named estimate with rows stores the form and
// renumbers its pages; when the levels cannot be recorded the old form comes
// back everywhere.
void cmbYosi_Click(ViewMenu& v);

// The paper menu's item `index` (1..7) becomes the print form, as the combo
// does, but the pages are renumbered only when the rows per page change.
// Refused while a marking mode runs.
void PeparSerect_Click(ViewMenu& v, int index);

// Mask screen `index` (0..5) for the current level, or for every level when
// the levels have the same columns and the user says so; stored with the
// estimate and shown. Refused while a marking mode runs.
void MaskGamen_Click(ViewMenu& v, int index);

// Page-break line style `index` (1..4: dotted, thick dotted, solid, thick
// solid).
void Line_Style_Click(ViewMenu& v, int index);

// The hidden company-name position items (1 left, 2 centre, 3 right): written
// into the estimate's settings file.
void CoPrinPos_Click(ViewMenu& v, int index);

// The hidden test items: the window's layout; the sheet grid shown.
void TEST_Click(ViewMenu& v);
void TEST2_Click(ViewMenu& v);

}  // namespace kv
