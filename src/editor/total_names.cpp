#include "editor/total_names.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

#include "core/column_letter.h"
#include "core/sjis_text.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model.h"
#include "platform/ui.h"
#include "sheet/grid_setup.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_fields.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "storage/level_read.h"

namespace kv {

namespace {

constexpr int kEditable = 9;
constexpr int kReadOnly = 0;
constexpr int kNamesZoom = 90;
constexpr int kDataRow = 1;

// The cell's lines (LF or CR LF) joined into one.
std::string JoinLines(const std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + 2);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) crlf += '\r';
    crlf += text[i];
  }
  if (crlf.find("\r\n") == std::string::npos) return crlf;
  return Text2DanSplit(Utf8{crlf}, kDanJoin).line1;
}

// The names grid's selected cells into `SelLeft` .. `SelBottom`.
GridRect StoreSelection(ProgramState& st, const GridModel& sheet) {
  const GridRect sel = GetSelRect(sheet);
  st.SelLeft = sel.left;
  st.SelTop = sel.top;
  st.SelRight = sel.right;
  st.SelBottom = sel.bottom;
  return sel;
}

}  // namespace

TotalNames::TotalNames(ProgramState& st, GridModel& totalSheet, GridModel* editorSheet,
                       TotalNamesPort port)
    : st_(st), sheet_(totalSheet), editorSheet_(editorSheet), port_(std::move(port)) {
  GridEvents& ev = sheet_.events;
  ev.Locate = [this](int col, int) { OnLocate(col); };
  ev.EditEnd = [this] { OnEditEnd(); };
  ev.KeyDown2 = [this](int& key, bool, bool) { OnKeyDown(key); };
  ev.DblClk = [this](int col, int) {
    lastCol_ = col;
    sheet_.BeginEdit(st_.EditCellPosition);
  };
  // The grid's own right-button menu is not offered here.
  ev.RButtonDown = [](int, int, bool& ignore) { ignore = true; };
  // Only single cells are ever selected, and the grid is never split.
  ev.SelectEnd = [this](int, int) { ClearSelect32(sheet_); };
  ev.Divide = [this](int x, int y) {
    if (x != 0 || y != 0) SetDivide32(sheet_, 0, 0);
  };
}

int TotalNames::Level() const { return std::clamp(st_.CurrentLevel, 1, 8); }

int TotalNames::Columns() const { return std::clamp(st_.ColCount[Level()], 0, kMaxColumns); }

bool TotalNames::Hidden(int col) const {
  const int level = Level();
  const int screen = std::clamp(st_.XMASK[level], 0, kMaskScreens - 1);
  return st_.MaskDef[level][col][static_cast<size_t>(screen)] == 'M';
}

bool TotalNames::Editable(int col) const { return IsBlank(st_.ColTotalKind[Level()][col]); }

std::string TotalNames::StarRun(int col) const {
  const int level = Level();
  const size_t n = IsNumericColumnType(st_.ColType[level][col])
                       ? st_.FormatMasks[level][col].size()
                       : static_cast<size_t>(std::max(st_.ColWidth[level][col], 0));
  return std::string(n, '*');
}

void TotalNames::MarkChanged() {
  changed_ = true;
  TotalNameMenuEnable(true);
}

void TotalNames::Form_Load() {
  TotalNameLayout();
  TotalNameFill();
  changed_ = false;
  TotalNameMenuEnable(false);
}

void TotalNames::TotalNameLayout() {
  const int level = Level();
  st_.HasWideColumn = LevelHasWColumn(st_, level);
  sheet_.SetVisible(false);
  sheet_.SetFontName(st_.FontName);
  sheet_.SetMouseMode(2);
  sheet_.SetTotalsLine(false);
  sheet_.SetRowCount(1);
  const int cols = Columns();
  sheet_.SetColCount(cols);

  const int size = sheet_.FontSize();
  const int h = PointToHeight32(sheet_, size);
  const int w = PointToWidth32(sheet_, size);
  const int rowHeight = st_.HasWideColumn ? 2 * h - 2 : h + 1;
  SetRowHeight32(sheet_, 0, rowHeight);
  SetRowHeight32(sheet_, kDataRow, rowHeight);
  gridHeight_ = (rowHeight * 2 + 11) * 20;
  SetColWidth32(sheet_, 0, static_cast<int>(std::lround(4.0 * w / 2.0)));

  const std::string& captions = st_.LevelCaption[static_cast<size_t>(level)];
  for (int c = 1; c <= cols; ++c) {
    if (Hidden(c)) {
      SetColWidth32(sheet_, c, 2);
      SetTextData32(sheet_, c, 0, "");
      continue;
    }
    const std::string& type = st_.ColType[level][c];
    const int colWidth = st_.ColWidth[level][c];
    int chars = colWidth;
    bool measuredAsNumber = false;
    if (IsNumericColumnType(type)) {
      chars = static_cast<int>(st_.FormatMasks[level][c].size());
      measuredAsNumber = true;
    } else if (type == "W") {
      chars = WColumnLineWidth(colWidth);
    } else {
      measuredAsNumber = !type.empty() && type.front() == 'I';
    }
    SetColWidth32(sheet_, c,
                  CellTextExtent(st_, measuredAsNumber, chars, sheet_.FontName(), sheet_.FontSize(),
                                 sheet_.Zoom()));
    std::string caption = FromSjis(FieldBytes(captions, st_.ColStart[level][c], colWidth));
    if (type == "W") caption = RTrimBlanks(caption);
    SetTextData32(sheet_, c, 0, caption);
  }

  sheet_.SetVisible(true);
  SetZoom32(sheet_, kNamesZoom);
  if (port_.SetCaption) port_.SetCaption(std::to_string(level) + ".階層 合計名称");
  SetSheetLocate32(sheet_, st_.ToTalNameColmun, kDataRow);
}

