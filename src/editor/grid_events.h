#pragma once
// The sheet grid's editing events on the editor window: which cells typing
// may open and with which input method, the hand-over of a typed text to the
// cell commit (or into the closing record on the totals line), the split
// position per level, and the double click that opens the editor a cell
// asks for. Logic over the grid models; the window reaches its calculator
// box and focus through EditorGridPort.
#include <string>

namespace kv {

struct ProgramState;
class GridModel;
class MemoEditorPort;
class LevelBarPort;
struct FileMenuPort;

// What the handlers ask of the editor window.
class EditorGridPort {
 public:
  virtual ~EditorGridPort() = default;
  // The calculator box: shown over the status bar (the bar hidden), or
  // hidden with the status bar shown again.
  virtual void CalcBoxShow(bool shown) = 0;
  virtual bool CalcBoxVisible() const = 0;
  virtual std::string CalcBoxText() const = 0;  // display text
  // Sets the box's text with the caret at its end.
  virtual void SetCalcBoxText(const std::string& text) = 0;
  virtual void CalcBoxFocus() = 0;
  // The sheet grid takes the keyboard focus.
  virtual void SheetFocus() = 0;
  // Shows the grid's popup edit menu at the mouse pointer; the item chosen
  // runs its command (mnuSysInfo_Click).
  virtual void EditPopupShow() {}
};

// The editor's two grids and what stands around them.
struct EditorGrids {
  ProgramState& st;
  GridModel& sheet;     // EdtSheet
  GridModel& rowSheet;  // RowSheet, the memo-row editor
  EditorGridPort& port;
  MemoEditorPort& memo;
  // The window's level bar (null: no captions) and its File menu (null: F4
  // does nothing beyond ending a marking mode).
  LevelBarPort* bar = nullptr;
  const FileMenuPort* fileMenu = nullptr;
};

// Row kinds whose text runs across the row (memo rows and headings).
bool IsMemoKind(char kind);
// The kind byte of sheet row `row` (" " for a row past the records).
char RowKind(const ProgramState& st, int row);
// The column has a row definition (its values are computed).
bool IsComputedColumn(const ProgramState& st, int level, int col);
// Column `col` of the current level is hidden in the level's mask screen.
bool IsMaskedColumn(const ProgramState& st, int col);
// Column `col` exists on the current level.
bool IsLevelColumn(const ProgramState& st, int col);
// Status panel `panel` of the editor shows `text`.
void EditorPanelSet(ProgramState& st, int panel, const std::string& text);

// The cursor moved to (col, row).
void EdtSheet_Locate(EditorGrids& g, int col, int row);
// An in-cell edit is about to open; key = 0 refuses it.
void EdtSheet_PreEdit(EditorGrids& g, int& key);
// An in-cell edit ended with the grid's EditText.
void EdtSheet_EditEnd(EditorGrids& g);
void EdtSheet_GotFocus(EditorGrids& g);
void EdtSheet_ItemSelected(ProgramState& st, int item);
void EdtSheet_SelectEnd(EditorGrids& g, int col, int row);
// The user split (x non-zero) or unsplit (x = 0) the sheet.
void EdtSheet_Divide(EditorGrids& g, int x, int y);
// A double click; the cursor cell the click before set decides.
void EdtSheet_DblClk(EditorGrids& g, int col, int row);

// Sets the events of both grids to the editor's handlers (the key table,
// the calculator box's and the memo editor's handlers included).
void WireEditorGridEvents(EditorGrids& g);

}  // namespace kv
