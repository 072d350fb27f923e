#pragma once
// SchSheet_Frm ("文字列検索"): the search window's logic. It searches the level
// work files of the estimate, or of the reference shown in the reference
// window (`SearchTitle` = kRefSearchCaption), for a text in one column or for
// the compound conditions of frmKensaku, lists the hits in the result grid
// `SchSheet`, shows the path of the hit under the grid cursor and jumps to a
// hit in the editor or in the reference window.
//
// The Qt window (classify/windows/) draws the controls and hands the user's
// actions here; the controls' values live in this class (`SearchText`,
// `Label1`, `DMLinkLabel`, `CommandSearchEnabled`) and the window shows them
// when told (`ControlsChanged`). Tests play the window with a port of their
// own.
//
// A search runs on this thread; while its hits are read, pending events run
// after each hit. A close asked for meanwhile (the close box, 終了, another
// window unloading this one) is refused at once and carried out when the
// search has ended; the reading stops at the next hit.
#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "classify/kensaku_search.h"
#include "platform/ui.h"
#include "state/menu_model.h"

namespace kv {

struct ProgramState;
class GridModel;
class RefSheetWindow;

inline constexpr std::string_view kKensakuWindow = "frmKensaku";
inline constexpr const char* kRecordFirstText = "記録後に検索を実行します";
inline constexpr const char* kJumpRecordText = "データが変更されているので記録後に再検索を実行します。";
inline constexpr const char* kStaleHitText = "検索結果が現在のデータと一致しません。\rもう一度検索して下さい。";
inline constexpr int kSearchMinTwips = 3000;

// The window's measures in twips: its outer size, its inner area and the
// design sizes of the controls the layout reads.
struct SchSheetMeasures {
  int windowWidth = 0, windowHeight = 0;
  int scaleLeft = 0, scaleTop = 0, scaleWidth = 0, scaleHeight = 0;
  int searchTextHeight = 0;   // SearchText
  int linkLabelHeight = 0;    // DMLinkLabel
  int jumpWidth = 0;          // CommandJump
  int searchButtonWidth = 0;  // CommandSearch
  int label1Width = 0;        // Label1
};

// Where Form_Resize puts things, in twips.
struct SchSheetLayout {
  // The window's outer size when it must grow to 3000 x 3000 twips; 0 when
  // it keeps its size.
  int growWidth = 0, growHeight = 0;
  int gridLeft = 0, gridTop = 0, gridWidth = 0, gridHeight = 0;
  int linkLabelWidth = 0;
  int label1Left = 0;
  int searchTextWidth = 0;
};

// The layout of the window: at least 3000 x 3000 twips (the inner area grows
// with the window), the grid under the two lines of controls and filling the
// rest, the path label beside the jump button, the count label at the right
// end of the first line, the search box taking what the search button and
// the label leave. No size comes out below 0.
SchSheetLayout SchSheetLayoutOf(const SchSheetMeasures& m);

// The level of a hit from its number line (entries 0..8): 1 when entry 0 is
// 1 or more, else the count of leading non-zero entries from entry 1 (up to
// entry 8 and `levelCount`); 0 means no jump.
int HitLevel(const std::array<int, kHitNumberCount>& nums, int levelCount);

// What the logic asks of the window and of the windows it jumps into. A step
// left empty is skipped.
struct SchSheetPort {
  std::function<SchSheetMeasures()> Measures;
  std::function<void(int width, int height)> ResizeWindow;  // outer twips
  std::function<void(const SchSheetLayout&)> Place;
  std::function<WindowRect()> Bounds;  // outer rectangle, twips
  std::function<void(const WindowRect&)> SetBounds;
  std::function<void(const std::string& caption)> SetCaption;
  std::function<void()> ControlsChanged;
  std::function<void()> MenusChanged;
  std::function<void(bool locked)> HiinsatuStateSet;
  std::function<void()> Close;  // closes the window (its close request decides)
  // The editor's level bar label of `level` (1 .. 7).
  std::function<void(int level, const std::string& caption)> EditorLevelCaption;
  std::function<void()> EditorGridFocus;
  // The reference window's logic, null while it is not loaded.
  std::function<RefSheetWindow*()> RefWindow;
  std::function<void()> RefGridFocus;
};

class SchSheet_Frm {
 public:
  SchSheet_Frm(ProgramState& st, GridModel& schSheet, SchSheetPort port);
  SchSheet_Frm(const SchSheet_Frm&) = delete;
  SchSheet_Frm& operator=(const SchSheet_Frm&) = delete;

