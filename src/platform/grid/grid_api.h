#pragma once
// The grid library the sheet engine calls: one function per call it makes,
// with the model in place of the sheet handle. Texts are display text (UTF-8);
// a text ends at its first NUL. Panes are 1 (left) and 2 (right of the
// split); 0 names the active pane. Sizes are grid units (pixels at zoom 100 %).
#include <string>
#include <string_view>

#include "platform/grid/grid_model.h"

namespace kv {

void SetTextData32(GridModel& grid, int col, int row, std::string_view text);
// The cell's whole text (no 256-byte limit).
std::string GetTextData32(const GridModel& grid, int col, int row);
// Colour numbers 0, 2, 3, 4, 5, 7, 14 (grid_palette.h); kept until changed.
void SetCellTextColor32(GridModel& grid, int col, int row, int colour);
// on 1: the row shows column 1's text over all columns; 0 switches it off.
void SetMemoRow32(GridModel& grid, int row, int on);
void SetSelect32(GridModel& grid, int col1, int row1, int col2, int row2);
// Corners in drag order; without a marked range the cursor cell twice.
void GetSelect32(const GridModel& grid, int& col1, int& row1, int& col2, int& row2);
void ClearSelect32(GridModel& grid);
// Moves the cursor and raises Locate before it returns.
void SetSheetLocate32(GridModel& grid, int col, int row);
void GetTopCell32(const GridModel& grid, int pane, int& col, int& row);
// A column or row below 1 leaves that part as it is.
void SetTopCell32(GridModel& grid, int pane, int col, int row);
void SetZoom32(GridModel& grid, int percent);
// Splits at x grid units (0 = no split) and raises Divide.
void SetDivide32(GridModel& grid, int x, int y);
// Column alignment: 0 left, 1 centre, 2 right.
void SetDefColPos32(GridModel& grid, int col, int pos);
void SetRowHeight32(GridModel& grid, int row, int height);
void SetColWidth32(GridModel& grid, int col, int width);
// Line height and half-width character width of the grid's font at a size.
int PointToHeight32(GridModel& grid, int pointSize);
int PointToWidth32(GridModel& grid, int pointSize);
// Grid units to points (x 20 = twips).
int WidthToPoint32(const GridModel& grid, int width);
// The column's width as shown, at the zoom (pixels).
int GetColRealWidth32(const GridModel& grid, int col);
// Viewport pixel rectangle of a cell range (left col, top row, right col,
// bottom row); 0 when its top-left cell has no position (the totals line, a
// cell scrolled out of the pane), else 1.
int GetCellPosition32(const GridModel& grid, int pane, const GridRect& cells, GridRect& out);
int GetActiveClientNum32(const GridModel& grid);
void InsertRow32(GridModel& grid, int row, int count);
void DeleteRow32(GridModel& grid, int row, int count);
// Non-zero when the cell is not fully shown in the pane.
int IsCellOutOfRange32(const GridModel& grid, int pane, int col, int row);
void LineDownScroll32(GridModel& grid);
void LineRightScroll32(GridModel& grid);

}  // namespace kv
