#pragma once
// The reference window `RefSheet_Frm` ("参考画面-1") as logic: a second,
// read-only estimate beside the editor, with its level bar (`DM_Button`
// 1..8, `DMLabel` 1..7), its level tree `RefTreeView`, the splitter `RefSizer`
// and the grid `RefSheet`, and its menus as a menu model. The Qt window
// (reference/windows/) draws the controls, hands the user's actions here and
// applies what this asks through the port; tests play the window with a port
// of their own.
//
// Every command of the File menu runs between RefMenuLock / ToolBarStateSet
// on and off; an open has three outcomes: shown, abandoned (the previous
// reference back exactly as it was: paths, level, files) or refused before
// anything changed. The floating windows lowered by a command are raised on
// every way out of it.
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "sheet/level_bar_layout.h"
#include "state/menu_model.h"
#include "state/reference_services.h"

namespace kv {

struct ProgramState;
class GridModel;
class TreeModel;
struct TreeNodeData;

inline constexpr const char* kRefCaption = "参考画面-1";
inline constexpr const char* kRefLinkWindow = "RefLinkN";
inline constexpr const char* kRefOpenTitle = "The Korvaneの参考ﾌｧｲﾙを開く";
inline constexpr const char* kRefZoomPrompt = "ｽﾞｰﾑの倍率を入力して下さい.\n(200---30)";
inline constexpr const char* kRefZoomLimit = "ｽﾞｰﾑ倍率の限度を越えてます!";
inline constexpr long kRefDefaultTreeWidth = 2500;
inline constexpr const char* kRefLayoutDiffers =
    "編集画面と参考画面のシステム設定の形式が異なりますので\r一旦参考画面を閉じます。";
inline constexpr const char* kRefCopyFailed = "参考データを複写できませんでした。";

// The window's measures now (twips of its inner area and of its controls).
struct RefWindowMeasures {
  long scaleWidth = 0, scaleHeight = 0;    // inner area below the menu bar
  long windowWidth = 0, windowHeight = 0;  // outer size
  long labelHeight = 0;                    // DMLabel(1)
  long buttonWidth = 0;                    // DM_Button(1)
  long sizerLeft = 0, sizerWidth = kSizerWidth;
  long treeWidth = 0;
  bool treeVisible = false;
};

// What the logic asks of the window. A step left empty is skipped.
struct RefWindowPort {
  std::function<RefWindowMeasures()> Measures;
  // Outer rectangle on the screen and the screen's size, in twips.
  std::function<WindowRect()> Bounds;
  std::function<void(const WindowRect&)> SetBounds;
  std::function<TextSize()> ScreenTwips;
  std::function<void(long width, long height)> ResizeWindow;  // outer size
  // DM_Button(i) and DMLabel(i), i = 1 .. entries: hidden or shown there.
  std::function<void(const std::vector<LevelBarPlace>&)> PlaceLevelBar;
  std::function<void(int level, const std::string& caption)> SetLevelCaption;
  std::function<void(bool enabled)> LevelButtonsEnable;
  std::function<void(long left, long width)> PlaceGridHorizontal;
  std::function<void(long top, long height)> PlaceGridVertical;
  std::function<void(bool visible, long width, long height)> PlaceTree;
  std::function<void(long left, long height)> PlaceSizer;
  std::function<void()> MenusChanged;  // the menu model changed: show it
  std::function<void()> GridFocus;
  std::function<void()> EditorGridFocus;  // unless the editor is minimised
  std::function<void(bool locked)> HiinsatuStateSet;
  std::function<void()> PopupCopyMenu;  // the copy menu at the mouse
  std::function<void()> Close;          // closes the window (its close request decides)
};

// The menu tree of the window as designed: file, copy, view, extended
// functions, help.
EditorMenus RefMenuTree();

// Runs `end` when the scope ends: the locks released and the floating
// windows raised on every way out of a command.
class RefCommandScope {
 public:
  explicit RefCommandScope(std::function<void()> end) : end_(std::move(end)) {}
  ~RefCommandScope() { end_(); }
  RefCommandScope(const RefCommandScope&) = delete;
  RefCommandScope& operator=(const RefCommandScope&) = delete;