  // ---- Public members ----
  void ZGetKensakuResult();
  void ZMakeKensakuINI(const std::string& text, int level);
  void CommandSearch_Click();
  std::string SrchText2DanMake(std::string_view text, int column, int row, int level) const;

  // ---- Events ----
  void Form_Load();
  void Form_Resize();
  // False when the close is put off (a search is running).
  bool Form_QueryUnload();
  void Form_Unload();
  void SearchText_KeyDown(int key);
  void RefM1Sub_Click();
  void RefM3Sub_Click() {}
  void RefZoomSub_Click(int index);
  void mnuJ_Click();
  void help_Click();
  void DMLinkLabel_DblClick() {}
  void MenuChosen(const std::string& name, int index);

  // ---- The result grid ----
  void SetUpResultSheet(int level);
  void AddResultRow(int first, int last, std::string_view record);
  void SchSheet_PreEdit(int& key);
  void SchSheet_RButtonDown(int col, int row, bool& ignore);
  void SchSheet_Divide(int x, int y);
  void SchSheet_KeyDown2(int& key, bool shift, bool ctrl);
  void SchSheet_Locate(int col, int row);

  // ---- The jump ----
  void SchSheet_DblClk(int col, int row);
  void CommandJump_Click();

  // ---- Fields ----
  KensakuHits Hits;  // HitCount, HitNums, HitPaths
  int WideLevel = 1;
  int NarrowLevel = 1;
  int ResultCol = 1;
  int ResultRow = 1;
  int ResultLastRow = -1;
  int ResultMaskNo = 0;
  int ResultGridRows = 0;
  int ResultZoom = 100;
  bool SearchBusy = false;

  // ---- Controls ----
  std::string SearchText;   // display text
  std::string Label1;       // the hit count, " 12"
  std::string DMLinkLabel;  // the path of the hit under the cursor
  bool CommandSearchEnabled = true;

  EditorMenus& Menus() { return menus_; }
  GridModel& SchSheet() { return grid_; }
  bool ForReference() const;
  // A close was asked for while a search ran.
  bool CloseRequested() const { return closeRequested_; }

 private:
  void JumpToEstimateHit(int hit);
  void JumpToReferenceHit(int hit);
  int Msg(std::string_view text, int style);
  void Changed();
  void SearchEnd();
  KensakuReadHooks ReadHooks();
  void ZoomChecks();
  std::string SysIniPath() const;

  ProgramState& st_;
  GridModel& grid_;
  SchSheetPort port_;
  EditorMenus menus_;
  bool closeRequested_ = false;
  bool closing_ = false;
  // The outcome of the last search, told at its end.
  KensakuOutcome outcome_;
};

// Empties the compound conditions (entries 0..4 of `KensakuCond`).
void KensakuCondClear(ProgramState& st);

// The window's menus as designed: ﾌｧｲﾙ (終了), 画面 (ズーム 100% .. 60%),
// 複合検索 and ﾍﾙﾌﾟ.
EditorMenus SchSheetMenuTree();

// Opens the search window for the estimate (the extended-functions item and
// the SEARCH buttons): nothing unless SchPreCheck lets the search start.
// `flagFirst`: `SearchWindowOpen` is set before the window is shown (the
// menu and the docked toolbar), else after (the floating toolbar).
void SearchWindowShow(ProgramState& st, bool flagFirst = true);

// The reference window's "文字検索(&K)": the checks on the reference
// (its layout against the editor's, the search window already serving the
// estimate, no file open, the cursor column across the levels), then the
// search window opened for the reference. `closeReference` unloads the
// reference window when its layout does not match.
void Ref_Sch_Click(ProgramState& st, const std::function<void()>& closeReference);

}  // namespace kv
