#include "reference/ref_window.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "app/help_file.h"
#include "classify/sch_sheet_frm.h"
#include "core/ini_file.h"
#include "core/path_shorten.h"
#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_keys.h"
#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"
#include "reference/ref_cell_copy.h"
#include "reference/ref_files.h"
#include "reference/ref_layout.h"
#include "reference/ref_row_copy.h"
#include "reference/ref_sheet.h"
#include "reference/ref_tree.h"
#include "sheet/wide_text_cells.h"
#include "state/editor_services.h"
#include "state/float_windows.h"
#include "state/layout_file.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "state/warn_msg_box.h"
#include "storage/level_read.h"
#include "storage/row_record.h"
#include "storage/sheet_objects.h"

namespace kv {

namespace {

constexpr const char* kWinSection = "参考画面";

std::string SysIni(const ProgramState& st) { return st.AppPath + "/KVSSYS.INI"; }

MenuItem Item(std::string name, int index, std::string caption, bool ready = true) {
  MenuItem m;
  m.name = std::move(name);
  m.index = index;
  m.caption = std::move(caption);
  m.ready = ready && m.caption != "-";
  return m;
}

MenuItem Menu(std::string name, int index, std::string caption, std::vector<MenuItem> items) {
  MenuItem m = Item(std::move(name), index, std::move(caption), false);
  m.opensMenu = true;
  m.items = std::move(items);
  return m;
}

// The editor's tables stand in when its layout file cannot be read, so the
// untitled reference still shows the editor's columns.
void RefLayoutFromEditor(ProgramState& st) {
  for (int l = 0; l <= 8; ++l) {
    st.RefColCount[l] = st.ColCount[l];
    st.RefLevelCaption[l] = st.LevelCaption[l];
    for (int c = 0; c <= kMaxColumns; ++c) {
      st.RefColStart[l][c] = st.ColStart[l][c];
      st.RefColWidth[l][c] = st.ColWidth[l][c];
      st.RefColDecimals[l][c] = st.ColDecimals[l][c];
      st.RefColType[l][c] = st.ColType[l][c].empty() ? ' ' : st.ColType[l][c].front();
    }
  }
}

// What Val reads from the start of a text: blanks skipped, a sign, digits
// and a decimal point; 0 when there is no number.
double LeadingNumber(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && s[i] == ' ') ++i;
  std::string num;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) num += s[i++];
  bool point = false;
  for (; i < s.size(); ++i) {
    if (s[i] >= '0' && s[i] <= '9') {
      num += s[i];
    } else if (s[i] == '.' && !point) {
      point = true;
      num += '.';
    } else {
      break;
    }
  }
  try {
    return num.empty() || num == "-" || num == "+" || num == "." ? 0.0 : std::stod(num);
  } catch (...) {
    return 0.0;
  }
}

std::string Trim(std::string_view s) {
  const size_t b = s.find_first_not_of(' ');
  if (b == std::string_view::npos) return {};
  return std::string(s.substr(b, s.find_last_not_of(' ') - b + 1));
}

}  // namespace

EditorMenus RefMenuTree() {
  EditorMenus m;
  std::vector<MenuItem> file{Item("RefM1Sub", 0, "開く(&O)..."), Item("RefM1Sub", 1, "変換ルールから開く(&R)"),
                             Item("RefM1Sub", 2, "-"),          Item("RefM1Sub", 3, "Untitled")};
  for (int i = 4; i <= 7; ++i) file.push_back(Item("RefM1Sub", i, ""));
  file.push_back(Item("RefM1Sub", 8, "-"));
  file.push_back(Item("RefM1Sub", 9, "終了(&X)"));
  m.bar.push_back(Menu("REfM1", -1, "ﾌｧｲﾙ(&F)", std::move(file)));
  m.bar.push_back(Menu("MnuE", -1, "ｺﾋﾟｰ(&E)",
                       {Item("MnuEItem", 0, "セルコピー(&C)"), Item("MnuEItem", 1, "行コピー(&S)"),
                        Item("MnuEItem", 2, "全行コピー(&A)"), Item("MnuEItem", 3, "-"),
                        Item("MnuEItem", 4, "オブジェクトのコピー(&O)")}));
  std::vector<MenuItem> zoom{Item("RefZoomSub", 1, "ｽﾞｰﾑの設定値"), Item("RefZoomSub", 2, "ｽﾞｰﾑ倍率の入力"),
                             Item("RefZoomSub", 3, "100%"),         Item("RefZoomSub", 4, "90%"),
                             Item("RefZoomSub", 5, "80%"),          Item("RefZoomSub", 6, "70%"),
                             Item("RefZoomSub", 7, "60%")};
  m.bar.push_back(Menu("RefM3", -1, "画面(&V)",
                       {Menu("RefM3Sub", 1, "ズーム", std::move(zoom)), Item("RefM3Sub", 2, "-"),
                        Menu("RefM3Sub", 3, "階層表示設定",
                             {Item("DM_Disp", 1, "階層 (縦) 表示"), Item("DM_Disp", 2, "階層 (横) 表示")})}));
  m.bar.push_back(Menu("mnuT", -1, "拡張機能(&T)", {Item("Ref_Sch", -1, "文字検索(&K)")}));
  m.bar.push_back(Item("Help", -1, "ﾍﾙﾌﾟ(&H)"));
  return m;
}

