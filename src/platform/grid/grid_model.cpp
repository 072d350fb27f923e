// GridModel: properties, cells, row moves, cursor and selection, events.
#include <algorithm>

#include "platform/grid/grid_model_parts.h"

namespace kv {

using gridimpl::CallHandler;
using gridimpl::kMaxEventDepth;
using gridimpl::Restore;

GridModel::GridModel()
    : nominalMetrics_(std::make_unique<NominalGridFontMetrics>()),
      metrics_(nominalMetrics_.get()),
      fontName_("\xEF\xBC\xAD\xEF\xBC\xB3 \xE6\x98\x8E\xE6\x9C\x9D") {  // "ＭＳ 明朝"
  rows_.resize(1);
  rows_[0].cells.resize(1);
  headerText_.resize(1);
  rowHeights_.assign(1, kDefaultRowHeight);
  colWidths_.assign(1, kDefaultHeaderWidth);
  colAlign_.assign(1, 0);
  colMode_.assign(1, 0);
}

GridModel::~GridModel() = default;

void GridModel::SetFontMetrics(GridFontMetrics* metrics) {
  metrics_ = metrics ? metrics : nominalMetrics_.get();
}

GridFontMetrics& GridModel::FontMetrics() { return *metrics_; }

// ---- Notifications ----

void GridModel::Changed() {
  if (redraw_ && observer_) observer_->GridChanged();
}

void GridModel::ScrollChanged() {
  if (redraw_ && observer_) {
    observer_->GridLayoutChanged();
    observer_->GridChanged();
  }
}

void GridModel::LayoutChanged() {
  layout_.reset();
  ScrollChanged();
}

// ---- Properties ----

void GridModel::SetFontName(std::string name) {
  fontName_ = std::move(name);
  Changed();
}

void GridModel::SetFontSize(int points) {
  fontSize_ = std::clamp(points, 1, 400);
  Changed();
}

void GridModel::ResizeColumns() {
  for (Row& r : rows_) r.cells.resize(size_t(colCount_) + 1);
  colWidths_.resize(size_t(colCount_) + 1, kDefaultColWidth);
  colAlign_.resize(size_t(colCount_) + 1, 0);
  colMode_.resize(size_t(colCount_) + 1, 0);
}

void GridModel::ClampCursor() {
  curCol_ = colCount_ >= 1 ? std::clamp(curCol_, 1, colCount_) : 0;
  curRow_ = rowCount_ >= 1 ? std::clamp(curRow_, 1, rowCount_) : 0;
  auto clampC = [&](int& c) { c = std::clamp(c, std::min(1, colCount_), colCount_); };
  auto clampR = [&](int& r) { r = std::clamp(r, std::min(1, rowCount_), rowCount_); };
  clampC(selC1_);
  clampC(selC2_);
  clampR(selR1_);
  clampR(selR2_);
  if (editing_ && (editCol_ > colCount_ || editRow_ > rowCount_)) CancelEdit();
}

void GridModel::SetColCount(int count) {
  colCount_ = std::clamp(count, 0, kMaxGridCols);
  ResizeColumns();
  ClampCursor();
  LayoutChanged();
  ClampScroll();
}

void GridModel::SetRowCount(int count) {
  rowCount_ = std::clamp(count, 0, kMaxGridRows);
  const size_t n = size_t(rowCount_) + 1;
  const size_t old = rows_.size();
  rows_.resize(n);
  for (size_t r = old; r < n; ++r) rows_[r].cells.resize(size_t(colCount_) + 1);
  headerText_.resize(n);
  rowHeights_.resize(n, kDefaultRowHeight);
  ClearItems();
  ClampCursor();
  LayoutChanged();
  ClampScroll();
}

void GridModel::SetTotalsLine(bool on) {
  totalsLine_ = on;
  LayoutChanged();
  ClampScroll();
}

void GridModel::SetGridLines(bool on) {
  gridLines_ = on;
  Changed();
}

void GridModel::SetMouseMode(int mode) {
  mouseMode_ = mode;
  Changed();
}

void GridModel::SetEditMode(int mode) { editMode_ = mode; }

void GridModel::SetCursorShown(bool on) {
  cursorShown_ = on;
  Changed();
}

void GridModel::SetRedraw(bool on) {
  redraw_ = on;
  if (on) LayoutChanged();
}

void GridModel::SetHeaderClickSelects(bool on) { headerClickSelects_ = on; }

void GridModel::SetPageLineStyle(int style) {
  pageLineStyle_ = std::clamp(style, 0, 3);
  Changed();
}

void GridModel::SetSelectionColour(int colour) {
  selectionColour_ = colour;
  Changed();
}

std::string GridModel::CurrentText() const { return CellText(curCol_, curRow_); }

void GridModel::SetCurrentText(std::string_view text) { SetCellText(curCol_, curRow_, text); }

void GridModel::SetCurrentCol(int col) { SetCursor(col, curRow_); }

void GridModel::SetCurrentRow(int row) { SetCursor(curCol_, row); }

int GridModel::CurrentCellColour() const { return CellColour(curCol_, curRow_); }

void GridModel::SetCurrentCellColour(int colour) { SetCellColour(curCol_, curRow_, colour); }

void GridModel::SetHorizontalScrollBar(bool on) {
  hScrollBar_ = on;
  LayoutChanged();
}

void GridModel::SetVerticalScrollBar(bool on) {
  vScrollBar_ = on;
  LayoutChanged();
}

int GridModel::ColumnTextMode() const { return ColumnTextModeOf(curCol_); }

void GridModel::SetColumnTextMode(int mode) {
  if (curCol_ < 0 || curCol_ > colCount_) return;
  colMode_[size_t(curCol_)] = uint8_t(std::clamp(mode, 0, 255));
  Changed();
}

int GridModel::ColumnTextModeOf(int col) const {
  return col >= 0 && col <= colCount_ ? colMode_[size_t(col)] : 0;
}

void GridModel::SetAutoScroll(bool on) { autoScroll_ = on; }

bool GridModel::ImeOn() const { return CellImeOn(curCol_, curRow_); }

void GridModel::SetImeOn(bool on) {
  if (Cell* c = CellAt(curCol_, curRow_)) c->ime = on;
  if (observer_) observer_->GridShowStateChanged();
}

bool GridModel::CellImeOn(int col, int row) const {
  const Cell* c = CellAt(col, row);
  return c && c->ime;
}

void GridModel::SetVisible(bool on) {
  visible_ = on;
  if (observer_) observer_->GridShowStateChanged();
}

void GridModel::SetEnabled(bool on) {
  enabled_ = on;
  if (!on) dragging_ = false;
  if (observer_) observer_->GridShowStateChanged();
}

// ---- Cells ----

bool GridModel::ValidCell(int col, int row) const {
  return col >= 0 && col <= colCount_ && row >= 0 && row <= rowCount_;
}

GridModel::Cell* GridModel::CellAt(int col, int row) {
  return ValidCell(col, row) ? &rows_[size_t(row)].cells[size_t(col)] : nullptr;
}

const GridModel::Cell* GridModel::CellAt(int col, int row) const {
  return ValidCell(col, row) ? &rows_[size_t(row)].cells[size_t(col)] : nullptr;
}

std::string GridModel::CellText(int col, int row) const {
  if (!ValidCell(col, row)) return {};
  return col == 0 ? headerText_[size_t(row)] : rows_[size_t(row)].cells[size_t(col)].text;
}

void GridModel::SetCellText(int col, int row, std::string_view text) {
  if (!ValidCell(col, row)) return;
  // The engine's texts end at a NUL, as the grid library's did.
  text = text.substr(0, text.find('\0'));
  if (col == 0)
    headerText_[size_t(row)].assign(text);
  else
    rows_[size_t(row)].cells[size_t(col)].text.assign(text);
  Changed();
}

int GridModel::CellColour(int col, int row) const {
  const Cell* c = CellAt(col, row);
  return c ? c->colour : 0;
}

void GridModel::SetCellColour(int col, int row, int colour) {
  if (Cell* c = CellAt(col, row)) {
    c->colour = uint8_t(std::clamp(colour, 0, 255));
    Changed();
  }
}

bool GridModel::MemoRow(int row) const {
  return row >= 0 && row <= rowCount_ && rows_[size_t(row)].memo;
}

void GridModel::SetMemoRow(int row, bool on) {
  if (row < 0 || row > rowCount_) return;
  rows_[size_t(row)].memo = on;
  Changed();
}

bool GridModel::PageBreak(int row) const {
  return row >= 0 && row <= rowCount_ && rows_[size_t(row)].pageBreak;
}

void GridModel::SetPageBreak(int row, bool on) {
  if (row < 0 || row > rowCount_) return;
  rows_[size_t(row)].pageBreak = on;
  Changed();
}

int GridModel::ColAlign(int col) const {
  return col >= 0 && col <= colCount_ ? colAlign_[size_t(col)] : 0;
}

void GridModel::SetColAlign(int col, int align) {
  if (col < 0 || col > colCount_) return;
  colAlign_[size_t(col)] = uint8_t(align >= 0 && align <= 2 ? align : 0);
  Changed();
}

int GridModel::RowHeight(int row) const {
  return row >= 0 && row <= rowCount_ ? rowHeights_[size_t(row)] : 0;
}

void GridModel::SetRowHeight(int row, int height) {
  if (row < 0 || row > rowCount_) return;
  rowHeights_[size_t(row)] = std::clamp(height, 0, 10000);
  LayoutChanged();
}

int GridModel::ColWidth(int col) const {
  return col >= 0 && col <= colCount_ ? colWidths_[size_t(col)] : 0;
}

void GridModel::SetColWidth(int col, int width) {
  if (col < 0 || col > colCount_) return;
  colWidths_[size_t(col)] = std::clamp(width, 0, 100000);
  LayoutChanged();
}

int GridModel::TotalsRow() const { return totalsLine_ && rowCount_ >= 1 ? rowCount_ : -1; }

int GridModel::LastBodyRow() const { return TotalsRow() > 0 ? rowCount_ - 1 : rowCount_; }

// ---- Row moves ----

void GridModel::InsertRows(int row, int count) {
  const int last = LastBodyRow();
  if (row < 1 || row > last || count < 1) return;
  count = std::min(count, last - row + 1);
  auto first = rows_.begin() + row;
  auto end = rows_.begin() + last + 1;
  // The last `count` rows of the range come to its front and are blanked.
  std::rotate(first, end - count, end);
  for (int r = row; r < row + count; ++r) {
    Row& x = rows_[size_t(r)];
    for (Cell& c : x.cells) c = Cell{};
    x.memo = false;
    x.pageBreak = false;
  }
  Changed();
}

void GridModel::DeleteRows(int row, int count) {
  const int last = LastBodyRow();
  if (row < 1 || row > last || count < 1) return;
  count = std::min(count, last - row + 1);
  const uint8_t tailHeaderColour = rows_[size_t(last)].cells[0].colour;
  auto first = rows_.begin() + row;
  auto end = rows_.begin() + last + 1;
  std::rotate(first, first + count, end);
  for (int r = last - count + 1; r <= last; ++r) {
    Row& x = rows_[size_t(r)];
    for (Cell& c : x.cells) c = Cell{};
    x.cells[0].colour = tailHeaderColour;
    x.memo = false;
    x.pageBreak = false;
  }
  Changed();
}

// ---- Cursor and selection ----

void GridModel::SetCursor(int col, int row) { MoveCursorTo(col, row, false); }

void GridModel::MoveCursorTo(int col, int row, bool byUser) {
  col = colCount_ >= 1 ? std::clamp(col, 1, colCount_) : 0;
  row = rowCount_ >= 1 ? std::clamp(row, 1, rowCount_) : 0;
  const bool moved = col != curCol_ || row != curRow_;
  curCol_ = col;
  curRow_ = row;
  if (byUser) {
    selActive_ = false;
    EnsureVisible(col, row);
  }
  Changed();
  // The program's moves always report; the user's only when the cell changed.
  if (!byUser || moved) RaiseLocate(col, row);
}

void GridModel::GetSelection(int& c1, int& r1, int& c2, int& r2) const {
  if (selActive_) {
    c1 = selC1_;
    r1 = selR1_;
    c2 = selC2_;
    r2 = selR2_;
  } else {
    c1 = c2 = curCol_;
    r1 = r2 = curRow_;
  }
}

void GridModel::SetSelection(int c1, int r1, int c2, int r2) {
  auto cc = [&](int c) { return colCount_ >= 1 ? std::clamp(c, 1, colCount_) : 0; };
  auto cr = [&](int r) { return rowCount_ >= 1 ? std::clamp(r, 1, rowCount_) : 0; };
  selC1_ = cc(c1);
  selR1_ = cr(r1);
  selC2_ = cc(c2);
  selR2_ = cr(r2);
  selActive_ = true;
  Changed();
}

void GridModel::ClearSelection() {
  selActive_ = false;
  Changed();
}

bool GridModel::IsSelected(int col, int row) const {
  if (!selActive_) return false;
  return col >= std::min(selC1_, selC2_) && col <= std::max(selC1_, selC2_) &&
         row >= std::min(selR1_, selR2_) && row <= std::max(selR1_, selR2_);
}

// ---- Events ----

void GridModel::RaiseLocate(int col, int row) {
  // A handler that puts the cursor back where this event reports it does
  // not hear of it again.
  if (locateDepth_ > 0 && col == locateCol_ && row == locateRow_) return;
  Restore<int> c(locateCol_), r(locateRow_), d(locateDepth_);
  locateCol_ = col;
  locateRow_ = row;
  ++locateDepth_;
  CallHandler(eventDepth_, events.Locate, col, row);
}

void GridModel::RaiseDivide(int x, int y) {
  if (divideDepth_ > 0 && x == divideEvX_ && y == divideEvY_) return;
  Restore<int> a(divideEvX_), b(divideEvY_), d(divideDepth_);
  divideEvX_ = x;
  divideEvY_ = y;
  ++divideDepth_;
  CallHandler(eventDepth_, events.Divide, x, y);
}

void GridModel::RaiseSelectEnd(int col, int row) {
  CallHandler(eventDepth_, events.SelectEnd, col, row);
}

bool GridModel::RaisePreEdit(int& key) {
  if (eventDepth_ >= kMaxEventDepth) return false;
  CallHandler(eventDepth_, events.PreEdit, key);
  return key != 0;
}

bool GridModel::RaiseButton(bool left, int col, int row) {
  bool ignore = false;
  if (eventDepth_ >= kMaxEventDepth) return true;
  CallHandler(eventDepth_, left ? events.LButtonDown : events.RButtonDown, col, row, ignore);
  return ignore;
}

void GridModel::RaiseKeyDown2(int& key, bool shift, bool ctrl) {
  if (eventDepth_ >= kMaxEventDepth) {
    key = 0;
    return;
  }
  CallHandler(eventDepth_, events.KeyDown2, key, shift, ctrl);
}

bool GridModel::RaiseItemMoveResized(int col, int row, int left, int top, int width,
                                     int height) {
  bool ignore = false;
  if (eventDepth_ >= kMaxEventDepth) return true;
  CallHandler(eventDepth_, events.ItemMoveResized, col, row, left, top, width, height, ignore);
  return ignore;
}

}  // namespace kv
