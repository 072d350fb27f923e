#pragma once
// The unit list window's logic: sixty units of measure shown in a grid
// (`UNIT2SHEET`) of LayoutCols x LayoutRows cells, filled row by row. A double
// click on a filled unit commits it into the cursor cell of the estimate; in
// change mode the list itself is edited and saved to UNIT.DAT in the program
// folder. The window only shows the grid and the menus; what it does goes
// through this class, which handles the grid's events itself.
//
// UNIT.DAT: Shift-JIS lines of 5 bytes ended by CR LF. The first 60 lines
// are the list; any lines after them are kept as read and written back after
// the 60, and a unit the user did not edit is written back with its bytes as
// read (a longer line is not cut), so a save loses nothing of the file. The
// file is replaced whole (a temporary file beside it, renamed over it) or not
// at all.
#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"

namespace kv {

struct ProgramState;
class GridModel;

inline constexpr int kUnitCount = 60;
inline constexpr int kUnitBytes = 5;
// Height allowance of the window beside its rows: title bar, menu bar, borders.
inline constexpr int kUnitFrameTwips = 690;
inline constexpr const char* kUnitFileName = "UNIT.DAT";
inline constexpr const char* kUnitPlaceSection = "単位画面";
inline constexpr const char* kUnitCloseQuestion = "単位ﾌｧｲﾙを保存して終了しますか？";

// The contents of UNIT.DAT: the 60 units (Shift-JIS bytes as read, "" or
// 5 blanks when free), the same as read (to tell the units changed since),
// and the lines after the 60th (bytes, no line end).
struct UnitFile {
  std::array<std::string, kUnitCount> texts;
  std::array<std::string, kUnitCount> read;
  std::vector<std::string> kept;
  UnitFile() {
    texts.fill(std::string(kUnitBytes, ' '));
    read = texts;
  }
};

// Splits the file's bytes into lines (CR LF, CR or LF ends a line; a last line
// without an end counts): lines 1..60 are the units, unchanged; the rest are
// kept. Entries without a line stay 5 blanks.
UnitFile UnitFileParse(std::string_view bytes);
// Reads AppPath's UNIT.DAT (found without letter case); a missing or
// unreadable file gives 60 free entries.
UnitFile UnitFileRead(const std::filesystem::path& file);
// 60 lines and CR LF, then the kept lines with CR LF. A unit as read is its
// bytes as read, blank-padded to 5; a changed one exactly 5 bytes
// (blank-padded, or cut by CutToBytes so that no double-byte character is
// split).
std::string UnitFileBytes(const UnitFile& units);
// Writes the file whole or not at all; false (the old file untouched) on failure.
bool UnitFileWrite(const std::filesystem::path& file, const UnitFile& units);

struct UnitLayout {
  int cols = 6;
  int rows = 10;
  bool operator==(const UnitLayout&) const = default;
};

// The layout for a window `widthTw` wide: n = width / cell width rounded
// (halves to even) picks from the table (below 3: 2 x 30 ... 30 to 59:
// 30 x 2, 60 and more: 60 x 1). A cell width of 0 (grid not set up) keeps
// `current`.
UnitLayout UnitLayoutPick(int widthTw, int cellWidthTw, UnitLayout current);

// The window fit (twips). The layout is picked from the width the cells have:
// the window's width less the scroll bar's allowance while the grid shows one
// (so a window widened for its scroll bar keeps its layout).
struct UnitFitInput {
  int width = 0;
  int height = 0;
  int cellWidth = 0;  // above 0
  int cellHeight = 0;
  int scrollBarTwips = 0;
  bool scrollBarShown = false;
  int frameTwips = kUnitFrameTwips;
};
struct UnitFit {
  UnitLayout layout;
  int width = 0;
  int height = 0;
  bool verticalScrollBar = false;
};
// The width the cells of a window have (see UnitFitInput).
int UnitCellsWidth(int widthTw, int scrollBarTwips, bool scrollBarShown);
// Its layout's rows need rows x cell height + the frame: a window that high
// becomes exactly that (+ 30) and as wide as its columns + a fifth of a cell,
// without a vertical scroll bar; a lower one keeps its height and gets a
// scroll bar and the width for it (scroll bar + 10).
UnitFit UnitWindowFit(const UnitFitInput& in);

// The window's parts this logic drives. Rectangles are outer ones, in twips.
struct UnitWindowPort {
  std::function<WindowRect()> Bounds;
  std::function<void(const WindowRect&)> SetBounds;
  // Gives the window this size and centres it on the screen.
  std::function<void(int widthTw, int heightTw)> CenterAt;
  // The screen's size in twips (when not given, any place counts as on it).
  std::function<TextSize()> ScreenTwips;
  std::function<WindowState()> State;
  std::function<void(WindowState)> SetState;
  // File menu item 0 (change mode) caption and check, item 1 (save) enabled.
  std::function<void(const std::string& caption, bool checked)> ChangeItemSet;
  std::function<void(bool enabled)> SaveItemEnable;
  // The four Edit menu items enabled or not.
  std::function<void(bool enabled)> EditItemsEnable;
  // The editor window's non-print row lock.
  std::function<void(bool locked)> HiinsatuStateSet;
  // The editor's sheet grid, into which a unit is committed (null: none).
  std::function<GridModel*()> EditorSheet;
  // The editor's sheet grid takes the focus.
  std::function<void()> EditorSheetFocus;
  // Closes the window (which then runs Form_QueryUnload).
  std::function<void()> Unload;
  // Height beside the rows (title bar, menu bar, borders) in twips; when not
  // given, kUnitFrameTwips.
  std::function<int()> FrameTwips;
  // The system's vertical scroll bar width, in twips.
  int scrollBarTwips = 255;
};

class UnitList {
 public:
  UnitList(ProgramState& st, GridModel& grid, UnitWindowPort port);
  UnitList(const UnitList&) = delete;
  UnitList& operator=(const UnitList&) = delete;