RefSheetWindow::RefSheetWindow(ProgramState& st, GridModel& grid, TreeModel& tree, RefWindowPort port)
    : st_(st), grid_(grid), tree_(tree), port_(std::move(port)), menus_(RefMenuTree()) {
  RefTreeConnect(st_, tree_);
  tree_.events.NodeClick = [this](const TreeNodeData& node) { RefTreeView_NodeClick(node); };
  GridEvents& e = grid_.events;
  e.LButtonDown = [this](int x, int y, bool& ignore) { RefSheet_LButtonDown(x, y, ignore); };
  e.RButtonDown = [this](int x, int y, bool& ignore) { RefSheet_RButtonDown(x, y, ignore); };
  e.Locate = [this](int x, int y) { RefSheet_Locate(x, y); };
  e.KeyDown2 = [this](int& key, bool shift, bool ctrl) { RefSheet_KeyDown2(key, shift, ctrl); };
  e.PreEdit = [this](int& key) { RefSheet_PreEdit(key); };
  e.DblClk = [this](int x, int y) { RefSheet_DblClk(x, y); };
  e.ItemSelected = [this](int item) { RefSheet_ItemSelected(item); };
  e.ItemMoveResized = [this](int, int, int, int, int, int, bool& ignore) { RefSheet_ItemMoveResized(ignore); };
  e.Divide = [this](int x, int y) { RefSheet_Divide(x, y); };
}

RefSheetWindow::~RefSheetWindow() {
  if (st_.RefTree == &tree_) st_.RefTree = nullptr;
}

// ---------------------------------------------------------------------------
// Loading and closing
// ---------------------------------------------------------------------------

void RefSheetWindow::RefWinSettingsLoad() {
  const std::string f = SysIni(st_);
  IniGetString("PathDir", "RefData", st_.RefData, f);
  for (int n = 1; n <= 5; ++n) IniGetString("PreviasFile", "RDataP" + std::to_string(n), st_.RecentRefFiles[n], f);
  st_.RefWinLeft = IniGetInt(kWinSection, "Left", f);
  st_.RefWinTop = IniGetInt(kWinSection, "Top", f);
  st_.RefWinWidth = IniGetInt(kWinSection, "Width", f);
  st_.RefWinHeight = IniGetInt(kWinSection, "Height", f);
  st_.RefSizerPos = IniGetInt("RefSizer", "Pos", f);
}

void RefSheetWindow::RefWinSettingsSave(bool minimised) {
  const std::string f = SysIni(st_);
  IniPutString("PathDir", "RefData", st_.RefData, f);
  for (int n = 1; n <= 5; ++n) {
    std::string entry = st_.RecentRefFiles[n];
    if (entry.empty()) entry = std::to_string(n);
    IniPutString("PreviasFile", "RDataP" + std::to_string(n), entry, f);
  }
  IniPutString(kWinSection, "Left", std::to_string(st_.RefWinLeft), f);
  IniPutString(kWinSection, "Top", std::to_string(st_.RefWinTop), f);
  IniPutString(kWinSection, "Width", std::to_string(RefStoredSize(st_.RefWinWidth)), f);
  IniPutString(kWinSection, "Height", std::to_string(RefStoredSize(st_.RefWinHeight)), f);
  if (!minimised) IniPutString("RefSizer", "Pos", std::to_string(st_.RefSizerPos), f);
}

