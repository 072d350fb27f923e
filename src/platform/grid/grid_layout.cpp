// GridModel: pixel geometry from the viewport the view reports, panes,
// scrolling and visibility tests.
#include <algorithm>

#include "platform/grid/grid_model_parts.h"

namespace kv {

int GridModel::Scaled(int units) const { return units <= 0 ? 0 : (units * zoom_ + 50) / 100; }

const GridModel::Layout& GridModel::Lay() const {
  if (!layout_) {
    auto l = std::make_unique<Layout>();
    l->colX.assign(size_t(colCount_) + 2, 0);
    l->colXu.assign(size_t(colCount_) + 2, 0);
    for (int c = 1; c <= colCount_; ++c) {
      l->colX[size_t(c) + 1] = l->colX[size_t(c)] + Scaled(colWidths_[size_t(c)]);
      l->colXu[size_t(c) + 1] = l->colXu[size_t(c)] + colWidths_[size_t(c)];
    }
    l->rowY.assign(size_t(rowCount_) + 2, 0);
    l->rowYu.assign(size_t(rowCount_) + 2, 0);
    for (int r = 1; r <= rowCount_; ++r) {
      l->rowY[size_t(r) + 1] = l->rowY[size_t(r)] + Scaled(rowHeights_[size_t(r)]);
      l->rowYu[size_t(r) + 1] = l->rowYu[size_t(r)] + rowHeights_[size_t(r)];
    }
    layout_ = std::move(l);
  }
  return *layout_;
}

void GridModel::SetZoom(int percent) {
  if (percent <= 0) return;
  zoom_ = std::clamp(percent, 10, 400);
  LayoutChanged();
  ClampScroll();
}

void GridModel::SetViewportSize(int width, int height) {
  viewW_ = std::max(0, width);
  viewH_ = std::max(0, height);
  ClampScroll();
  ScrollChanged();
}

int GridModel::HeaderWidth() const { return Scaled(colWidths_[0]); }

int GridModel::CaptionHeight() const { return Scaled(rowHeights_[0]); }

int GridModel::BodyBottom() const {
  const int totals = TotalsRow() > 0 ? Scaled(rowHeights_[size_t(rowCount_)]) : 0;
  return std::max(BodyTop(), viewH_ - totals);
}

int GridModel::ResolvePane(int pane) const {
  if (pane == 0) pane = activePane_;
  if (pane == 1) return 1;
  if (pane == 2 && Split()) return 2;
  return 0;
}

int GridModel::SplitX() const {
  int x = std::max(Scaled(divideX_), HeaderWidth());
  if (viewW_ > 0) x = std::min(x, std::max(HeaderWidth(), viewW_ - kSplitBarWidth));
  return x;
}

GridRect GridModel::PaneRect(int pane) const {
  const int p = ResolvePane(pane);
  if (p == 0) return {};
  if (!Split()) return {0, 0, viewW_, viewH_};
  const int sx = SplitX();
  if (p == 1) return {0, 0, sx, viewH_};
  const int left = sx + kSplitBarWidth;
  return {left, 0, std::max(viewW_, left), viewH_};
}

GridRect GridModel::SplitBarRect() const {
  if (!Split()) return {};
  const int sx = SplitX();
  return {sx, 0, sx + kSplitBarWidth, viewH_};
}

int GridModel::CellsLeft(int pane) const {
  const int p = ResolvePane(pane);
  return p == 2 ? PaneRect(2).left : HeaderWidth();
}

int GridModel::PaneCellsRight(int pane) const { return PaneRect(pane).right; }

int GridModel::LeftCol(int pane) const {
  const int p = ResolvePane(pane);
  return leftCol_[p == 2 ? 1 : 0];
}

void GridModel::SetActivePane(int pane) {
  const int p = ResolvePane(pane);
  if (p != 0 && p != activePane_) {
    activePane_ = p;
    ScrollChanged();
  }
}

int GridModel::ColX(int pane, int col) const {
  const int p = ResolvePane(pane);
  if (col <= 0) return p == 2 ? PaneRect(2).left : 0;
  const Layout& l = Lay();
  col = std::min(col, colCount_ + 1);
  return CellsLeft(p) + l.colX[size_t(col)] - l.colX[size_t(LeftCol(p))];
}

int GridModel::LinearRowY(int row) const {
  const Layout& l = Lay();
  row = std::clamp(row, 1, rowCount_ + 1);
  return BodyTop() + l.rowY[size_t(row)] - l.rowY[size_t(std::min(topRow_, rowCount_ + 1))];
}

int GridModel::RowY(int row) const {
  if (row <= 0) return 0;
  if (row == TotalsRow()) return BodyBottom();
  return LinearRowY(row);
}

bool GridModel::CellRect(int pane, int col, int row, GridRect& out) const {
  const int p = ResolvePane(pane);
  if (p == 0 || !ValidCell(col, row) || (col == 0 && p == 2)) return false;
  out.left = ColX(p, col);
  out.right = out.left + Scaled(colWidths_[size_t(col)]);
  out.top = RowY(row);
  out.bottom = out.top + Scaled(rowHeights_[size_t(row)]);
  return true;
}

void GridModel::VisibleRows(int& first, int& last) const {
  first = topRow_;
  last = topRow_ - 1;
  const int lastBody = LastBodyRow();
  const int bodyH = BodyBottom() - BodyTop();
  if (lastBody < topRow_ || bodyH <= 0) return;
  const Layout& l = Lay();
  const int limit = l.rowY[size_t(topRow_)] + bodyH;
  auto b = l.rowY.begin() + topRow_;
  auto e = l.rowY.begin() + lastBody + 1;
  last = int(std::lower_bound(b, e, limit) - l.rowY.begin()) - 1;
}

void GridModel::VisibleCols(int pane, int& first, int& last) const {
  const int p = ResolvePane(pane);
  first = p ? LeftCol(p) : 1;
  last = first - 1;
  if (p == 0) return;
  const int width = PaneCellsRight(p) - CellsLeft(p);
  if (colCount_ < first || width <= 0) return;
  const Layout& l = Lay();
  const int limit = l.colX[size_t(first)] + width;
  auto b = l.colX.begin() + first;
  auto e = l.colX.begin() + colCount_ + 1;
  last = int(std::lower_bound(b, e, limit) - l.colX.begin()) - 1;
}

int GridModel::MaxTopRow() const {
  const int lastBody = LastBodyRow();
  if (lastBody < 1) return 1;
  const int bodyH = BodyBottom() - BodyTop();
  if (bodyH <= 0) return lastBody;
  const Layout& l = Lay();
  const int need = l.rowY[size_t(lastBody) + 1] - bodyH;
  auto b = l.rowY.begin() + 1;
  auto e = l.rowY.begin() + lastBody + 1;
  const int r = int(std::lower_bound(b, e, need) - l.rowY.begin());
  return std::clamp(r, 1, lastBody);
}

int GridModel::MaxLeftCol(int pane) const {
  const int p = ResolvePane(pane);
  if (colCount_ < 1 || p == 0) return 1;
  const int width = PaneCellsRight(p) - CellsLeft(p);
  if (width <= 0) return colCount_;
  const Layout& l = Lay();
  const int need = l.colX[size_t(colCount_) + 1] - width;
  auto b = l.colX.begin() + 1;
  auto e = l.colX.begin() + colCount_ + 1;
  const int c = int(std::lower_bound(b, e, need) - l.colX.begin());
  return std::clamp(c, 1, colCount_);
}

void GridModel::ClampScroll() {
  topRow_ = std::clamp(topRow_, 1, MaxTopRow());
  leftCol_[0] = std::clamp(leftCol_[0], 1, MaxLeftCol(1));
  if (Split()) leftCol_[1] = std::clamp(leftCol_[1], 1, MaxLeftCol(2));
}

void GridModel::GetTopCell(int pane, int& col, int& row) const {
  col = LeftCol(ResolvePane(pane) ? pane : 0);
  row = topRow_;
}

void GridModel::SetTopCell(int pane, int col, int row) {
  const int p = ResolvePane(pane);
  if (p == 0) return;
  if (row >= 1) topRow_ = std::clamp(row, 1, MaxTopRow());
  if (col >= 1) leftCol_[p - 1] = std::clamp(col, 1, MaxLeftCol(p));
  ScrollChanged();
}

bool GridModel::IsCellOutOfRange(int pane, int col, int row) const {
  const int p = ResolvePane(pane);
  if (p == 0 || !ValidCell(col, row)) return true;
  if (col == 0) {
    if (p != 1) return true;
  } else {
    if (col < LeftCol(p)) return true;
    if (ColX(p, col) + Scaled(colWidths_[size_t(col)]) > PaneCellsRight(p)) return true;
  }
  if (row == 0 || row == TotalsRow()) return false;
  if (row < topRow_) return true;
  return LinearRowY(row) + Scaled(rowHeights_[size_t(row)]) > BodyBottom();
}

void GridModel::LineDownScroll() {
  const int top = std::min(topRow_ + 1, MaxTopRow());
  if (top != topRow_) {
    topRow_ = top;
    ScrollChanged();
  }
}

void GridModel::LineRightScroll() {
  const int p = ResolvePane(0);
  int& left = leftCol_[p == 2 ? 1 : 0];
  const int next = std::min(left + 1, MaxLeftCol(p));
  if (next != left) {
    left = next;
    ScrollChanged();
  }
}

void GridModel::EnsureVisible(int col, int row) {
  const Layout& l = Lay();
  bool moved = false;
  const int bodyH = BodyBottom() - BodyTop();
  if (row >= 1 && row <= LastBodyRow() && bodyH > 0) {
    int top = topRow_;
    if (row < top) {
      top = row;
    } else if (l.rowY[size_t(row) + 1] - l.rowY[size_t(top)] > bodyH) {
      const int need = l.rowY[size_t(row) + 1] - bodyH;
      auto b = l.rowY.begin() + top;
      auto e = l.rowY.begin() + row + 1;
      top = std::min(row, int(std::lower_bound(b, e, need) - l.rowY.begin()));
    }
    if (top != topRow_) {
      topRow_ = top;
      moved = true;
    }
  }
  const int p = ResolvePane(0);
  const int width = PaneCellsRight(p) - CellsLeft(p);
  if (col >= 1 && col <= colCount_ && width > 0) {
    int& left = leftCol_[p == 2 ? 1 : 0];
    int next = left;
    if (col < next) {
      next = col;
    } else if (l.colX[size_t(col) + 1] - l.colX[size_t(next)] > width) {
      const int need = l.colX[size_t(col) + 1] - width;
      auto b = l.colX.begin() + next;
      auto e = l.colX.begin() + col + 1;
      next = std::min(col, int(std::lower_bound(b, e, need) - l.colX.begin()));
    }
    if (next != left) {
      left = next;
      moved = true;
    }
  }
  if (moved) ScrollChanged();
}

void GridModel::SetDivide(int x, int y) {
  const bool wasSplit = Split();
  divideX_ = std::max(0, x);
  divideY_ = std::max(0, y);
  if (Split() && !wasSplit) {
    // The right pane goes on from the first column the left one cuts off.
    int first = 0, last = 0;
    VisibleCols(1, first, last);
    int next = last + 1;
    if (last >= first && ColX(1, last) + Scaled(colWidths_[size_t(last)]) > PaneCellsRight(1))
      next = last;
    leftCol_[1] = std::max(1, next);
  }
  if (!Split()) activePane_ = 1;
  LayoutChanged();
  ClampScroll();
  RaiseDivide(divideX_, divideY_);
}

void GridModel::DropSplitBar(int x) {
  if (x <= HeaderWidth() + kSplitBarWidth) {
    SetDivide(0, 0);
    return;
  }
  SetDivide((x * 100 + zoom_ / 2) / zoom_, divideY_);
}

int GridModel::ColAtX(int pane, int x) const {
  const int p = ResolvePane(pane);
  const Layout& l = Lay();
  const int target = x - CellsLeft(p) + l.colX[size_t(LeftCol(p))];
  auto b = l.colX.begin() + 1;
  auto e = l.colX.begin() + colCount_ + 2;
  const int c = int(std::upper_bound(b, e, target) - l.colX.begin()) - 1;
  if (c < 1) return 1;
  return c > colCount_ ? -1 : c;
}

int GridModel::RowAtY(int y) const {
  const Layout& l = Lay();
  const int target = y - BodyTop() + l.rowY[size_t(std::min(topRow_, rowCount_ + 1))];
  auto b = l.rowY.begin() + 1;
  auto e = l.rowY.begin() + LastBodyRow() + 2;
  const int r = int(std::upper_bound(b, e, target) - l.rowY.begin()) - 1;
  if (r < 1) return 1;
  return r > LastBodyRow() ? -1 : r;
}

GridHit GridModel::HitTest(int x, int y) const {
  GridHit h;
  if (x < 0 || y < 0 || x >= viewW_ || y >= viewH_) return h;
  if (Split()) {
    const GridRect bar = SplitBarRect();
    if (x >= bar.left && x < bar.right) {
      h.kind = GridHit::SplitBar;
      return h;
    }
  }
  h.kind = GridHit::Cell;
  h.pane = Split() && x >= PaneRect(2).left ? 2 : 1;
  h.col = h.pane == 1 && x < HeaderWidth() ? 0 : ColAtX(h.pane, x);
  if (y < CaptionHeight()) {
    h.row = 0;
  } else if (TotalsRow() > 0 && y >= BodyBottom()) {
    h.row = y < BodyBottom() + Scaled(rowHeights_[size_t(rowCount_)]) ? TotalsRow() : -1;
  } else {
    h.row = RowAtY(y);
  }
  return h;
}

bool GridModel::CellRangePosition(int pane, const GridRect& cells, GridRect& out) const {
  const int p = ResolvePane(pane);
  const int c1 = cells.left, r1 = cells.top;
  if (p == 0 || !ValidCell(c1, r1) || r1 == TotalsRow() || (c1 == 0 && p == 2)) return false;
  // The top-left cell must be at least partly shown in the pane.
  if (c1 >= 1) {
    int first = 0, last = 0;
    VisibleCols(p, first, last);
    if (c1 < first || c1 > last) return false;
  }
  if (r1 >= 1) {
    int first = 0, last = 0;
    VisibleRows(first, last);
    if (r1 < first || r1 > last) return false;
  }
  const int c2 = std::clamp(cells.right, c1, colCount_);
  const int r2 = std::clamp(cells.bottom, r1, rowCount_);
  out.left = ColX(p, c1);
  out.top = RowY(r1);
  out.right = ColX(p, c2) + Scaled(colWidths_[size_t(c2)]);
  out.bottom = (r2 == 0 ? 0 : LinearRowY(r2)) + Scaled(rowHeights_[size_t(r2)]);
  if (r1 == 0 && r2 == 0) out.bottom = CaptionHeight();
  return true;
}

}  // namespace kv
