#include "classify/sch_sheet_frm.h"

#include <algorithm>
#include <filesystem>

#include "app/help_file.h"
#include "classify/search_result_grid.h"
#include "core/ini_file.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_files.h"

namespace kv {

namespace {

constexpr const char* kZoomSection = "ズーム倍率";
constexpr const char* kZoomKey = "KensakuZoom";
constexpr int kZooms[5] = {100, 90, 80, 70, 60};

MenuItem Item(const char* name, int index, const char* caption) {
  MenuItem m;
  m.name = name;
  m.index = index;
  m.caption = caption;
  m.ready = true;
  return m;
}

bool ValidZoom(int zoom) { return std::find(std::begin(kZooms), std::end(kZooms), zoom) != std::end(kZooms); }

// Runs `end` when the scope ends, on every way out of a command.
class ScopeEnd {
 public:
  explicit ScopeEnd(std::function<void()> end) : end_(std::move(end)) {}
  ~ScopeEnd() { end_(); }
  ScopeEnd(const ScopeEnd&) = delete;
  ScopeEnd& operator=(const ScopeEnd&) = delete;

 private:
  std::function<void()> end_;
};

}  // namespace

void KensakuCondClear(ProgramState& st) {
  for (int i = 0; i < 5; ++i) st.KensakuCond[static_cast<size_t>(i)] = KensakuCondEntry{};
}

EditorMenus SchSheetMenuTree() {
  EditorMenus m;
  MenuItem file = Item("REfM1", -1, "ﾌｧｲﾙ(&F)");
  file.opensMenu = true;
  file.items = {Item("RefM1Sub", -1, "終了(&X)")};
  MenuItem view = Item("RefM3", -1, "画面(&V)");
  view.opensMenu = true;
  MenuItem zoom = Item("RefM3Sub", -1, "ズーム");
  zoom.opensMenu = true;
  const char* zooms[5] = {"100%", "90%", "80%", "70%", "60%"};
  for (int i = 0; i < 5; ++i) zoom.items.push_back(Item("RefZoomSub", i, zooms[i]));
  view.items = {zoom};
  m.bar = {file, view, Item("mnuJ", -1, "複合検索(&J)"), Item("Help", -1, "ﾍﾙﾌﾟ(&H)")};
  return m;
}

SchSheetLayout SchSheetLayoutOf(const SchSheetMeasures& m) {
  SchSheetLayout out;
  int scaleWidth = m.scaleWidth;
  int scaleHeight = m.scaleHeight;
  if (m.windowWidth < kSearchMinTwips || m.windowHeight < kSearchMinTwips) {
    const int w = std::max(m.windowWidth, kSearchMinTwips);
    const int h = std::max(m.windowHeight, kSearchMinTwips);
    // The inner area grows by what the window grows.
    scaleWidth += w - m.windowWidth;
    scaleHeight += h - m.windowHeight;
    out.growWidth = w;
    out.growHeight = h;
  }
  const int lines = m.searchTextHeight + m.linkLabelHeight;
  out.gridTop = m.scaleTop + lines;
  out.gridLeft = m.scaleLeft;
  out.gridWidth = std::max(scaleWidth, 0);
  out.gridHeight = std::max(scaleHeight - lines, 0);
  out.linkLabelWidth = std::max(scaleWidth - (m.scaleLeft + m.jumpWidth), 0);
  out.label1Left = std::max(scaleWidth - m.label1Width - 5, 0);
  out.searchTextWidth = std::max(scaleWidth - (m.scaleLeft + m.searchButtonWidth + m.label1Width), 0);
  return out;
}

SchSheet_Frm::SchSheet_Frm(ProgramState& st, GridModel& schSheet, SchSheetPort port)
    : st_(st), grid_(schSheet), port_(std::move(port)), menus_(SchSheetMenuTree()) {
  GridEvents& e = grid_.events;
  e.PreEdit = [this](int& key) { SchSheet_PreEdit(key); };
  e.RButtonDown = [this](int col, int row, bool& ignore) { SchSheet_RButtonDown(col, row, ignore); };
  e.Divide = [this](int x, int y) { SchSheet_Divide(x, y); };
  e.KeyDown2 = [this](int& key, bool shift, bool ctrl) { SchSheet_KeyDown2(key, shift, ctrl); };
  e.Locate = [this](int col, int row) { SchSheet_Locate(col, row); };
  e.DblClk = [this](int col, int row) { SchSheet_DblClk(col, row); };
}

bool SchSheet_Frm::ForReference() const { return st_.SearchTitle == kRefSearchCaption; }

std::string SchSheet_Frm::SysIniPath() const { return (std::filesystem::path(st_.AppPath) / "KVSSYS.INI").string(); }

int SchSheet_Frm::Msg(std::string_view text, int style) {
  FloatWindowsTopMostSet(st_, false);
  const int answer = st_.ui.MsgBox(text, style, kSearchTitle);
  FloatWindowsTopMostSet(st_, true);
  return answer;
}

void SchSheet_Frm::Changed() {
  if (port_.ControlsChanged) port_.ControlsChanged();
}

void SchSheet_Frm::ZoomChecks() {
  for (int i = 0; i < 5; ++i) menus_.At("RefZoomSub", i).checked = ResultZoom == kZooms[i];
  if (port_.MenusChanged) port_.MenusChanged();
}

// ---------------------------------------------------------------------------
// Load, resize, close
// ---------------------------------------------------------------------------

void SchSheet_Frm::Form_Load() {
  if (port_.SetBounds && st_.SearchWinWidth > 0 && st_.SearchWinHeight > 0)
    port_.SetBounds(WindowRect{st_.SearchWinLeft, st_.SearchWinTop, st_.SearchWinWidth, st_.SearchWinHeight});
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(true);
  const int levels = std::clamp(st_.LevelCount, 1, kMaxLevels);
  WideLevel = NarrowLevel = 1;
  for (int l = 1; l <= levels; ++l) {
    if (st_.ColCount[l] > st_.ColCount[WideLevel]) WideLevel = l;
    if (st_.ColCount[l] < st_.ColCount[NarrowLevel]) NarrowLevel = l;
  }
  st_.SearchSheetLoaded = true;
  Hits.NewSearch();
  Hits.BlankPaths();
  ResultZoom = IniGetInt(kZoomSection, kZoomKey, SysIniPath());
  ZoomChecks();
  ResultGridRows = kResultGridRows;
  ResultMaskNo = st_.XMASK[WideLevel];
  SetUpResultSheet(WideLevel);
  ResultCol = st_.CurrentCol;
  ResultRow = 1;
  SetSheetLocate32(grid_, std::max(st_.CurrentCol, 1), 1);
  Changed();
}

void SchSheet_Frm::Form_Resize() {
  const WindowState state = st_.ui.GetWindowState(kSearchWindow);
  if (st_.CoverToolPid != 0) {
    if (state != WindowState::Minimized) st_.ui.SetWindowState(kSearchWindow, WindowState::Minimized);
    return;
  }
  if (state == WindowState::Minimized || !port_.Measures) return;
  const SchSheetLayout layout = SchSheetLayoutOf(port_.Measures());
  if (layout.growWidth > 0 && port_.ResizeWindow) port_.ResizeWindow(layout.growWidth, layout.growHeight);
  if (state == WindowState::Normal) FloatWindowsTopMostSet(st_, true);
  if (port_.Place) port_.Place(layout);
}

bool SchSheet_Frm::Form_QueryUnload() {
  if (SearchBusy) {
    // The reader is still filling the grid: the window closes once it ends.
    closeRequested_ = true;
    return false;
  }
  if (st_.ui.GetWindowState(kSearchWindow) != WindowState::Minimized && port_.Bounds) {
    const WindowRect r = port_.Bounds();
    st_.SearchWinTop = r.top;
    st_.SearchWinLeft = r.left;
    st_.SearchWinWidth = r.width;
    st_.SearchWinHeight = r.height;
  }
  if (ForReference())
    st_.RefSearchOpen = false;
  else
    st_.SearchWindowOpen = false;
  IniPutString(kZoomSection, kZoomKey, std::to_string(ResultZoom), SysIniPath());
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(false);
  st_.ui.UnloadWindow(kKensakuWindow);
  return true;
}

void SchSheet_Frm::Form_Unload() {
  st_.SearchSheetLoaded = false;
  st_.SearchTitle.clear();
}

// ---------------------------------------------------------------------------
// Controls and menus
// ---------------------------------------------------------------------------

void SchSheet_Frm::SearchText_KeyDown(int key) {
  if (key == 13 && !SearchBusy) CommandSearch_Click();
}

void SchSheet_Frm::RefM1Sub_Click() {
  if (port_.Close) port_.Close();
  if (!SearchBusy) st_.SearchWindowOpen = false;
}

void SchSheet_Frm::RefZoomSub_Click(int index) {
  if (index < 0 || index > 4) return;
  ResultZoom = kZooms[index];
  ZoomChecks();
  SetZoom32(grid_, ResultZoom);
}

void SchSheet_Frm::mnuJ_Click() { st_.ui.ShowModal(kKensakuWindow); }

void SchSheet_Frm::help_Click() { HelpOpen(st_, kSearchWindow); }

void SchSheet_Frm::MenuChosen(const std::string& name, int index) {
  if (name == "RefM1Sub")
    RefM1Sub_Click();
  else if (name == "RefM3Sub")
    RefM3Sub_Click();
  else if (name == "RefZoomSub")
    RefZoomSub_Click(index);
  else if (name == "mnuJ")
    mnuJ_Click();
  else if (name == "Help")
    help_Click();
}

// ---------------------------------------------------------------------------
// The search
// ---------------------------------------------------------------------------

void SchSheet_Frm::ZMakeKensakuINI(const std::string& text, int level) { kv::ZMakeKensakuINI(st_, text, level); }

void SchSheet_Frm::ZGetKensakuResult() {
  kv::ZGetKensakuResult(st_, Hits, ReadHooks());
}

KensakuReadHooks SchSheet_Frm::ReadHooks() {
  KensakuReadHooks hooks;
  hooks.ShowCount = [this](const std::string& caption) {
    Label1 = caption;
    Changed();
  };
  hooks.Hit = [this](int count, const std::string& record) {
    AddResultRow(count, count, record);
    st_.ui.ProcessEvents();
    // A close asked for meanwhile stops the reading here.
    return !closeRequested_;
  };
  return hooks;
}

void SchSheet_Frm::CommandSearch_Click() {
  if (SearchBusy) return;
  Hits.NewSearch();
  outcome_ = KensakuOutcome{};
  SearchBusy = true;
  if (st_.editor) st_.editor->ToolBarStateSet(st_, true);
  CommandSearchEnabled = false;
  DMLinkLabel.clear();
  Changed();
  SetUpResultSheet(WideLevel);
  st_.ui.ProcessEvents();
  ResultLastRow = -1;
  st_.ui.SetBusyPointer(true);
  // Compound conditions live only for the search they start, whichever way
  // it ends; the locks are released on every way out.
  ScopeEnd end([this] { SearchEnd(); });

  const std::string text = SearchText;
  if (!text.empty()) {
    if (!FirstCharOutsideSjis(text).empty()) {
      st_.ui.SetBusyPointer(false);
      SearchTextRefused(st_, text);
      return;
    }
    std::string target = st_.RefWorkFileBase;
    if (!ForReference()) {
      if (st_.SheetModified) {
        st_.ui.SetBusyPointer(false);
        if (Msg(kRecordFirstText, vbOKCancel | vbExclamation) != vbOK) return;
        // A sheet that was not written is never searched without its edits.
        if (st_.sheetEngine == nullptr || !st_.sheetEngine->LevelSheetRecord(st_)) return;
        st_.SheetModified = false;
        st_.PackPending = true;
      }
      if (st_.CurrentLevel == 1 && st_.UsedRows == 0) return;
      st_.ui.SetBusyPointer(true);
      target = st_.WorkFileBase;
    }
    outcome_ = RunStringSearch(st_, text, 1, target, Hits, ReadHooks());
  }
  KensakuCondClear(st_);
  Label1 = " " + std::to_string(Hits.HitCount);
  CommandSearchEnabled = true;
  st_.ui.SetBusyPointer(false);
  DMLinkLabel = Hits.HitCount > 0 ? Hits.HitPaths[1] : std::string();
  Changed();
  if (!closeRequested_) KensakuEndShow(st_, outcome_);
}

void SchSheet_Frm::SearchEnd() {
  KensakuCondClear(st_);
  CommandSearchEnabled = true;
  st_.ui.SetBusyPointer(false);
  SearchBusy = false;
  if (st_.editor) st_.editor->ToolBarStateSet(st_, false);
  Changed();
  if (closeRequested_) {
    closeRequested_ = false;
    if (port_.Close) port_.Close();
  }
}

// ---------------------------------------------------------------------------
// The result grid
// ---------------------------------------------------------------------------

std::string SchSheet_Frm::SrchText2DanMake(std::string_view text, int column, int row, int level) const {
  (void)row;
  if (level < 1 || level > kMaxLevels || column < 1 || column > kMaxColumns) return std::string(text);
  return kv::SrchText2DanMake(text, st_.ColWidth[level][column]);
}

void SchSheet_Frm::SetUpResultSheet(int level) {
  kv::SetUpResultSheet(st_, grid_, level, ValidZoom(ResultZoom) ? ResultZoom : 100, ForReference(),
                       ResultGridRows);
  if (ForReference() && port_.SetCaption) port_.SetCaption(std::string(kRefSearchCaption));
}

void SchSheet_Frm::AddResultRow(int first, int last, std::string_view record) {
  kv::AddResultRow(st_, grid_, NarrowLevel, first, last, record);
}

void SchSheet_Frm::SchSheet_PreEdit(int& key) { key = 0; }

void SchSheet_Frm::SchSheet_RButtonDown(int, int, bool& ignore) { ignore = true; }

void SchSheet_Frm::SchSheet_Divide(int x, int y) {
  if (x + y > 0) SetDivide32(grid_, 0, 0);
}

void SchSheet_Frm::SchSheet_KeyDown2(int& key, bool shift, bool ctrl) {
  const int level = std::clamp(st_.CurrentLevel, 1, kMaxLevels);
  const int cols = std::clamp(st_.ColCount[level], 0, kMaxColumns);
  const int mask = std::clamp(st_.XMASK[level], 0, kMaskScreens);
  const auto shown = [&](int c) { return st_.MaskDef[level][c][mask] == ' '; };
  const bool ctrlOnly = ctrl && !shift;
  switch (key) {
    case 36:
    case 38:
      if (ctrlOnly) SetSheetLocate32(grid_, grid_.CurrentCol(), 1);
      break;
    case 37:
      if (ctrlOnly) {
        int c = 1;
        while (c <= cols && !shown(c)) ++c;
        if (c > cols) c = cols + 2;
        SetSheetLocate32(grid_, c + 1, grid_.CurrentRow());
      }
      break;
    case 40:
    case 35:
      if (ctrlOnly && Hits.HitCount >= 2) SetSheetLocate32(grid_, grid_.CurrentCol(), Hits.HitCount - 1);
      break;
    case 39:
      if (ctrlOnly) {
        int c = cols;
        while (c >= 1 && !shown(c)) --c;
        if (c < 1) c = -1;
        SetSheetLocate32(grid_, c - 1, grid_.CurrentRow());
      }
      break;
    case 13:
    case 46:
      key = 0;
      break;
    case 27:
      if (CommandSearchEnabled && !SearchBusy) {
        key = 0;
        if (port_.Close) port_.Close();
      }
      break;
    default:
      break;
  }
}

void SchSheet_Frm::SchSheet_Locate(int col, int row) {
  const int level = std::clamp(st_.CurrentLevel, 1, kMaxLevels);
  const int cols = std::clamp(st_.ColCount[level], 0, kMaxColumns);
  const int mask = std::clamp(ResultMaskNo, 0, kMaskScreens);
  const auto shown = [&](int c) { return c >= 0 && c <= kMaxColumns && st_.MaskDef[level][c][mask] == ' '; };
  if (col < 0 || col > kMaxColumns || st_.MaskDef[level][col][mask] != 'M') {
    ResultCol = col;
    ResultRow = row;
    if (row != ResultLastRow) {
      DMLinkLabel = row >= 1 && row <= Hits.HitCount ? Hits.HitPaths[static_cast<size_t>(row)] : std::string();
      Changed();
    }
    ResultLastRow = row;
    return;
  }
  // A hidden column: the cursor steps on, one column at a time.
  if (ResultCol < col) {
    bool any = false;
    for (int c = col; c <= cols; ++c) any = any || shown(c);
    if (any) {
      if (col < cols) grid_.SetCurrentCol(col + 1);
    } else {
      grid_.SetCurrentCol(col - 1);
    }
  } else if (ResultCol > col) {
    bool any = false;
    for (int c = col; c >= 1; --c) any = any || shown(c);
    if (any) {
      if (col >= 2) grid_.SetCurrentCol(col - 1);
    } else {
      grid_.SetCurrentCol(col + 1);
    }
  }
}

}  // namespace kv