void RefSheetWindow::Form_Load() {
  RefWinSettingsLoad();
  st_.ui.SetWindowTopMost(kRefWindow, true);
  st_.RefWorkFolderName = "/WORK2";
  RefWorkFolderEmpty(st_);
  st_.RefSelectedObjectItem = -1;
  st_.RefSheetLoaded = true;
  st_.RefWorkFileBase = RefUntitledBase(st_);
  st_.RefFilePath = st_.RefWorkFileBase;
  st_.RefFitsEditor = true;
  grid_.SetFontName(st_.FontName);
  if (st_.RefZoom < 30 || st_.RefZoom > 200) st_.RefZoom = 100;
  st_.RefDisp = std::string(RefDispMode(st_.RefDisp));
  ZoomCaption();
  menus_.At("RefZoomSub", 1).checked = true;
  st_.RefTreeShown = true;

  const TextSize screen = port_.ScreenTwips ? port_.ScreenTwips() : TextSize{};
  const RefWindowPlace place =
      RefWindowPlaceFrom(st_.RefWinLeft, st_.RefWinTop, st_.RefWinWidth, st_.RefWinHeight, screen.width, screen.height);
  st_.RefWinLeft = place.left;
  st_.RefWinTop = place.top;
  st_.RefWinWidth = place.width;
  st_.RefWinHeight = place.height;
  if (port_.SetBounds)
    port_.SetBounds(WindowRect{static_cast<int>(place.left), static_cast<int>(place.top),
                               static_cast<int>(place.width), static_cast<int>(place.height)});

  // The editor's layout file; levels it does not hold keep the editor's
  // columns, and so does every level when it cannot be read.
  RefLayoutFromEditor(st_);
  std::error_code ec;
  if (std::filesystem::exists(LayoutFilePath(st_, st_.WorkFileBase), ec)) LoadRefLayout(st_, st_.WorkFileBase);
  st_.RefCurrentLevel = 1;
  grid_.SetTotalsLine(true);
  st_.RefDivideHold = true;
  RefLevelRead(st_, grid_, 1);
  st_.RefDivideHold = false;
  RefSheet_pos(1);
  DispChecks();
  grid_.SetCurrentCol(st_.CaptionColmun1);
  grid_.SetCurrentRow(1);
  RecentCaptions();

  if (st_.RefSizerPos < 0) st_.RefSizerPos = kRefDefaultTreeWidth;
  const RefWindowMeasures m = port_.Measures ? port_.Measures() : RefWindowMeasures{};
  if (port_.PlaceSizer) port_.PlaceSizer(st_.RefSizerPos, m.scaleHeight);
  if (port_.PlaceTree) port_.PlaceTree(true, st_.RefSizerPos, m.scaleHeight);
  if (port_.PlaceGridHorizontal)
    port_.PlaceGridHorizontal(st_.RefSizerPos + m.sizerWidth,
                              std::max(m.scaleWidth - m.sizerWidth - st_.RefSizerPos, 0L));
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(true);
  if (st_.SystemKind == 1) {
    menus_.At("MnuEItem", 3).visible = false;
    menus_.At("MnuEItem", 4).visible = false;
  }
  if (port_.MenusChanged) port_.MenusChanged();
  Form_Resize();
}

bool RefSheetWindow::Form_QueryUnload() {
  if (st_.EquipRecalcRunning) return false;
  const bool minimised = st_.ui.GetWindowState(kRefWindow) == WindowState::Minimized;
  if (!minimised) {
    if (port_.Bounds) {
      const WindowRect r = port_.Bounds();
      st_.RefWinLeft = r.left;
      st_.RefWinTop = r.top;
      st_.RefWinWidth = r.width;
      st_.RefWinHeight = r.height;
    }
    if (port_.Measures) st_.RefSizerPos = port_.Measures().sizerLeft;
  }
  RefWorkFolderRemove(st_);
  RefWinSettingsSave(minimised);
  st_.RefFilePath.clear();
  st_.RefWindowOpen = false;
  st_.RefSearchOpen = false;
  if (port_.HiinsatuStateSet) port_.HiinsatuStateSet(false);
  return true;
}

void RefSheetWindow::Form_Unload() {
  st_.RefSheetLoaded = false;
  if (st_.SearchSheetLoaded && !st_.SearchTitle.empty()) st_.ui.UnloadWindow(kSearchWindow);
  if (st_.RefTree == &tree_) st_.RefTree = nullptr;
}

// ---------------------------------------------------------------------------
// Layout
// ---------------------------------------------------------------------------

