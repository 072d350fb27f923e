#pragma once
// The sheet grid: a Qt-free model of every sheet grid of the program (the
// estimate sheet, the one-row memo editor, the reference, search and master
// windows each own one). The sheet engine drives it through the free
// functions of grid_api.h and the named properties below; the Qt view
// (qt/grid_view.h) paints it and turns mouse and keys into its input calls,
// which raise the events of `events`.
//
// Geometry: row 0 is the caption row, column 0 the row headers; RowCount and
// ColCount do not count them. With TotalsLine on, the last row is the totals
// line, shown fixed at the bottom; the rows between are the body.
//
// Text: cell texts are display text (UTF-8); the engine converts to and from
// the stored Shift-JIS. A line feed (LF, or CR LF) breaks a cell into lines.
//
// The sheet engine's numbered properties and methods are the named members
// below, each marked with its number; 37 (the handle) is the model itself,
// which every grid_api.h function takes first. Methods: 43 BeginEdit,
// 48 Refresh, 57 SaveItems, 63 ItemGeometry.
//
// Events are raised synchronously; a handler may call back into the model.
// A handler that moves the cursor (or the split) to where the event it is
// handling already reports is not called again for it, and nesting stops at
// 32 levels, so handlers that answer each other cannot recurse for ever.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/grid/grid_item_file.h"
#include "platform/grid/grid_metrics.h"

namespace kv {

// A rectangle: cells (left col, top row, right col, bottom row) or pixels of
// the view's viewport (right and bottom exclusive).
struct GridRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const GridRect&) const = default;
};

struct GridEvents {
  // Typing (or F2, or an input-method composition) is about to open the
  // cursor cell; key is the typed character; setting it to 0 refuses.
  std::function<void(int& key)> PreEdit;
  // An in-cell edit ended; the text is EditText() (and the cell's text).
  std::function<void()> EditEnd;
  // The cursor moved to (col, row).
  std::function<void(int col, int row)> Locate;
  std::function<void(int col, int row)> DblClk;
  // The split moved; x = 0 when unsplit.
  std::function<void(int x, int y)> Divide;
  // Mouse buttons; ignore = true stops the grid's own handling of the click.
  std::function<void(int col, int row, bool& ignore)> LButtonDown;
  std::function<void(int col, int row, bool& ignore)> RButtonDown;
  // A key, before the grid acts on it; key = 0 consumes it.
  std::function<void(int& key, bool shift, bool ctrl)> KeyDown2;
  // A range selection by the mouse (or Shift and a cursor key) ended at (col, row).
  std::function<void(int col, int row)> SelectEnd;
  // The user selected embedded item `item` (1-based).
  std::function<void(int item)> ItemSelected;
  // The user moved or resized the selected item: its first cell, its offset
  // inside that cell and its size, in points (x 20 = twips). ignore = true
  // puts it back.
  std::function<void(int col, int row, int left, int top, int width, int height, bool& ignore)>
      ItemMoveResized;
  std::function<void()> GotFocus;
};

// What the view is told; every call is optional to act on.
class GridObserver {
 public:
  virtual ~GridObserver() = default;
  // Something shown changed: repaint.
  virtual void GridChanged() {}
  // Sizes, counts, zoom, split, scroll position or scroll bars changed.
  virtual void GridLayoutChanged() {}
  // An in-cell edit opened on the cursor cell. `typing`: the edit was opened
  // by typing `text` (which replaces the cell); otherwise `text` is the cell's
  // text and `caret` places the caret (0 end, 1 start, 2 all selected).
  virtual void GridEditStarted(const std::string& text, int caret, bool typing) {}
  // The program closed the edit without a commit.
  virtual void GridEditClosed() {}
  // Visible or Enabled changed.
  virtual void GridShowStateChanged() {}
};

