// GridModel: keys, in-cell editing and mouse clicks, as the view hands them in.
#include <algorithm>

#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model_parts.h"

namespace kv {

using gridimpl::CallHandler;

namespace {
bool RangeMode(int mouseMode) { return mouseMode != 2 && mouseMode != 3; }
}  // namespace

bool GridModel::KeyDown(int key, bool shift, bool ctrl) {
  if (!enabled_) return true;
  RaiseKeyDown2(key, shift, ctrl);
  if (key == 0) return true;
  KeyDefault(key, shift, ctrl);
  return false;
}

// The grid's own handling of a key nobody consumed. Ctrl does not change the
// cursor keys (the editor's handler does the jumps and lets the grid take the
// last step); Home and End are left to the handlers.
void GridModel::KeyDefault(int key, bool shift, bool) {
  if (colCount_ < 1 || rowCount_ < 1 || editing_) return;
  int dc = 0, dr = 0;
  switch (key) {
    case gridkey::kLeft: dc = -1; break;
    case gridkey::kRight: dc = 1; break;
    case gridkey::kUp: dr = -1; break;
    case gridkey::kDown: dr = 1; break;
    case gridkey::kTab: dc = shift ? -1 : 1; shift = false; break;
    case gridkey::kReturn: dr = shift ? -1 : 1; shift = false; break;
    case gridkey::kPageUp:
    case gridkey::kPageDown: {
      int first = 0, last = 0;
      VisibleRows(first, last);
      const int page = std::max(1, last - first);
      dr = key == gridkey::kPageUp ? -page : page;
      if (!shift) {
        topRow_ = std::clamp(topRow_ + dr, 1, MaxTopRow());
        ScrollChanged();
      }
      break;
    }
    case gridkey::kF2: {
      if (editMode_ != 9 || curCol_ < 1 || curRow_ < 1) return;
      int k = gridkey::kF2;
      if (RaisePreEdit(k) && !editing_) BeginEdit(0);
      return;
    }
    default:
      return;
  }
  if (shift && RangeMode(mouseMode_)) {
    if (!selActive_) {
      selC1_ = selC2_ = curCol_;
      selR1_ = selR2_ = curRow_;
    }
    selC2_ = std::clamp(selC2_ + dc, 1, colCount_);
    selR2_ = std::clamp(selR2_ + dr, 1, rowCount_);
    selActive_ = true;
    EnsureVisible(selC2_, selR2_);
    Changed();
    RaiseSelectEnd(selC2_, selR2_);
    return;
  }
  MoveCursorTo(curCol_ + dc, curRow_ + dr, true);
}

bool GridModel::StartEditByTyping(int key, std::string_view typed) {
  if (editing_ || !enabled_ || editMode_ != 9 || curCol_ < 1 || curRow_ < 1) return false;
  if (!RaisePreEdit(key)) return false;
  // The handler may have moved the cursor or opened an edit itself.
  if (editing_ || curCol_ < 1 || curRow_ < 1) return false;
  OpenEdit(std::string(typed), 0, true);
  return true;
}

void GridModel::BeginEdit(int caret) {
  if (curCol_ < 1 || curRow_ < 1) return;
  OpenEdit(CellText(curCol_, curRow_), caret, false);
}

void GridModel::OpenEdit(const std::string& text, int caret, bool typing) {
  editing_ = true;
  editCol_ = curCol_;
  editRow_ = curRow_;
  dragging_ = false;
  if (observer_) observer_->GridEditStarted(text, caret, typing);
}

void GridModel::CommitEdit(std::string_view text) {
  if (!editing_) return;
  editing_ = false;
  text = text.substr(0, text.find('\0'));
  editText_.assign(text);
  SetCellText(editCol_, editRow_, text);
  CallHandler(eventDepth_, events.EditEnd);
}

void GridModel::CancelEdit() {
  if (!editing_) return;
  editing_ = false;
  if (observer_) observer_->GridEditClosed();
  Changed();
}

void GridModel::Refresh() {
  CancelEdit();
  dragging_ = false;
  if (observer_) {
    observer_->GridLayoutChanged();
    observer_->GridChanged();
  }
}

bool GridModel::LeftButtonDown(int pane, int col, int row, bool shift) {
  if (!enabled_) return false;
  if (pane >= 1) SetActivePane(pane);
  if (RaiseButton(true, col, row)) return false;
  if (col < 0 || row < 0 || colCount_ < 1 || rowCount_ < 1) return false;
  if (col == 0 || row == 0) {
    if (!headerClickSelects_) return false;
    const int last = std::max(1, LastBodyRow());
    if (col == 0 && row == 0)
      SetSelection(1, 1, colCount_, last);
    else if (row == 0)
      SetSelection(col, 1, col, last);
    else
      SetSelection(1, row, colCount_, row);
    return false;
  }
  if (shift && RangeMode(mouseMode_)) {
    int c1 = curCol_, r1 = curRow_;
    if (selActive_) {
      c1 = selC1_;
      r1 = selR1_;
    }
    SetSelection(c1, r1, col, row);
    RaiseSelectEnd(col, row);
    return false;
  }
  MoveCursorTo(col, row, true);
  dragging_ = true;
  dragCol_ = col;
  dragRow_ = row;
  return true;
}

void GridModel::DragTo(int col, int row) {
  if (!dragging_ || !RangeMode(mouseMode_) || colCount_ < 1 || rowCount_ < 1) return;
  col = col < 1 ? (col == 0 ? 1 : colCount_) : std::min(col, colCount_);
  row = row < 1 ? (row == 0 ? 1 : rowCount_) : std::min(row, rowCount_);
  if (!selActive_ && col == dragCol_ && row == dragRow_) return;
  if (selActive_ && col == selC2_ && row == selR2_) return;
  selC1_ = dragCol_;
  selR1_ = dragRow_;
  selC2_ = col;
  selR2_ = row;
  selActive_ = true;
  if (autoScroll_) EnsureVisible(col, row);
  Changed();
}

void GridModel::LeftButtonUp() {
  if (!dragging_) return;
  dragging_ = false;
  if (selActive_)
    RaiseSelectEnd(selC2_, selR2_);
  else
    RaiseSelectEnd(curCol_, curRow_);
}

void GridModel::RightButtonDown(int col, int row) {
  if (!enabled_) return;
  RaiseButton(false, col, row);  // the grid has no menu of its own
}

void GridModel::DoubleClick(int col, int row) {
  if (!enabled_) return;
  CallHandler(eventDepth_, events.DblClk, col, row);
}

void GridModel::FocusGained() { CallHandler(eventDepth_, events.GotFocus); }

}  // namespace kv