void RefSheetWindow::Form_Resize() {
  const WindowState state = st_.ui.GetWindowState(kRefWindow);
  if (st_.CoverToolPid != 0 && state != WindowState::Minimized) {
    st_.ui.SetWindowState(kRefWindow, WindowState::Minimized);
    return;
  }
  if (state == WindowState::Minimized) {
    if (port_.EditorGridFocus) port_.EditorGridFocus();
    return;
  }
  if (!port_.Measures) return;
  const RefWindowMeasures m = port_.Measures();
  RefResizeFrame f;
  f.treeShown = st_.RefTreeShown;
  f.treeVisible = m.treeVisible;
  f.sizerLeft = m.sizerLeft;
  f.sizerWidth = m.sizerWidth;
  f.treeWidth = m.treeWidth;
  f.windowWidth = m.windowWidth;
  f.windowHeight = m.windowHeight;
  f.scaleWidth = m.scaleWidth;
  f.scaleHeight = m.scaleHeight;
  f.level = st_.RefCurrentLevel;
  const RefResizeLayout r = RefFormResizeLayout(f);
  if (r.treeClamped) {
    if (port_.PlaceTree) port_.PlaceTree(m.treeVisible, m.scaleWidth / 2, m.scaleHeight);
    RefDMButtonsLayout(st_.RefCurrentLevel);
  }
  if ((r.windowWidth != m.windowWidth || r.windowHeight != m.windowHeight) && port_.ResizeWindow) {
    port_.ResizeWindow(r.windowWidth, r.windowHeight);
    return;  // the window lays itself out again at its new size
  }
  if (state == WindowState::Normal) FloatWindowsTopMostSet(st_, true);
  if (port_.PlaceTree && f.treeShown) port_.PlaceTree(m.treeVisible, r.treeWidth, r.treeHeight);
  if (port_.PlaceSizer) port_.PlaceSizer(r.sizerLeft, r.sizerHeight);
  if (port_.PlaceGridHorizontal) port_.PlaceGridHorizontal(r.gridLeft, r.gridWidth);
  if (port_.PlaceGridVertical && r.gridHeight) port_.PlaceGridVertical(r.gridTop, *r.gridHeight);
  RefSheet_pos(st_.RefCurrentLevel);
  RefDMButtonsLayout(st_.RefCurrentLevel);
}

void RefSheetWindow::RefSheet_pos(int level) {
  if (st_.ui.GetWindowState(kRefWindow) == WindowState::Minimized || !port_.Measures) return;
  const RefWindowMeasures m = port_.Measures();
  const LevelBarFrame f = RefLevelBarFrame(st_.RefDisp, level, st_.LevelCount, m.treeVisible, m.treeWidth,
                                           m.sizerWidth, m.labelHeight, m.buttonWidth, m.scaleWidth, m.scaleHeight);
  if (const auto place = EdtSheet_Pos(f); place && port_.PlaceGridVertical)
    port_.PlaceGridVertical(place->top, place->height);
}

void RefSheetWindow::RefDMButtonsLayout(int level) {
  if (!port_.PlaceLevelBar) return;
  const RefWindowMeasures m = port_.Measures ? port_.Measures() : RefWindowMeasures{};
  const LevelBarFrame f = RefLevelBarFrame(st_.RefDisp, level, st_.LevelCount, m.treeVisible, m.treeWidth,
                                           m.sizerWidth, m.labelHeight, m.buttonWidth, m.scaleWidth, m.scaleHeight);
  port_.PlaceLevelBar(DMButtonsLayout(f));
}

void RefSheetWindow::HideLevelBar() {
  if (port_.PlaceLevelBar)
    port_.PlaceLevelBar(std::vector<LevelBarPlace>(static_cast<size_t>(std::max(st_.LevelCount - 1, 0))));
}

void RefSheetWindow::RefSizer_MouseUp(long x) {
  const RefWindowMeasures m = port_.Measures ? port_.Measures() : RefWindowMeasures{};
  const SizerDrop d = SizerDropAt(std::max(x, 1L), m.treeVisible, m.scaleWidth, m.sizerWidth);
  if (port_.PlaceTree) port_.PlaceTree(d.treeShown, d.treeWidth, m.scaleHeight);
  if (port_.PlaceSizer) port_.PlaceSizer(d.sizerLeft, m.scaleHeight);
  if (port_.PlaceGridHorizontal) port_.PlaceGridHorizontal(d.gridLeft, std::max(d.gridWidth, 0L));
  if (d.showTree) RefTreeBuild(st_);
  RefDMButtonsLayout(st_.RefCurrentLevel);
}