// Where a viewport pixel lies.
struct GridHit {
  enum Kind { None, Cell, SplitBar } kind = None;
  int pane = 0;  // 1 left, 2 right
  int col = -1;  // 0 = header column, -1 = right of the last column
  int row = -1;  // 0 = caption row, -1 = below the last row
};

class GridModel {
 public:
  GridModel();
  ~GridModel();
  GridModel(const GridModel&) = delete;
  GridModel& operator=(const GridModel&) = delete;

  GridEvents events;

  void SetObserver(GridObserver* observer) { observer_ = observer; }
  // Font measures for PointToHeight32/PointToWidth32; nullptr = nominal ones.
  void SetFontMetrics(GridFontMetrics* metrics);
  GridFontMetrics& FontMetrics();

  // ---- Properties (the number each stands for in the sheet engine) ----
  const std::string& FontName() const { return fontName_; }  // 1
  void SetFontName(std::string name);
  int FontSize() const { return fontSize_; }  // 2 (points)
  void SetFontSize(int points);
  int ColCount() const { return colCount_; }  // 3
  void SetColCount(int count);
  // 4. A new row count also empties the object layer: items belong to the
  // layout of one sheet, and every sheet set-up lays the grid out again.
  int RowCount() const { return rowCount_; }
  void SetRowCount(int count);
  bool TotalsLine() const { return totalsLine_; }  // 5: last row is the totals line
  void SetTotalsLine(bool on);
  bool GridLines() const { return gridLines_; }  // 6
  void SetGridLines(bool on);
  // 7: mouse and selection mode: 2 single cells (no range by dragging),
  // 3 row marking (no range by dragging, pointing-hand pointer), else ranges.
  int MouseMode() const { return mouseMode_; }
  void SetMouseMode(int mode);
  // 8: edit mode of the cursor cell: 9 typing opens the cell; any other value
  // (15, 0, 3) it does not. BeginEdit opens it whatever this says.
  int EditMode() const { return editMode_; }
  void SetEditMode(int mode);
  bool CursorShown() const { return cursorShown_; }  // 9: cursor frame drawn
  void SetCursorShown(bool on);
  bool Redraw() const { return redraw_; }  // 10: painting on
  void SetRedraw(bool on);
  // 11: a click on a caption selects the column, on a row header the row,
  // on the corner everything (when the click is not ignored).
  bool HeaderClickSelects() const { return headerClickSelects_; }
  void SetHeaderClickSelects(bool on);
  // 14: page-break line style: 0 dotted, 1 thick dotted, 2 solid, 3 thick solid.
  int PageLineStyle() const { return pageLineStyle_; }
  void SetPageLineStyle(int style);
  // 15: colour number of the selection marking; 0 = the grid's own.
  int SelectionColour() const { return selectionColour_; }
  void SetSelectionColour(int colour);
  // 20: text of the cursor cell.
  std::string CurrentText() const;
  void SetCurrentText(std::string_view text);
  // 21, 22 (and X): writing them moves the cursor and raises Locate.
  int CurrentCol() const { return curCol_; }
  void SetCurrentCol(int col);
  int CurrentRow() const { return curRow_; }
  void SetCurrentRow(int row);
  int Zoom() const { return zoom_; }  // 23 (percent, 10..400)
  void SetZoom(int percent);
  // 26: text colour of the cursor cell (0 = the default colour).
  int CurrentCellColour() const;
  void SetCurrentCellColour(int colour);
  bool HorizontalScrollBar() const { return hScrollBar_; }  // 27
  void SetHorizontalScrollBar(bool on);
  bool VerticalScrollBar() const { return vScrollBar_; }  // 28
  void SetVerticalScrollBar(bool on);
  // 32: text mode of the cursor column (3 = two-line text).
  int ColumnTextMode() const;
  void SetColumnTextMode(int mode);
  int ColumnTextModeOf(int col) const;
  // 35: while a range is dragged past the edge, the grid scrolls.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool on);
  // Input-method switch of the cursor cell: on = Japanese input when entered.
  bool ImeOn() const;
  void SetImeOn(bool on);
  bool CellImeOn(int col, int row) const;
  // The text of the cell just edited.
  const std::string& EditText() const { return editText_; }
  bool Visible() const { return visible_; }
  void SetVisible(bool on);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool on);

  // ---- Cells (94: CellText) ----
  std::string CellText(int col, int row) const;
  void SetCellText(int col, int row, std::string_view text);  // cut at a NUL
  int CellColour(int col, int row) const;
  void SetCellColour(int col, int row, int colour);
  bool MemoRow(int row) const;
  void SetMemoRow(int row, bool on);
  bool PageBreak(int row) const;  // 95
  void SetPageBreak(int row, bool on);
  // Column alignment: 0 left, 1 centre, 2 right.
  int ColAlign(int col) const;
  void SetColAlign(int col, int align);
  int RowHeight(int row) const;  // grid units
  void SetRowHeight(int row, int height);
  int ColWidth(int col) const;  // grid units
  void SetColWidth(int col, int width);
  int LastBodyRow() const;
  int TotalsRow() const;  // -1 without a totals line

  // Rows from `row` move down by `count` (the last body rows drop off) or up
  // (blank rows come in at the bottom) with their texts, colours, memo and
  // page-break flags. Row headers keep their texts (they label positions) and
  // move their colours; rows opened at the bottom take the header colour of
  // the last row. The caption row and the totals line stay. No event.
  void InsertRows(int row, int count);
  void DeleteRows(int row, int count);

  // ---- Cursor and selection ----
  // Moves the cursor (clamped to the cells) and raises Locate.
  void SetCursor(int col, int row);
  // The marked range in drag order; without one, the cursor cell twice.
  void GetSelection(int& c1, int& r1, int& c2, int& r2) const;
  void SetSelection(int c1, int r1, int c2, int r2);
  void ClearSelection();
  bool HasSelection() const { return selActive_; }
  bool IsSelected(int col, int row) const;

  // ---- Viewport, panes, scrolling ----
  // The view's drawing area in pixels (tests set it directly).
  void SetViewportSize(int width, int height);
  int ViewportWidth() const { return viewW_; }
  int ViewportHeight() const { return viewH_; }
  void SetDivide(int x, int y);  // split at x grid units; raises Divide
  int DivideX() const { return divideX_; }
  int DivideY() const { return divideY_; }
  bool Split() const { return divideX_ > 0; }
  int ActivePane() const { return activePane_; }
  void SetActivePane(int pane);
  // Top-left scrolled cell of a pane (0 = the active one); the top row is
  // shared by both panes, the left column is each pane's own.
  void GetTopCell(int pane, int& col, int& row) const;
  void SetTopCell(int pane, int col, int row);
  int TopRow() const { return topRow_; }
  int LeftCol(int pane) const;
  int MaxTopRow() const;
  int MaxLeftCol(int pane) const;
  bool IsCellOutOfRange(int pane, int col, int row) const;
  void LineDownScroll();
  void LineRightScroll();
  // Scrolls the active pane so that the cell is fully shown.
  void EnsureVisible(int col, int row);

  // Pixel geometry of the viewport (right/bottom exclusive).
  int Scaled(int units) const;  // grid units -> pixels at the zoom
  GridRect PaneRect(int pane) const;  // the pane's area, headers included
  GridRect SplitBarRect() const;      // empty when unsplit
  int HeaderWidth() const;
  int CaptionHeight() const;
  int BodyTop() const { return CaptionHeight(); }
  int BodyBottom() const;
  int CellsLeft(int pane) const;  // x where the pane's first scrolled column starts
  int ColX(int pane, int col) const;
  int RowY(int row) const;  // the totals line at BodyBottom()
  // The cell's rectangle in the pane (unclipped); false when the pane does
  // not show that column at all (the header column in pane 2).
  bool CellRect(int pane, int col, int row, GridRect& out) const;
  // Visible body rows and a pane's visible columns (first > last when none).
  void VisibleRows(int& first, int& last) const;
  void VisibleCols(int pane, int& first, int& last) const;
  GridHit HitTest(int x, int y) const;
  // Pixel rectangle of a cell range, from the top-left cell's corner; false
  // when that cell has no position (off the grid, the totals line, the
  // header column of pane 2, or scrolled out of the pane).
  bool CellRangePosition(int pane, const GridRect& cells, GridRect& out) const;

  // ---- Input (the view calls these; tests too) ----
  // Raises KeyDown2 and, unless the key was consumed, acts on it. Returns
  // true when the handler consumed the key.
  bool KeyDown(int key, bool shift, bool ctrl);
  // Typing into a closed cell: when the edit mode allows, raises PreEdit
  // with `key` and opens the cell with `typed`. True when it opened.
  bool StartEditByTyping(int key, std::string_view typed);
  // 43: opens the cursor cell for editing, caret 0 end, 1 start, 2 all.
  void BeginEdit(int caret);
  bool Editing() const { return editing_; }
  int EditCol() const { return editCol_; }
  int EditRow() const { return editRow_; }
  // The view's editor closed with this text: the cell takes it, EditEnd.
  void CommitEdit(std::string_view text);
  void CancelEdit();  // closes without EditEnd
  // 48: ends an edit without commit and a drag in progress, and repaints.
  void Refresh();
  // Mouse: pane and cell from HitTest. LeftButtonDown returns true when the
  // grid handled the click itself (then a drag may follow).
  bool LeftButtonDown(int pane, int col, int row, bool shift);
  void DragTo(int col, int row);
  void LeftButtonUp();
  bool Dragging() const { return dragging_; }
  void RightButtonDown(int col, int row);
  void DoubleClick(int col, int row);
  void FocusGained();
  // The user dropped the split bar at viewport x (left of the cells = unsplit).
  void DropSplitBar(int x);

  // ---- Object layer (items are numbered from 1) ----
  GridFileResult LoadItems(const std::string& path);  // the layer is replaced only on success
  GridFileResult SaveItems(const std::string& path) const;  // 57
  int GetItemNum() const { return int(items_.size()); }
  int ItemCount() const { return int(items_.size()); }  // 61
  const GridItem& Item(int item) const;  // 1..count
  uint64_t ItemSerial(int item) const;   // changes only when the item is replaced
  int SelectedItem() const { return selectedItem_; }  // 0 = none
  void SelectItem(int item);  // by the program: no event
  void UserSelectItem(int item);  // by the user: raises ItemSelected
  // 63: the item's corner cells; returns the last row it covers (0 if none).
  int ItemGeometry(int item, int& col1, int& row1, int& col2, int& row2) const;
  int ItemCol(int item) const;
  int ItemRow(int item) const;
  int ItemWidthTwips(int item) const;
  int ItemHeightTwips(int item) const;
  void MoveItem(int item, int col, int row);
  void ResizeItem(int item, int widthTwips, int heightTwips);
  // Creates an item at (col, row) holding `data`; a size of 0 covers that
  // one cell. Returns its number. Create-from-file reads the file's bytes
  // (0 and nothing created when it cannot be read).
  int CreateItem(int col, int row, std::string data, int widthTwips = 0, int heightTwips = 0);
  int CreateItemFromFile(const std::string& path, int col, int row, int widthTwips = 0,
                         int heightTwips = 0);
  void DeleteItem(int item);
  void ClearItems();
  // The item's pixel rectangle in a pane (unclipped).
  GridRect ItemViewRect(int pane, int item) const;
  // The topmost item under a viewport pixel, 0 when none.
  int ItemAt(int x, int y) const;
  // The user dragged item `item` to a new pixel rectangle in `pane`: it is
  // placed there, ItemMoveResized is raised, and an ignore puts it back.
  bool UserMoveResizeItem(int item, int pane, const GridRect& viewRect);

 private:
  struct Cell;
  struct Row;
  struct Layout;
  struct PlacedItem {
    GridItem rec;
    uint64_t serial = 0;
  };

  bool ValidCell(int col, int row) const;
  Cell* CellAt(int col, int row);
  const Cell* CellAt(int col, int row) const;
  void ClampCursor();
  void ResizeColumns();
  void MoveCursorTo(int col, int row, bool byUser);
  void Changed();
  void LayoutChanged();
  const Layout& Lay() const;
  int PaneCellsRight(int pane) const;
  int LinearRowY(int row) const;
  int RowAtY(int y) const;  // body row under a viewport y, clamped
  int ColAtX(int pane, int x) const;
  void ClampScroll();
  void PlaceItemCorners(GridItem& it) const;
  bool ValidItem(int item) const { return item >= 1 && item <= int(items_.size()); }
  void KeyDefault(int key, bool shift, bool ctrl);
  void OpenEdit(const std::string& text, int caret, bool typing);

  // Raising events; each copes with a handler that calls back in.
  void RaiseLocate(int col, int row);
  void RaiseDivide(int x, int y);
  void RaiseSelectEnd(int col, int row);
  bool RaisePreEdit(int& key);
  bool RaiseButton(bool left, int col, int row);  // true = ignore
  void RaiseKeyDown2(int& key, bool shift, bool ctrl);
  bool RaiseItemMoveResized(int col, int row, int left, int top, int width, int height);
  void ScrollChanged();
  int ResolvePane(int pane) const;  // 0 = active; 0 back when no such pane
  int SplitX() const;

  GridObserver* observer_ = nullptr;
  std::unique_ptr<GridFontMetrics> nominalMetrics_;
  GridFontMetrics* metrics_ = nullptr;

  std::string fontName_;
  int fontSize_ = 10;
  int colCount_ = 0;
  int rowCount_ = 0;
  bool totalsLine_ = false;
  bool gridLines_ = true;
  int mouseMode_ = 0;
  int editMode_ = 9;
  bool cursorShown_ = true;
  bool redraw_ = true;
  bool headerClickSelects_ = true;
  int pageLineStyle_ = 2;
  int selectionColour_ = 0;
  int zoom_ = 100;
  bool hScrollBar_ = true;
  bool vScrollBar_ = true;
  bool autoScroll_ = false;
  bool visible_ = true;
  bool enabled_ = true;

  std::vector<Row> rows_;                // 0..rowCount_
  std::vector<std::string> headerText_;  // by row position
  std::vector<int> rowHeights_;          // 0..rowCount_
  std::vector<int> colWidths_;           // 0..colCount_
  std::vector<uint8_t> colAlign_;
  std::vector<uint8_t> colMode_;

  int curCol_ = 0, curRow_ = 0;
  bool selActive_ = false;
  int selC1_ = 0, selR1_ = 0, selC2_ = 0, selR2_ = 0;
  bool dragging_ = false;  // a left button pressed in a cell is down
  int dragCol_ = 0, dragRow_ = 0;

  int viewW_ = 0, viewH_ = 0;
  int divideX_ = 0, divideY_ = 0;
  int activePane_ = 1;
  int topRow_ = 1;
  int leftCol_[2] = {1, 1};
  mutable std::unique_ptr<Layout> layout_;

  bool editing_ = false;
  int editCol_ = 0, editRow_ = 0;
  std::string editText_;

  std::vector<PlacedItem> items_;
  std::string itemHeader_;
  uint64_t nextSerial_ = 1;
  int selectedItem_ = 0;

  int eventDepth_ = 0;
  int locateDepth_ = 0;
  int locateCol_ = -1, locateRow_ = -1;
  int divideDepth_ = 0;
  int divideEvX_ = -1, divideEvY_ = -1;
};

}  // namespace kv
