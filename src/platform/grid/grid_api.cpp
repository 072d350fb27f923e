#include "platform/grid/grid_api.h"

namespace kv {

void SetTextData32(GridModel& grid, int col, int row, std::string_view text) {
  grid.SetCellText(col, row, text);
}

std::string GetTextData32(const GridModel& grid, int col, int row) {
  return grid.CellText(col, row);
}

void SetCellTextColor32(GridModel& grid, int col, int row, int colour) {
  grid.SetCellColour(col, row, colour);
}

void SetMemoRow32(GridModel& grid, int row, int on) { grid.SetMemoRow(row, on != 0); }

void SetSelect32(GridModel& grid, int col1, int row1, int col2, int row2) {
  grid.SetSelection(col1, row1, col2, row2);
}

void GetSelect32(const GridModel& grid, int& col1, int& row1, int& col2, int& row2) {
  grid.GetSelection(col1, row1, col2, row2);
}

void ClearSelect32(GridModel& grid) { grid.ClearSelection(); }

void SetSheetLocate32(GridModel& grid, int col, int row) { grid.SetCursor(col, row); }

void GetTopCell32(const GridModel& grid, int pane, int& col, int& row) {
  grid.GetTopCell(pane, col, row);
}

void SetTopCell32(GridModel& grid, int pane, int col, int row) { grid.SetTopCell(pane, col, row); }

void SetZoom32(GridModel& grid, int percent) { grid.SetZoom(percent); }

void SetDivide32(GridModel& grid, int x, int y) { grid.SetDivide(x, y); }

void SetDefColPos32(GridModel& grid, int col, int pos) { grid.SetColAlign(col, pos); }

void SetRowHeight32(GridModel& grid, int row, int height) { grid.SetRowHeight(row, height); }

void SetColWidth32(GridModel& grid, int col, int width) { grid.SetColWidth(col, width); }

int PointToHeight32(GridModel& grid, int pointSize) {
  return grid.FontMetrics().LineHeight(grid.FontName(), pointSize);
}

int PointToWidth32(GridModel& grid, int pointSize) {
  return grid.FontMetrics().CharWidth(grid.FontName(), pointSize);
}

int WidthToPoint32(const GridModel&, int width) {
  return (width * kTwipsPerGridUnit + kTwipsPerPoint / 2) / kTwipsPerPoint;
}

int GetColRealWidth32(const GridModel& grid, int col) { return grid.Scaled(grid.ColWidth(col)); }

int GetCellPosition32(const GridModel& grid, int pane, const GridRect& cells, GridRect& out) {
  return grid.CellRangePosition(pane, cells, out) ? 1 : 0;
}

int GetActiveClientNum32(const GridModel& grid) { return grid.ActivePane(); }

void InsertRow32(GridModel& grid, int row, int count) { grid.InsertRows(row, count); }

void DeleteRow32(GridModel& grid, int row, int count) { grid.DeleteRows(row, count); }

int IsCellOutOfRange32(const GridModel& grid, int pane, int col, int row) {
  return grid.IsCellOutOfRange(pane, col, row) ? 1 : 0;
}

void LineDownScroll32(GridModel& grid) { grid.LineDownScroll(); }

void LineRightScroll32(GridModel& grid) { grid.LineRightScroll(); }

}  // namespace kv