// ---------------------------------------------------------------------------
// Menus
// ---------------------------------------------------------------------------

void RefSheetWindow::MenuChosen(const std::string& name, int index) {
  if (name == "RefM1Sub") RefM1Sub_Click(index);
  else if (name == "RefZoomSub") RefZoomSub_Click(index);
  else if (name == "DM_Disp") DM_Disp_Click(index);
  else if (name == "Help") help_Click();
  else if (name == "Ref_Sch") Ref_Sch_Click(st_, [this] { if (port_.Close) port_.Close(); });
  else if (name == "MnuEItem") mnuEItem_Click(index);
}

bool RefSheetWindow::CopyLayoutChecked() {
  if (CheckRefSystem(st_)) return true;
  WarnMsgBox(st_, kRefLayoutDiffers);
  if (port_.Close) port_.Close();
  st_.RefSheetLoaded = false;
  st_.RefWindowOpen = false;
  return false;
}

void RefSheetWindow::mnuEItem_Click(int index) {
  if (!CopyLayoutChecked()) return;
  GridModel* edt = st_.sheetEngine != nullptr ? st_.sheetEngine->EdtSheetGrid(st_) : nullptr;
  if (edt == nullptr) return;
  {
    RefMenuLock(true);
    ToolBarLock(true);
    RefCommandScope unlock([this] {
      RefMenuLock(false);
      ToolBarLock(false);
      st_.ui.SetBusyPointer(false);
    });
    try {
      switch (index) {
        case 0:
          RefCellCopy(st_, grid_, *edt);
          break;
        case 1:
        case 2:
          RefRowCopy(st_, grid_, *edt, index);
          st_.sheetEngine->PageLinesDraw(st_);
          break;
        case 4:
          RefOLEObjectCopy(st_, grid_, *edt);
          break;
        default:
          break;
      }
    } catch (const std::exception& e) {
      // The sheet stays as the undo copy can bring it back.
      WarnMsgBox(st_, std::string(kRefCopyFailed) + "\n" + e.what());
    }
  }
  if (port_.EditorGridFocus) port_.EditorGridFocus();
}

void RefSheetWindow::RefMenuLock(bool flag) {
  for (const char* name : {"REfM1", "MnuE", "RefM3", "mnuT", "Help"}) menus_.At(name).enabled = !flag;
  if (port_.MenusChanged) port_.MenusChanged();
  if (port_.LevelButtonsEnable) port_.LevelButtonsEnable(!flag);
}

void RefSheetWindow::ToolBarLock(bool flag) {
  if (st_.editor) st_.editor->ToolBarStateSet(st_, flag);
}

void RefSheetWindow::ZoomCaption() {
  menus_.At("RefZoomSub", 1).caption = "ｽﾞｰﾑ設定値= " + std::to_string(st_.RefZoom) + "%";
}

void RefSheetWindow::DispChecks() {
  menus_.At("DM_Disp", 1).checked = st_.RefDisp == "縦";
  menus_.At("DM_Disp", 2).checked = st_.RefDisp != "縦";
}

void RefSheetWindow::RecentCaptions() {
  for (int i = 1; i <= 5; ++i) menus_.At("RefM1Sub", i + 2).caption = PathShorten(st_.RecentRefFiles[i], 32);
  if (port_.MenusChanged) port_.MenusChanged();
}

void RefSheetWindow::RefZoomSub_Click(int index) {
  static constexpr int kFixed[] = {100, 90, 80, 70, 60};
  if (index == 2) {
    FloatWindowsTopMostSet(st_, false);
    RefCommandScope raise([this] { FloatWindowsTopMostSet(st_, true); });
    grid_.SetAutoScroll(false);
    const std::optional<std::string> answer =
        st_.ui.InputBox(kRefZoomPrompt, "Zoom", " " + std::to_string(st_.RefZoom));
    if (!answer || Trim(*answer).empty()) return;
    const std::string text = Trim(*answer);
    const double value = std::nearbyint(LeadingNumber(text.substr(0, std::min<size_t>(3, text.size()))));
    if (value < 30 || value > 200) {
      WarnMsgBox(st_, kRefZoomLimit);
      return;
    }
    st_.RefZoom = static_cast<int>(value);
  } else if (index >= 3 && index <= 7) {
    st_.RefZoom = kFixed[index - 3];
  } else if (index != 1) {
    return;
  }
  ZoomCaption();
  if (port_.MenusChanged) port_.MenusChanged();
  SetZoom32(grid_, st_.RefZoom);
}