void TotalNames::TotalNameFill() {
  const int level = Level();
  for (int c = 1; c <= Columns(); ++c) {
    if (Editable(c))
      SetTextData32(sheet_, c, kDataRow, FieldText(st_, st_.SheetTotalRecord, c, level));
    else
      SetTextData32(sheet_, c, kDataRow, StarRun(c));
  }
}

void TotalNames::TotalNameSave() {
  const int level = Level();
  const int totalsRow = SheetRowLimit(st_) + 1;
  for (int c = 1; c <= Columns(); ++c) {
    if (!Editable(c)) continue;
    const int width = std::max(st_.ColWidth[level][c], 0);
    const int start = st_.ColStart[level][c];
    const bool wide = st_.ColType[level][c] == "W";
    const int k = WColumnLineWidth(width);
    const std::string text = CutAtNul(GetTextData32(sheet_, c, kDataRow));
    const std::string field = wide ? RTrimBlanks(text) + std::string(static_cast<size_t>(k), ' ')
                                   : text + std::string(static_cast<size_t>(width), ' ');
    // The whole field is rewritten (fitted and blank-padded to its width), so
    // nothing of a longer old name is left behind the new one.
    FieldStore(st_.SheetTotalRecord, start, width, ToSjis(field), st_.DataLen);
    if (editorSheet_ != nullptr)
      SetTextData32(*editorSheet_, c, totalsRow,
                    wide ? MidAnsi(st_.SheetTotalRecord, start, k) : MidAnsi(st_.SheetTotalRecord, start, width));
    st_.SheetModified = true;
  }
}

void TotalNames::TotalNameMenuEnable(bool enabled) {
  if (port_.MenuEnable) port_.MenuEnable(enabled);
}

void TotalNames::TotalCellEditMode(int col) {
  sheet_.SetEditMode(col >= 1 && col <= Columns() && Editable(col) ? kEditable : kReadOnly);
}

void TotalNames::mnuSItem_Click(int index) {
  switch (index) {
    case 0:
      if (!changed_) return;
      TotalNameSave();
      TotalNameMenuEnable(false);
      changed_ = false;
      return;
    case 1:
      TotalNameFill();
      TotalNameMenuEnable(false);
      changed_ = false;
      return;
    case 3:
      if (port_.Unload) port_.Unload();
      return;
    default:
      return;
  }
}

void TotalNames::Form_Unload() {
  if (!changed_) return;
  if (st_.ui.MsgBox("名称が変更されています。保存しますか？", vbYesNo, "TheKorvane") == vbYes)
    TotalNameSave();
  changed_ = false;
}

void TotalNames::OnLocate(int col) {
  if (col < 1 || col > Columns()) return;
  if (!Hidden(col)) {
    TotalCellEditMode(col);
    lastCol_ = col;
    return;
  }
  // A hidden column is passed over in the direction of the move.
  const int step = lastCol_ < col ? 1 : (col < lastCol_ ? -1 : 0);
  if (step == 0) return;
  int c = col;
  while (c >= 1 && c <= Columns() && Hidden(c)) c += step;
  // Nothing shown that way: the cursor goes back to where it came from.
  if (c < 1 || c > Columns()) c = lastCol_;
  if (c >= 1 && c <= Columns()) sheet_.SetCurrentCol(c);
}

void TotalNames::OnEditEnd() {
  const GridRect sel = StoreSelection(st_, sheet_);
  const int c = sel.left;
  if (c < 1 || c > Columns()) return;
  if (sheet_.EditMode() != kEditable || !Editable(c)) {
    // A computed column takes no text: its run of "*" is put back.
    SetTextData32(sheet_, c, kDataRow, StarRun(c));
    return;
  }
  const std::string joined = JoinLines(GetTextData32(sheet_, c, kDataRow));
  SetTextData32(sheet_, c, kDataRow, CutToBytes(Utf8{joined}, st_.ColWidth[Level()][c]));
  MarkChanged();
}

void TotalNames::OnKeyDown(int& key) {
  if (key == gridkey::kF2) {
    const int c = sheet_.CurrentCol();
    if (c < 1 || c > Columns() || !Editable(c)) {
      key = 0;
      return;
    }
    sheet_.BeginEdit(st_.EditCellPosition);
    MarkChanged();
    return;
  }
  if (key == gridkey::kDelete) {
    const GridRect sel = StoreSelection(st_, sheet_);
    const int c = sel.left;
    if (sel.left == sel.right && sel.top == sel.bottom && c >= 1 && c <= Columns() && Editable(c)) {
      SetTextData32(sheet_, c, kDataRow,
                    std::string(static_cast<size_t>(std::max(st_.ColWidth[Level()][c], 0)), ' '));
      MarkChanged();
    }
    key = 0;
  }
}

}  // namespace kv
