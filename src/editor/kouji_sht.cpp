#include "editor/kouji_sht.h"

#include <algorithm>
#include <iterator>
#include <system_error>
#include <utility>

#include "app/help_file.h"
#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model.h"
#include "sheet/grid_setup.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "storage/file_command_steps.h"

namespace kv {

namespace {

constexpr int kLabelCol = 1;
constexpr int kValueCol = 2;
// Edit modes of the cursor cell: typing opens it (values) or not (labels).
constexpr int kTypingOpens = 9;
constexpr int kTypingRefused = 15;

constexpr const char* kPlaceSection = "工事情報画面";
constexpr const char* kZoomSection = "ズーム倍率";
constexpr const char* kZoomKey = "KouziZoom";

std::string Blanks(int n) { return std::string(static_cast<size_t>(n), ' '); }

int LimitOf(int col) { return col == kLabelCol ? kKoujiLabelBytes : kKoujiValueBytes; }

bool IsRow(int row) { return row >= 1 && row <= kKoujiRows; }

// A pasted text: up to its first line end, then up to its first tab; a
// character without a Shift-JIS form becomes "?".
std::string PastedText(std::string text) {
  text.erase(std::min(text.find_first_of("\r\n"), text.size()));
  text.erase(std::min(text.find('\t'), text.size()));
  return ToUnicodeStr(ToAnsiBytes(text));
}

// A kept rectangle (twips) on a screen of `px` pixels (15 twips each): no
// larger than the screen, its corner where the whole window shows.
void KeepOnScreen(WindowRect& r, TextSize px) {
  constexpr int kTwipsPerPixel = 15;
  if (px.width <= 0 || px.height <= 0) return;
  const int width = px.width * kTwipsPerPixel;
  const int height = px.height * kTwipsPerPixel;
  r.width = std::min(r.width, width);
  r.height = std::min(r.height, height);
  r.left = std::clamp(r.left, 0, width - r.width);
  r.top = std::clamp(r.top, 0, height - r.height);
}

}  // namespace

KoujiSht::KoujiSht(ProgramState& st, GridModel& koujiSht, KoujiShtPort port)
    : st_(st), grid_(koujiSht), port_(std::move(port)) {
  GridEvents& ev = grid_.events;
  ev.Locate = [this](int col, int row) { OnLocate(col, row); };
  ev.PreEdit = [this](int& key) { OnPreEdit(key); };
  ev.DblClk = [this](int col, int row) { OnDblClk(col, row); };
  ev.EditEnd = [this] { OnEditEnd(); };
  ev.KeyDown2 = [this](int& key, bool, bool) { OnKeyDown(key); };
  // Only the cursor cell is ever selected, and the grid is never split.
  ev.SelectEnd = [this](int col, int row) {
    if (col != grid_.CurrentCol() || row != grid_.CurrentRow()) ClearSelect32(grid_);
  };
  ev.Divide = [this](int x, int y) {
    if (x != 0 || y != 0) SetDivide32(grid_, 0, 0);
  };
  ev.RButtonDown = [this](int col, int row, bool& ignore) {
    ignore = true;
    if (col != 0 && row != 0 && port_.EditMenuPopup) port_.EditMenuPopup();
  };
}

std::string KoujiSht::SysIniPath() const { return st_.AppPath + "/KVSSYS.INI"; }

void KoujiSht::Form_Load() {
  KoujiShtInit();
  KoujiDataRead(st_.WorkFileBase);
  changed_ = false;
  curCol_ = kValueCol;
  curRow_ = 1;
  SetSheetLocate32(grid_, kValueCol, 1);
  // The floating windows step out of the topmost band so that this modal
  // window shows above them.
  FloatWindowsNoTopMost(st_);
}

void KoujiSht::KoujiShtInit() {
  grid_.SetVisible(false);
  if (!st_.FontName.empty()) grid_.SetFontName(st_.FontName);
  grid_.SetRowCount(kKoujiRows);
  grid_.SetColCount(2);
  grid_.SetMouseMode(2);
  grid_.SetHeaderClickSelects(false);

  const int size = grid_.FontSize();
  const int rowHeight = PointToHeight32(grid_, size) + 1;
  for (int r = 0; r <= kKoujiRows; ++r) SetRowHeight32(grid_, r, rowHeight);
  const int widths[3] = {
      2 * PointToWidth32(grid_, size),
      CellTextExtent(st_, false, kKoujiLabelBytes, grid_.FontName(), size, grid_.Zoom()),
      CellTextExtent(st_, false, kKoujiValueBytes, grid_.FontName(), size, grid_.Zoom()),
  };
  int sum = 0;
  for (int c = 0; c <= 2; ++c) {
    SetColWidth32(grid_, c, widths[c]);
    sum += widths[c];
  }
  SetTextData32(grid_, kLabelCol, 0, "工事情報　項目名");
  SetTextData32(grid_, kValueCol, 0, "       内            容");
  grid_.SetVisible(true);

  if (port_.SetCaption) port_.SetCaption("< " + st_.CurrentFilePath + " > 工事情報 ");
  columnsWidthTwips_ = WidthToPoint32(grid_, sum + 4) * kTwipsPerPoint;

  const std::string ini = SysIniPath();
  WindowRect kept{IniGetInt(kPlaceSection, "Left", ini), IniGetInt(kPlaceSection, "Top", ini),
                  IniGetInt(kPlaceSection, "Width", ini), IniGetInt(kPlaceSection, "Height", ini)};
  // A missing key reads -1; without a whole rectangle the window is centred
  // at the width of its columns.
  const bool missing = kept.left == -1 || kept.top == -1 || kept.width <= 0 || kept.height <= 0;
  if (!missing) KeepOnScreen(kept, st_.ui.ScreenSize());
  if (missing) {
    if (port_.CenterAtWidth) port_.CenterAtWidth(columnsWidthTwips_);
  } else if (port_.Place) {
    port_.Place(kept);
  }

  const int stored = IniGetInt(kZoomSection, kZoomKey, ini);
  const auto* found = std::find(std::begin(kKoujiZooms), std::end(kKoujiZooms), stored);
  ZoomSet(found == std::end(kKoujiZooms) ? 0 : int(found - std::begin(kKoujiZooms)));
}

void KoujiSht::ZoomSet(int index) {
  zoom_ = kKoujiZooms[index];
  if (port_.ZoomCheck) port_.ZoomCheck(index);
  SetZoom32(grid_, zoom_);
}

void KoujiSht::KoujiDataRead(const std::string& workBase) {
  SubtitleRead(SubtitlePath(st_.AppPath), labels_, &labelsRead_);
  YtRead(YtPath(workBase), values_, &valuesRead_);
  for (int r = 1; r <= kKoujiRows; ++r) {
    SetTextData32(grid_, kLabelCol, r, labels_[size_t(r - 1)]);
    SetTextData32(grid_, kValueCol, r, values_[size_t(r - 1)]);
  }
}

KoujiSht::WriteResult KoujiSht::KoujiDataWrite(const std::string& workBase) {
  WriteResult result;
  const auto report = [this](const std::filesystem::path& file) {
    WarnMsgBox(st_, "工事情報のファイル " + file.string() + " に書き込めません。");
  };
  std::error_code ec;
  const std::filesystem::path labels = SubtitlePath(st_.AppPath);
  result.labels = SubtitleWrite(labels, labels_, ec, &labelsRead_);
  if (!result.labels) report(labels);
  const std::filesystem::path values = YtPath(workBase);
  result.values = YtWrite(values, values_, ec, &valuesRead_);
  if (!result.values) report(values);
  return result;
}

void KoujiSht::KjShtGetRegion(int& col1, int& row1, int& col2, int& row2) const {
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  GetSelect32(grid_, c1, r1, c2, r2);
  col1 = std::min(c1, c2);
  col2 = std::max(c1, c2);
  row1 = std::min(r1, r2);
  row2 = std::max(r1, r2);
}

void KoujiSht::OnLocate(int col, int row) {
  if (col == 0) return;
  curCol_ = col;
  curRow_ = row;
  grid_.SetEditMode(col == kLabelCol ? kTypingRefused : kTypingOpens);
}

void KoujiSht::OnPreEdit(int& key) {
  // Labels open only by F2 or a double click.
  if (curCol_ == kLabelCol) key = 0;
}

void KoujiSht::OnDblClk(int col, int row) {
  if (col == 0 || row == 0) return;
  changed_ = true;
  if (!grid_.Editing()) grid_.BeginEdit(st_.EditCellPosition);
}

void KoujiSht::OnEditEnd() {
  const int col = grid_.EditCol();
  const int row = grid_.EditRow();
  if ((col != kLabelCol && col != kValueCol) || !IsRow(row)) return;
  changed_ = true;
  std::string text = grid_.EditText();
  const int limit = LimitOf(col);
  const size_t kept = text.find_last_not_of(' ');
  const std::string trimmed = kept == std::string::npos ? std::string() : text.substr(0, kept + 1);
  if (LenBSjis(Utf8{trimmed}) > limit) text = CutToBytes(Utf8{text}, limit);
  (col == kLabelCol ? labels_ : values_)[size_t(row - 1)] = text;
  SetTextData32(grid_, col, row, text);
}

void KoujiSht::OnKeyDown(int& key) {
  changed_ = true;
  if (key == gridkey::kF2) {
    key = 0;
    if (!grid_.Editing()) grid_.BeginEdit(st_.EditCellPosition);
    return;
  }
  if (key != gridkey::kDelete) return;
  key = 0;
  int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
  KjShtGetRegion(c1, r1, c2, r2);
  if (c1 == c2 && r1 == r2) SetTextData32(grid_, c1, r1, Blanks(LimitOf(c1)));
  ClearSelect32(grid_);
  if (IsRow(curRow_)) (curCol_ == kLabelCol ? labels_ : values_)[size_t(curRow_ - 1)] = Blanks(LimitOf(curCol_));
}

void KoujiSht::StoreCurrent() {
  if (!IsRow(curRow_)) return;
  (curCol_ == kLabelCol ? labels_ : values_)[size_t(curRow_ - 1)] = grid_.CellText(curCol_, curRow_);
}

void KoujiSht::KoujiMenu_2Sub_Click(int index) {
  changed_ = true;
  const std::string text = grid_.CurrentText();
  switch (index) {
    case 1:  // cut
      st_.ui.SetClipboardText(text);
      grid_.SetCurrentText(Blanks(kKoujiValueBytes));
      StoreCurrent();
      break;
    case 2:  // copy
      st_.ui.SetClipboardText(text);
      break;
    case 3:  // paste
      grid_.SetCurrentText(PastedText(st_.ui.ClipboardText()));
      StoreCurrent();
      break;
    case 4:  // delete
      grid_.SetCurrentText(Blanks(kKoujiValueBytes));
      StoreCurrent();
      break;
    default:
      break;
  }
}

void KoujiSht::Save() {
  const WriteResult written = KoujiDataWrite(st_.WorkFileBase);
  // The values reach the estimate file at its next pack.
  if (written.values) st_.PackPending = true;
  // A file not written keeps the change, so that the user can try again.
  if (written.Ok()) changed_ = false;
}

void KoujiSht::KoujiMenu_1sub_Click(int index) {
  if (index == 1) Save();
  if (index == 5 && port_.Unload) port_.Unload();
}

void KoujiSht::KoujiMenu3_Click() { HelpOpen(st_, kKoujiWindow); }

void KoujiSht::mnuVZItem_Click(int index) {
  if (index >= 0 && index < int(std::size(kKoujiZooms))) ZoomSet(index);
}

void KoujiSht::Form_QueryUnload(const WindowRect& twips) {
  const std::string ini = SysIniPath();
  IniPutString(kPlaceSection, "Left", std::to_string(twips.left), ini);
  IniPutString(kPlaceSection, "Top", std::to_string(twips.top), ini);
  IniPutString(kPlaceSection, "Width", std::to_string(twips.width), ini);
  IniPutString(kPlaceSection, "Height", std::to_string(twips.height), ini);
  IniPutString(kZoomSection, kZoomKey, std::to_string(zoom_), ini);
}

bool KoujiSht::Form_Unload() {
  if (!changed_) return false;
  const int answer = AskUser(st_, "工事情報の内容は変更されています。\n保存しますか?",
                             vbYesNoCancel + vbExclamation, "工事情報編集");
  if (answer == vbCancel) return true;
  if (answer == vbYes) {
    Save();
    return changed_;
  }
  return false;
}

}  // namespace kv