void RefSheetWindow::DM_Disp_Click(int index) {
  if (index != 1 && index != 2) return;
  st_.RefDisp = index == 1 ? "縦" : "横";
  DispChecks();
  if (port_.MenusChanged) port_.MenusChanged();
  ShowLevel(st_.RefCurrentLevel);
}

void RefSheetWindow::help_Click() { HelpOpen(st_, kRefWindow); }

// ---------------------------------------------------------------------------
// Levels
// ---------------------------------------------------------------------------

void RefSheetWindow::ShowLevel(int level) {
  RefSheet_pos(level);
  RefDMButtonsLayout(level);
  st_.ui.ProcessEvents();
  st_.RefDivideHold = true;
  RefLevelRead(st_, grid_, level);
  RefSheetRedisplay(st_, grid_, 1, st_.RefUsedRows);
  LoadSheetObjects(st_, st_.RefWorkFileBase, st_.RefSheetObjNo, grid_);
  st_.RefDivideHold = false;
}

std::string RefSheetWindow::Heading(const std::string& rec, int level) const {
  const int c1 = st_.CaptionColmun1;
  const int c2 = st_.CaptionColmun2;
  std::string t;
  for (int c = std::max(c1, 1); c <= c2 && c <= kMaxColumns; ++c) {
    const int start = st_.ColStart[level][c];
    const int width = st_.ColWidth[level][c];
    if (start < 1 || width < 1 || static_cast<size_t>(start - 1) >= rec.size()) continue;
    t += FromSjis(WColumnTextFit(st_, std::string_view(rec).substr(static_cast<size_t>(start - 1),
                                                                      static_cast<size_t>(width)),
                                 level, c));
  }
  return t;
}

void RefSheetWindow::RefLevelShow() {
  ClearSelect32(grid_);
  const int level = st_.RefCurrentLevel;
  const int row = st_.RefSelEnd;
  if (level >= st_.LevelCount || level >= kMaxLevels || row < 1 || row > st_.RefUsedRows) return;
  const std::string rec = st_.RefSheetRows[static_cast<size_t>(row)];
  if (BaseStrToNum(LinkField(rec, kChildPos), IsHexBase(st_.H_Link)) <= 0) return;
  st_.RefParentRows[static_cast<size_t>(level)] = rec;
  int col = 0, top = 0;
  GetTopCell32(grid_, 0, col, top);
  st_.RefPathTopCol[static_cast<size_t>(level)] = col;
  st_.RefPathTopRow[static_cast<size_t>(level)] = top;
  st_.RefPathSelEnd[static_cast<size_t>(level)] = st_.RefSelEnd;
  st_.RefPathSelStart[static_cast<size_t>(level)] = st_.RefSelStart;
  st_.RefCurrentLevel = level + 1;
  if (port_.SetLevelCaption) port_.SetLevelCaption(level, Heading(rec, level) + ":");
  ShowLevel(level + 1);
  grid_.SetCurrentCol(st_.CaptionColmun1);
  grid_.SetCurrentRow(1);
}

void RefSheetWindow::RefLevelGoto(int level) {
  if (st_.EquipRecalcRunning) return;
  HideLevelBar();
  ShowLevel(level);
  const size_t l = static_cast<size_t>(level);
  if (st_.RefPathTopRow[l] > 1) SetTopCell32(grid_, 0, st_.RefPathTopCol[l], st_.RefPathTopRow[l]);
  SetSheetLocate32(grid_, st_.CaptionColmun1, std::max(st_.RefPathSelEnd[l], 1));
}

void RefSheetWindow::DM_Button_Click(int index) { DMLabel_Click(index); }

void RefSheetWindow::DMLabel_Click(int index) {
  // Only the levels above the shown one are on the bar; the level stays
  // while the equipment totals are recalculated.
  if (st_.EquipRecalcRunning || index < 1 || index >= st_.RefCurrentLevel) return;
  st_.RefCurrentLevel = index;
  RefLevelGoto(index);
}

// ---------------------------------------------------------------------------
// Grid events
// ---------------------------------------------------------------------------

bool RefSheetWindow::ColumnHidden(int col) const {
  const int level = st_.RefCurrentLevel;
  if (level < 1 || level > 8 || col < 1 || col > kMaxColumns) return false;
  const int screen = std::clamp(st_.XMASK[level], 0, kMaskScreens - 1);
  return st_.MaskDef[level][col][static_cast<size_t>(screen)] == 'M';
}