  // Centres and raises the window, places it, lays out and fills the grid
  // from UNIT.DAT (6 x 10), viewing mode, locks the non-print row command.
  void Form_Load();
  // Re-layout after a size or state change (also right after the load).
  void Form_Resize();
  // The close: asks to save an unsaved list (Yes saves, No drops it, Cancel
  // or a failed save keeps the window open: false), writes the rectangle
  // unless minimised, clears UnitWindowOpen and frees the non-print row lock.
  bool Form_QueryUnload();

  // File menu: 0 change mode on/off, 1 save and leave change mode, 3 close.
  void mnuFItem_Click(int index);
  // Edit menu: 0 cut, 1 copy, 2 paste, 3 delete (each marks the list changed).
  void mnuEItem_Click(int index);
  void mnuHelp_Click();

  // Grid events (wired to the grid by the constructor).
  void UNIT2SHEET_DblClk(int col, int row);
  void UNIT2SHEET_EditEnd();
  void UNIT2SHEET_KeyDown2(int& key);
  void UNIT2SHEET_PreEdit(int& key);
  // A left button press on a cell: the cell's input mode (UnitCellInputModeSet).
  void UNIT2SHEET_LButtonDown(int col, int row);
  // A right button press: ignored (`ignore` set), the list has no popup menu.
  void UNIT2SHEET_RButtonDown(int col, int row, bool& ignore);
  // A range selection ends: it is cleared, so no range stays selected.
  void UNIT2SHEET_SelectEnd(int col, int row);
  // A split of the grid (x, y): taken back at once.
  void UNIT2SHEET_Divide(int x, int y);

  // The operations, by their names.
  void UnitWindowPlace();
  void UnitListLoad();
  void UnitGridSetup(int cols, int rows);
  void UnitGridFill(int cols, int rows);
  void UnitWindowSavePlace();
  void UnitWindowFit();
  void UnitLayoutPick(int& cols, int& rows) const;
  // False when the save failed (the list stays unsaved, change mode on).
  bool UnitListSaveIfModified();
  bool UnitListSave();
  void UnitGridCollect();
  void UnitEditMenuEnable(bool enabled);
  void UnitCellInputModeSet(int col, int row);

  bool ChangeMode() const { return changeMode_; }
  bool UnitsModified() const { return modified_; }
  UnitLayout Layout() const { return layout_; }
  const UnitFile& Units() const { return units_; }
  bool CellEditable() const { return editable_; }
  int UnitCellWidth() const { return cellWidth_; }
  int UnitCellHeight() const { return cellHeight_; }

 private:
  std::filesystem::path UnitFilePath() const;
  std::filesystem::path SysIniPath() const;
  void ChangeModeOff(bool keepProtected);
  void SetEditable(bool on);
  void ClearCell();

  ProgramState& st_;
  GridModel& grid_;
  UnitWindowPort port_;
  UnitFile units_;
  bool changeMode_ = false;
  bool modified_ = false;
  bool editable_ = false;
  bool loaded_ = false;
  int resizeDepth_ = 0;
  UnitLayout layout_;
  int cellWidth_ = 0;   // twips
  int cellHeight_ = 0;  // twips
};

// Opens the unit list window (View item 11, the TANI buttons): sets
// UnitWindowOpen and shows the window modeless.
void UnitWindowShow(ProgramState& st);

}  // namespace kv
