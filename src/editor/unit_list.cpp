#include "editor/unit_list.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <system_error>

#include "app/help_file.h"
#include "core/ini_file.h"
#include "core/sjis_text.h"
#include "core/window_services.h"
#include "editor/grid_events.h"
#include "platform/fo_window.h"
#include "platform/fs.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "sheet/cell_commit.h"
#include "sheet/selection_helpers.h"
#include "state/column_numbers.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/warn_msg_box.h"

namespace kv {
namespace {

namespace stdfs = std::filesystem;

constexpr int kEditableMode = 9;  // typing opens the cell
constexpr int kProtectedMode = 0;
// Row kinds a unit is never written into: the total rows, the tax row, "K"
// rows and the closing record (ｱ ｲ ｳ ｼ as their Shift-JIS bytes).
constexpr std::string_view kNoUnitKinds = "#%$\xB1\xB2\xB3\xBCKG";

int RoundHalfEven(double v) { return static_cast<int>(std::nearbyint(v)); }

std::string Blanks() { return std::string(kUnitBytes, ' '); }

// A unit as stored: its bytes cut to 5 (never half a character) and padded.
std::string UnitField(std::string_view bytes) {
  std::string field = CutToBytes(bytes, kUnitBytes);
  field.resize(kUnitBytes, ' ');
  return field;
}

bool IsBlankText(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

}  // namespace

// ---- UNIT.DAT ----

UnitFile UnitFileParse(std::string_view bytes) {
  UnitFile units;
  size_t pos = 0;
  int line = 0;
  while (pos < bytes.size()) {
    const size_t end = bytes.find_first_of("\r\n", pos);
    const std::string_view text = bytes.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    if (line < kUnitCount)
      units.texts[size_t(line)] = units.read[size_t(line)] = std::string(text);
    else
      units.kept.emplace_back(text);
    ++line;
    if (end == std::string_view::npos) break;
    pos = end + 1;
    if (bytes[end] == '\r' && pos < bytes.size() && bytes[pos] == '\n') ++pos;
  }
  return units;
}

UnitFile UnitFileRead(const stdfs::path& file) {
  std::error_code ec;
  const std::optional<std::string> bytes = fs::ReadFileBytes(fs::ResolveNoCase(file), ec);
  return bytes ? UnitFileParse(*bytes) : UnitFile{};
}

std::string UnitFileBytes(const UnitFile& units) {
  std::string out;
  out.reserve(size_t(kUnitCount) * (kUnitBytes + 2));
  for (size_t i = 0; i < units.texts.size(); ++i) {
    const std::string& unit = units.texts[i];
    if (unit == units.read[i] && unit.size() > size_t(kUnitBytes))
      out += unit + "\r\n";
    else
      out += UnitField(unit) + "\r\n";
  }
  for (const std::string& line : units.kept) out += line + "\r\n";
  return out;
}

bool UnitFileWrite(const stdfs::path& file, const UnitFile& units) {
  std::error_code ec;
  return fs::WriteFileAtomic(fs::ResolveNoCase(file), UnitFileBytes(units), ec);
}

// ---- Layout and fit ----

UnitLayout UnitLayoutPick(int widthTw, int cellWidthTw, UnitLayout current) {
  if (cellWidthTw == 0) return current;
  const int n = RoundHalfEven(double(widthTw) / double(cellWidthTw));
  static constexpr struct {
    int from;
    int cols;
  } kTable[] = {{60, 60}, {30, 30}, {20, 20}, {15, 15}, {12, 12}, {10, 10}, {6, 6}, {5, 5}, {4, 4}, {3, 3}};
  for (const auto& entry : kTable)
    if (n >= entry.from) return {entry.cols, kUnitCount / entry.cols};
  return {2, 30};
}

int UnitCellsWidth(int widthTw, int scrollBarTwips, bool scrollBarShown) {
  return scrollBarShown ? widthTw - (scrollBarTwips + 10) : widthTw;
}

UnitFit UnitWindowFit(const UnitFitInput& in) {
  UnitFit fit;
  fit.layout = UnitLayoutPick(UnitCellsWidth(in.width, in.scrollBarTwips, in.scrollBarShown), in.cellWidth, {});
  const int w = fit.layout.cols * in.cellWidth;
  const int h = fit.layout.rows * in.cellHeight + in.frameTwips;
  if (in.height >= h) {
    fit.width = w + RoundHalfEven(in.cellWidth / 5.0);
    fit.height = h + 30;
    fit.verticalScrollBar = false;
  } else {
    fit.width = w + in.scrollBarTwips + 10;
    fit.height = in.height;
    fit.verticalScrollBar = true;
  }
  return fit;
}

// ---- The window ----

UnitList::UnitList(ProgramState& st, GridModel& grid, UnitWindowPort port)
    : st_(st), grid_(grid), port_(std::move(port)) {
  grid_.events.DblClk = [this](int col, int row) { UNIT2SHEET_DblClk(col, row); };
  grid_.events.EditEnd = [this] { UNIT2SHEET_EditEnd(); };
  grid_.events.KeyDown2 = [this](int& key, bool, bool) { UNIT2SHEET_KeyDown2(key); };
  grid_.events.PreEdit = [this](int& key) { UNIT2SHEET_PreEdit(key); };
  grid_.events.LButtonDown = [this](int col, int row, bool&) { UNIT2SHEET_LButtonDown(col, row); };
  grid_.events.Locate = [this](int col, int row) { UnitCellInputModeSet(col, row); };
  grid_.events.RButtonDown = [this](int col, int row, bool& ignore) { UNIT2SHEET_RButtonDown(col, row, ignore); };
  grid_.events.SelectEnd = [this](int col, int row) { UNIT2SHEET_SelectEnd(col, row); };
  grid_.events.Divide = [this](int x, int y) { UNIT2SHEET_Divide(x, y); };
}

void UnitList::UNIT2SHEET_LButtonDown(int col, int row) { UnitCellInputModeSet(col, row); }

void UnitList::UNIT2SHEET_RButtonDown(int, int, bool& ignore) { ignore = true; }

void UnitList::UNIT2SHEET_SelectEnd(int, int) { ClearSelect32(grid_); }

void UnitList::UNIT2SHEET_Divide(int x, int y) {
  if (x + y > 0) SetDivide32(grid_, 0, 0);
}

stdfs::path UnitList::UnitFilePath() const { return stdfs::path(st_.AppPath) / kUnitFileName; }
stdfs::path UnitList::SysIniPath() const { return stdfs::path(st_.AppPath) / "KVSSYS.INI"; }

void UnitList::Form_Load() {
  UnitGridSetup(6, 10);
  UnitWindowPlace();
  UnitListLoad();
  UnitGridFill(6, 10);
  layout_ = {6, 10};
  changeMode_ = false;
  modified_ = false;
  if (port_.ChangeItemSet) port_.ChangeItemSet("変更(&A) OFF", false);
  if (port_.SaveItemEnable) port_.SaveItemEnable(false);
  grid_.SetHorizontalScrollBar(false);
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(true);
  UnitEditMenuEnable(false);
  UnitCellInputModeSet(grid_.CurrentCol(), grid_.CurrentRow());
  loaded_ = true;
}

void UnitList::UnitWindowPlace() {
  // A centred, topmost window first; then the rectangle the settings keep.
  foWindow fo(st_.ui);
  fo.Attach(kUnitWindow);
  fo.Center();
  fo.TopMost(true);
  fo.Detach();
  const stdfs::path ini = SysIniPath();
  WindowRect r{IniGetInt(kUnitPlaceSection, "Left", ini), IniGetInt(kUnitPlaceSection, "Top", ini),
               IniGetInt(kUnitPlaceSection, "Width", ini), IniGetInt(kUnitPlaceSection, "Height", ini)};
  // A missing key reads -1; without a whole rectangle on the screen the
  // window is centred at the size that fits the first layout. A kept size
  // is never larger than the screen.
  bool usable = r.left != -1 && r.top != -1 && r.width > 0 && r.height > 0;
  if (usable && port_.ScreenTwips) {
    const TextSize screen = port_.ScreenTwips();
    if (screen.width > 0) r.width = std::min(r.width, screen.width);
    if (screen.height > 0) r.height = std::min(r.height, screen.height);
    usable = r.left < screen.width && r.top < screen.height && std::int64_t{r.left} + r.width > 0 &&
             std::int64_t{r.top} + r.height > 0;
  }
  if (usable) {
    if (port_.SetBounds) port_.SetBounds(r);
    return;
  }
  const int frame = port_.FrameTwips ? port_.FrameTwips() : kUnitFrameTwips;
  const UnitFit fit = kv::UnitWindowFit(
      {6 * cellWidth_, std::numeric_limits<int>::max(), cellWidth_, cellHeight_, port_.scrollBarTwips, false, frame});
  if (port_.CenterAt) port_.CenterAt(fit.width, fit.height);
}

void UnitList::UnitListLoad() {
  units_ = UnitFileRead(UnitFilePath());
}

void UnitList::UnitGridSetup(int cols, int rows) {
  grid_.SetVisible(false);
  grid_.SetRedraw(false);
  grid_.SetFontName(st_.FontName);
  grid_.SetMouseMode(2);
  grid_.SetColCount(cols);
  grid_.SetRowCount(rows);
  const int size = grid_.FontSize();
  const int width = RoundHalfEven(PointToWidth32(grid_, size) * 5 / 2.0);
  const int height = PointToHeight32(grid_, size);
  for (int c = 1; c <= cols; ++c) SetColWidth32(grid_, c, width);
  for (int r = 1; r <= rows; ++r) SetRowHeight32(grid_, r, height);
  SetColWidth32(grid_, 0, 0);
  SetRowHeight32(grid_, 0, 0);
  // Grid units are 96-dpi pixels here: 15 twips each.
  cellWidth_ = width * kTwipsPerGridUnit;
  cellHeight_ = height * kTwipsPerGridUnit;
  grid_.SetVisible(true);
  grid_.SetRedraw(true);
}

void UnitList::UnitGridFill(int cols, int rows) {
  int i = 0;
  for (int r = 1; r <= rows; ++r)
    for (int c = 1; c <= cols; ++c, ++i)
      if (i < kUnitCount) SetTextData32(grid_, c, r, ToUnicodeStr(units_.texts[size_t(i)]));
}

void UnitList::UnitGridCollect() {
  int k = 0;
  for (int r = 1; r <= layout_.rows; ++r)
    for (int c = 1; c <= layout_.cols; ++c, ++k) {
      if (k >= kUnitCount) continue;
      // A cell still showing its unit keeps the unit's bytes (a line longer
      // than 5 bytes, bytes without a Shift-JIS reading).
      std::string& unit = units_.texts[size_t(k)];
      const std::string text = CutAtNul(GetTextData32(grid_, c, r));
      if (text != ToUnicodeStr(unit)) unit = UnitField(ToAnsiBytes(text));
    }
}

void UnitList::UnitLayoutPick(int& cols, int& rows) const {
  if (!port_.Bounds) return;
  const int width = UnitCellsWidth(port_.Bounds().width, port_.scrollBarTwips, grid_.VerticalScrollBar());
  const UnitLayout picked = kv::UnitLayoutPick(width, cellWidth_, {cols, rows});
  cols = picked.cols;
  rows = picked.rows;
}

void UnitList::UnitWindowFit() {
  if (cellWidth_ == 0 || !port_.Bounds) return;
  WindowRect r = port_.Bounds();
  const int frame = port_.FrameTwips ? port_.FrameTwips() : kUnitFrameTwips;
  const UnitFit fit = kv::UnitWindowFit(
      {r.width, r.height, cellWidth_, cellHeight_, port_.scrollBarTwips, grid_.VerticalScrollBar(), frame});
  grid_.SetVerticalScrollBar(fit.verticalScrollBar);
  if (fit.width != r.width || fit.height != r.height) {
    r.width = fit.width;
    r.height = fit.height;
    if (port_.SetBounds) port_.SetBounds(r);
  }
  grid_.Refresh();
  grid_.SetHorizontalScrollBar(false);
}

void UnitList::Form_Resize() {
  if (!loaded_ || resizeDepth_ >= 2) return;
  ++resizeDepth_;
  const WindowState state = port_.State ? port_.State() : WindowState::Normal;
  if (st_.CoverToolPid != 0) {
    // The cover tool runs: the window stays minimised.
    if (state != WindowState::Minimized && port_.SetState) port_.SetState(WindowState::Minimized);
    --resizeDepth_;
    return;
  }
  if (modified_) UnitGridCollect();
  if (state == WindowState::Minimized) {
    if (st_.ui.GetWindowState(kEditWindow) != WindowState::Minimized && port_.EditorSheetFocus)
      port_.EditorSheetFocus();
    --resizeDepth_;
    return;
  }
  if (state == WindowState::Normal) FloatWindowsTopMostSet(st_, true);
  if (port_.Bounds && cellWidth_ > 0) {
    WindowRect r = port_.Bounds();
    if (r.width < 2 * cellWidth_) {
      r.width = 2 * cellWidth_;
      if (port_.SetBounds) port_.SetBounds(r);
    }
  }
  UnitWindowFit();
  int cols = layout_.cols, rows = layout_.rows;
  UnitLayoutPick(cols, rows);
  if (cols != layout_.cols) {
    UnitGridSetup(cols, rows);
    UnitGridFill(cols, rows);
  }
  layout_ = {cols, rows};
  grid_.Refresh();
  --resizeDepth_;
}

void UnitList::UnitCellInputModeSet(int col, int row) {
  const std::string text = CutToBytes(ToAnsiBytes(CutAtNul(GetTextData32(grid_, col, row))), kUnitBytes);
  SetEditable(IsBlankText(text) || changeMode_);
}

void UnitList::SetEditable(bool on) {
  editable_ = on;
  grid_.SetEditMode(on ? kEditableMode : kProtectedMode);
}

void UnitList::UnitEditMenuEnable(bool enabled) {
  if (port_.EditItemsEnable) port_.EditItemsEnable(enabled);
}

// ---- Grid events ----

void UnitList::UNIT2SHEET_DblClk(int, int) {
  const std::string text = grid_.CurrentText();
  if (IsBlankText(text) || changeMode_) {
    modified_ = true;
    grid_.BeginEdit(st_.EditCellPosition);
    return;
  }
  if (kNoUnitKinds.find(RowKind(st_, st_.CurrentRow)) != std::string_view::npos) return;
  GridModel* sheet = port_.EditorSheet ? port_.EditorSheet() : nullptr;
  if (!IsNumericColumn(st_, st_.CurrentLevel, st_.CurrentCol) && sheet != nullptr) {
    CellCommit(st_, *sheet, ToAnsiBytes(text));
    st_.SheetModified = true;
  }
  if (st_.ui.GetWindowState(kEditWindow) != WindowState::Minimized && port_.EditorSheetFocus)
    port_.EditorSheetFocus();
}

void UnitList::UNIT2SHEET_EditEnd() {
  if (!editable_ && !changeMode_) {
    int cols = layout_.cols, rows = layout_.rows;
    UnitLayoutPick(cols, rows);
    UnitGridFill(cols, rows);
    return;
  }
  const std::string text = grid_.EditText();
  // An edit closed on the unit's own text changes nothing.
  const int k = (grid_.EditRow() - 1) * layout_.cols + grid_.EditCol() - 1;
  if (k >= 0 && k < kUnitCount && text == ToUnicodeStr(units_.texts[size_t(k)])) {
    modified_ = true;
    return;
  }
  std::string trimmed = text;
  trimmed.erase(trimmed.find_last_not_of(' ') + 1);
  if (LenBSjis(Utf8{trimmed}) > kUnitBytes)
    SetTextData32(grid_, grid_.EditCol(), grid_.EditRow(), CutToBytes(Utf8{text}, kUnitBytes));
  modified_ = true;
}

void UnitList::UNIT2SHEET_PreEdit(int& key) {
  // Typing opens a cell only once the list has been changed; F2 and the
  // double click open it before.
  if (!modified_) key = 0;
}

void UnitList::UNIT2SHEET_KeyDown2(int& key) {
  if (key >= gridkey::kLeft && key <= gridkey::kDown) return;
  if (key == gridkey::kF2) {
    key = 0;
    if (editable_ || changeMode_) grid_.BeginEdit(st_.EditCellPosition);
    return;
  }
  if (key == gridkey::kDelete) {
    key = 0;
    if (!(editable_ || changeMode_)) return;
    const GridRect sel = GetSelRect(grid_);
    st_.SelLeft = sel.left;
    st_.SelTop = sel.top;
    st_.SelRight = sel.right;
    st_.SelBottom = sel.bottom;
    if (sel.left == sel.right && sel.top == sel.bottom) SetTextData32(grid_, sel.left, sel.top, Blanks());
    ClearSelect32(grid_);
    modified_ = true;
    return;
  }
  if (!modified_) key = 0;
}

// ---- Menus ----

void UnitList::ClearCell() { grid_.SetCurrentText(Blanks()); }

void UnitList::mnuEItem_Click(int index) {
  modified_ = true;
  switch (index) {
    case 0:
      st_.ui.SetClipboardText(grid_.CurrentText());
      ClearCell();
      break;
    case 1:
      st_.ui.SetClipboardText(grid_.CurrentText());
      break;
    case 2:
      grid_.SetCurrentText(st_.ui.ClipboardText());
      break;
    case 3:
      ClearCell();
      break;
    default:
      return;
  }
  SetEditable(true);
}

void UnitList::ChangeModeOff(bool keepProtected) {
  changeMode_ = false;
  if (port_.ChangeItemSet) port_.ChangeItemSet("変更(&A) OFF", false);
  if (port_.SaveItemEnable) port_.SaveItemEnable(false);
  SetEditable(false);
  UnitEditMenuEnable(false);
  if (!keepProtected) UnitCellInputModeSet(grid_.CurrentCol(), grid_.CurrentRow());
}

void UnitList::mnuFItem_Click(int index) {
  if (index == 0) {
    if (changeMode_) {
      ChangeModeOff(false);
      return;
    }
    changeMode_ = true;
    if (port_.ChangeItemSet) port_.ChangeItemSet("変更(&A) ON", true);
    if (port_.SaveItemEnable) port_.SaveItemEnable(true);
    SetEditable(true);
    UnitEditMenuEnable(true);
  } else if (index == 1) {
    // A failed save keeps the list unsaved and the change mode on.
    if (!UnitListSaveIfModified()) return;
    ChangeModeOff(true);
  } else if (index == 3 && port_.Unload) {
    port_.Unload();
  }
}

void UnitList::mnuHelp_Click() { HelpOpen(st_, kUnitWindow); }

bool UnitList::UnitListSaveIfModified() {
  if (!modified_) return true;
  if (!UnitListSave()) return false;
  modified_ = false;
  changeMode_ = false;
  return true;
}

bool UnitList::UnitListSave() {
  UnitGridCollect();
  const stdfs::path file = fs::ResolveNoCase(UnitFilePath());
  if (UnitFileWrite(file, units_)) return true;
  WarnMsgBox(st_, "単位ファイル [ " + file.string() + " ] に書き込めません。");
  return false;
}

void UnitList::UnitWindowSavePlace() {
  if (!port_.Bounds || (port_.State && port_.State() == WindowState::Minimized)) return;
  const WindowRect r = port_.Bounds();
  const stdfs::path ini = SysIniPath();
  IniPutString(kUnitPlaceSection, "Left", std::to_string(r.left), ini);
  IniPutString(kUnitPlaceSection, "Top", std::to_string(r.top), ini);
  IniPutString(kUnitPlaceSection, "Width", std::to_string(r.width), ini);
  IniPutString(kUnitPlaceSection, "Height", std::to_string(r.height), ini);
}

bool UnitList::Form_QueryUnload() {
  if (modified_) {
    FloatWindowsTopMostSet(st_, false);
    const int answer = st_.ui.MsgBox(kUnitCloseQuestion, vbYesNoCancel, "終了");
    FloatWindowsTopMostSet(st_, true);
    if (answer == vbCancel) return false;
    // The list stays on screen when it could not be written, to be saved again.
    if (answer == vbYes && !UnitListSaveIfModified()) return false;
  }
  UnitWindowSavePlace();
  st_.UnitWindowOpen = false;
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(false);
  return true;
}

void UnitWindowShow(ProgramState& st) {
  st.UnitWindowOpen = true;
  st.ui.ShowModeless(kUnitWindow);
}

}  // namespace kv