void RefSheetWindow::RefSheet_LButtonDown(int x, int y, bool& ignore) {
  st_.RefSelStart = x;
  st_.RefSelEnd = y;
  if (y == 0) {
    ignore = true;
    if (x >= 1) SetSelect32(grid_, x, 1, x, std::max(st_.RefUsedRows, 1));
    return;
  }
  if (x == 0) {
    ignore = true;
    if (!st_.EquipRecalcRunning) {
      RefLevelShow();
      ClearSelect32(grid_);
    }
  }
}

void RefSheetWindow::RefSheet_Locate(int x, int y) {
  const int cols = st_.RefColCount[std::clamp(st_.RefCurrentLevel, 1, 8)];
  if (ColumnHidden(x)) {
    if (st_.RefSelStart < x) {
      int k = 0;
      for (int c = x; c <= cols && ColumnHidden(c); ++c) ++k;
      if (x != cols) grid_.SetCurrentCol(std::min(grid_.CurrentCol() + k, cols));
    } else if (x < st_.RefSelStart) {
      int k = 0;
      for (int c = x; c >= 1 && ColumnHidden(c); --c) ++k;
      if (x > 1) grid_.SetCurrentCol(std::max(grid_.CurrentCol() - k, 1));
    }
    return;
  }
  if (y == SheetRowLimit(st_) + 1) return;
  st_.RefSelStart = x;
  st_.RefSelEnd = y;
}

void RefSheetWindow::RefSheet_KeyDown2(int& key, bool shift, bool ctrl) {
  namespace k = gridkey;
  const int cols = st_.RefColCount[std::clamp(st_.RefCurrentLevel, 1, 8)];
  if (ctrl && !shift) {
    switch (key) {
      case k::kHome:
      case k::kUp:
        grid_.SetCurrentRow(1);
        return;
      case k::kLeft:
        for (int c = 1; c <= cols; ++c)
          if (!ColumnHidden(c)) {
            grid_.SetCurrentCol(c + 1);
            break;
          }
        return;
      case k::kRight:
        for (int c = cols; c >= 1; --c)
          if (!ColumnHidden(c)) {
            grid_.SetCurrentCol(std::max(c - 1, 1));
            break;
          }
        return;
      case k::kDown:
        grid_.SetCurrentRow(std::max(st_.RefUsedRows - 1, 1));
        return;
      case k::kEnd:
        // The grid takes no step of its own for End: straight to the last row.
        grid_.SetCurrentRow(std::max(st_.RefUsedRows, 1));
        return;
      default:
        break;
    }
  }
  if (key == k::kPageUp || key == k::kPageDown || (key >= k::kLeft && key <= k::kDown)) return;
  key = 0;
}

void RefSheetWindow::RefSheet_PreEdit(int& key) { key = 0; }

void RefSheetWindow::RefSheet_DblClk(int, int) { mnuEItem_Click(0); }

void RefSheetWindow::RefSheet_RButtonDown(int x, int y, bool& ignore) {
  ignore = false;
  if (x != 0 && y != 0 && y != SheetRowLimit(st_) + 1 && port_.PopupCopyMenu) port_.PopupCopyMenu();
}

void RefSheetWindow::RefSheet_ItemSelected(int item) { st_.RefSelectedObjectItem = item; }

void RefSheetWindow::RefSheet_ItemMoveResized(bool& ignore) { ignore = true; }

void RefSheetWindow::RefSheet_Divide(int x, int y) {
  if (st_.RefDivideHold) return;
  const size_t l = static_cast<size_t>(std::clamp(st_.RefCurrentLevel, 1, 8));
  st_.RefDivideX[l] = x;
  st_.RefDivideY[l] = y;
}

// ---------------------------------------------------------------------------
// Tree
// ---------------------------------------------------------------------------