 private:
  std::function<void()> end_;
};

class RefSheetWindow {
 public:
  // Connects the grid's and the tree's events to the handlers below.
  RefSheetWindow(ProgramState& st, GridModel& grid, TreeModel& tree, RefWindowPort port);
  ~RefSheetWindow();
  RefSheetWindow(const RefSheetWindow&) = delete;
  RefSheetWindow& operator=(const RefSheetWindow&) = delete;

  EditorMenus& Menus() { return menus_; }
  GridModel& RefSheet() { return grid_; }

  void Form_Load();
  // False when the close is refused (equipment totals being recalculated).
  bool Form_QueryUnload();
  void Form_Unload();
  void Form_Resize();
  void RefWinSettingsLoad();
  void RefWinSettingsSave(bool minimised);

  void RefSheet_pos(int level);
  void RefDMButtonsLayout(int level);
  void DM_Button_Click(int index);
  void DMLabel_Click(int index);
  void DM_Disp_Click(int index);
  void RefZoomSub_Click(int index);
  void help_Click();
  // The splitter dropped at x twips from the inner area's left edge.
  void RefSizer_MouseUp(long x);
  // A menu item (or a top-level menu opened) by control name and index.
  void MenuChosen(const std::string& name, int index);
  // The five top-level menus and the eight level buttons off (true) or on.
  void RefMenuLock(bool flag);

  // ---- The File menu ----
  void RefM1Sub_Click(int index);

  // ---- The copy menu ----
  // 0 cell copy, 1 row copy, 2 all-row copy, 4 object copy, into the
  // editor's sheet. Runs only while the reference shares the editor's
  // layout: otherwise the window closes after saying so. The menus and the
  // editor's toolbars are locked meanwhile; an unexpected failure ends the
  // copy with a message.
  void mnuEItem_Click(int index);

  // ---- The sheet ----
  void RefLevelShow();
  void RefLevelGoto(int level);
  // Shows the sheet of `level` below the parent rows `parents` (checked by
  // the caller), with the level bar's labels `labels` and row `row` at the
  // top (below 1: the sheet from its top). When the sheet cannot be read the
  // window goes back to the level and path it showed.
  void ShowSearchHit(int level, const std::array<std::string, 9>& parents, const std::array<std::string, 9>& labels,
                     int row);

  // ---- Grid and tree events ----
  void RefSheet_LButtonDown(int x, int y, bool& ignore);
  void RefSheet_Locate(int x, int y);
  void RefSheet_KeyDown2(int& key, bool shift, bool ctrl);
  void RefSheet_PreEdit(int& key);
  void RefSheet_DblClk(int x, int y);
  void RefSheet_RButtonDown(int x, int y, bool& ignore);
  void RefSheet_ItemSelected(int item);
  void RefSheet_ItemMoveResized(bool& ignore);
  void RefSheet_Divide(int x, int y);
  void RefTreeView_NodeClick(const TreeNodeData& node);

 private:
  enum class Road { Open, Rule, Recent };
  void FileOpenByDialog(Road road);
  void RecentOpen(int n);
  void OpenChosen(const std::string& path, Road road);
  void ShowOpened(bool addRecent);
  bool Refused(const std::string& path);
  void RecentCaptions();
  void ZoomCaption();
  void DispChecks();
  // A level change: place, read, paint, objects.
  void ShowLevel(int level);
  void HideLevelBar();
  std::string Heading(const std::string& rec, int level) const;
  bool ColumnHidden(int col) const;
  void ToolBarLock(bool flag);
  // False (the window closed) when the reference's layout is not the editor's.
  bool CopyLayoutChecked();

  ProgramState& st_;
  GridModel& grid_;
  TreeModel& tree_;
  RefWindowPort port_;
  EditorMenus menus_;
};

// Shows the reference window from the editor (File menu item 7 and the
// "SANKOU" buttons): `RefWindowOpen` set, the window shown modeless, its tree
// rebuilt, pending events run, the focus to its grid. Nothing when the
// program has no reference window.
void RefWindowShow(ProgramState& st);

// What storage asks of the reference window: the reference shown ("" while
// the window is not loaded) and its unloading.
class RefWindowServices : public ReferenceServices {
 public:
  std::string RefFilePath(ProgramState& st) override;
  void Unload(ProgramState& st) override;
};

}  // namespace kv