void RefSheetWindow::RefTreeView_NodeClick(const TreeNodeData& node) {
  RefMenuLock(true);
  RefCommandScope unlock([this] { RefMenuLock(false); });
  const std::string key = TreeNodeKeyOf(node);
  const bool hex = IsHexBase(st_.H_Link);
  const bool root = key == kTreeRootKey;
  const int level = root ? 1 : static_cast<int>(key.size()) / kTreeKeySegment;
  if (level < 1 || level > kMaxLevels || level > std::max(st_.LevelCount, 1)) return;
  const int record = root ? 1 : TreeKeyRecord(key, level, hex);

  // The rows of the path, each read checked; a record its file does not hold
  // ends the click with nothing changed.
  const LevelTreeSource src = RefTreeSource(st_);
  std::array<std::string, 9> parents;
  for (int p = 1; p < level; ++p)
    if (!LevelTreeRecord(st_, src, p, TreeKeyRecord(key, p, hex), parents[static_cast<size_t>(p)])) return;

  st_.RefCurrentLevel = level;
  for (int p = 1; p < level; ++p) {
    st_.RefParentRows[static_cast<size_t>(p)] = parents[static_cast<size_t>(p)];
    if (port_.SetLevelCaption) port_.SetLevelCaption(p, ":" + Heading(parents[static_cast<size_t>(p)], p));
  }
  HideLevelBar();
  RefDMButtonsLayout(level);
  RefSheet_pos(level);
  st_.ui.ProcessEvents();
  st_.RefDivideHold = true;
  RefLevelRead(st_, grid_, level);
  st_.ui.ProcessEvents();
  bool found = false;
  int row = 0;
  RefTreeNodeFind(st_, level, found, record, row);
  if (row < 1) row = 1;
  RefSheetRedisplay(st_, grid_, row, st_.RefUsedRows);
  LoadSheetObjects(st_, st_.RefWorkFileBase, st_.RefSheetObjNo, grid_);
  st_.RefDivideHold = false;
  SetTopCell32(grid_, 0, 1, row);
  grid_.SetCurrentRow(row);
  grid_.SetCurrentCol(st_.ToTalNameColmun);
  if (port_.GridFocus) port_.GridFocus();
}

void RefSheetWindow::ShowSearchHit(int level, const std::array<std::string, 9>& parents,
                                   const std::array<std::string, 9>& labels, int row) {
  const int oldLevel = st_.RefCurrentLevel;
  const auto oldParents = st_.RefParentRows;
  st_.RefCurrentLevel = level;
  for (int p = 1; p < level; ++p) {
    st_.RefParentRows[static_cast<size_t>(p)] = parents[static_cast<size_t>(p)];
    if (port_.SetLevelCaption) port_.SetLevelCaption(p, labels[static_cast<size_t>(p)]);
  }
  HideLevelBar();
  RefSheet_pos(level);
  RefDMButtonsLayout(level);
  st_.RefSelEnd = 1;
  st_.RefDivideHold = true;
  if (!RefLevelRead(st_, grid_, level)) {
    // The sheet could not be read (the user has been told): back to the
    // level and path shown before, read again.
    st_.RefCurrentLevel = oldLevel;
    st_.RefParentRows = oldParents;
    for (int p = 1; p < oldLevel; ++p)
      if (port_.SetLevelCaption) port_.SetLevelCaption(p, Heading(oldParents[static_cast<size_t>(p)], p) + ":");
    HideLevelBar();
    st_.RefDivideHold = false;
    ShowLevel(oldLevel);
    return;
  }
  const int col0 = st_.RefSelStart;
  st_.SheetLoading = true;
  st_.ui.ProcessEvents();
  st_.SheetLoading = false;
  RefSheetRedisplay(st_, grid_, 1, st_.RefUsedRows);
  LoadSheetObjects(st_, st_.RefWorkFileBase, st_.RefSheetObjNo, grid_);
  st_.RefDivideHold = false;
  if (row >= 1) {
    SetTopCell32(grid_, 0, 1, row);
    grid_.SetCurrentRow(row);
  }
  grid_.SetCurrentCol(col0);
}

void RefWindowShow(ProgramState& st) {
  if (!st.ui.HasWindow(kRefWindow)) return;
  st.RefWindowOpen = true;
  st.ui.ShowModeless(kRefWindow);
  RefTreeBuild(st);
  st.ui.ProcessEvents();
  st.ui.ActivateWindow(kRefWindow);
}

std::string RefWindowServices::RefFilePath(ProgramState& st) { return st.RefSheetLoaded ? st.RefFilePath : ""; }

void RefWindowServices::Unload(ProgramState& st) {
  // The window's own closing clears its flags (or refuses, and it stays).
  if (st.ui.IsWindowLoaded(kRefWindow)) {
    st.ui.UnloadWindow(kRefWindow);
    return;
  }
  st.RefSheetLoaded = false;
  st.RefWindowOpen = false;
}

}  // namespace kv
