#pragma once
// EDTSHEET_FRM: the main window. It holds the sheet grid and every command of
// the editor: menu bar, the two toolbars with the zoom and paper combos, the
// level bar, the level tree and its splitter, the memo-row input grid, the
// calculator box and the status bar. Loading it sets these up from the
// settings; activating it brings the floating tool windows back on top;
// closing it asks the close logic, which may refuse, and ends the program.
//
// It is the editor window the logic reaches through EditorServices
// (`st.editor` while it exists). It makes the sheet engine over its sheet grid
// and status bar (`st.sheetEngine` while the window exists).
#include <QMainWindow>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor_close.h"
#include "editor/editor_form_load.h"
#include "editor/editor_state.h"
#include "editor/file_menu.h"
#include "editor/grid_events.h"
#include "editor/toolbar_drag.h"
#include "editor/toolbars/toolbar_model.h"
#include "editor/windows/memo_editor_view.h"
#include "platform/grid/grid_model.h"
#include "platform/tree/tree_model.h"
#include "sheet/level_bar_layout.h"
#include "sheet/status_bar.h"
#include "state/editor_services.h"
#include "state/menu_model.h"
#include "state/sys_ini.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRubberBand;
class QStatusBar;
class QToolBar;

namespace kv {

class ToolbarDragFilter;

class GridView;
class MenuBarView;
class QtUi;
class SheetEngine;
class ToolbarActions;
class TreeView;
struct ProgramState;

// What the program hands the window when it is made: the title screen's
// progress and the close steps of other parts of the program.
struct EditorWindowHooks {
  std::function<void(int step)> SplashProgress;
  EditorCloseSteps closeSteps;
};

class EDTSHEET_FRM : public QMainWindow,
                     public EditorServices,
                     public StatusBarPort,
                     public LevelBarPort,
                     private EditorFormPort,
                     private EditorGridPort {
 public:
  static constexpr int kLevelButtons = 8;
  static constexpr int kStatusPanels = 6;

  // Makes the controls and runs the load. The window is `st.editor` until it
  // is destroyed; the program state must outlive it.
  EDTSHEET_FRM(ProgramState& st, EditorWindowHooks hooks, QWidget* parent = nullptr);
  ~EDTSHEET_FRM() override;

  // --- Menu commands ---
  // A command for the items of the control array `name` (every item, or the
  // one at `index`): the items become choosable and the command runs with the
  // item's index when one is chosen.
  using MenuCommand = std::function<void(int index)>;
  void WireMenu(const std::string& name, MenuCommand command, int index = kAllItems);
  // The action drawn for an item (null when the tree has none).
  QAction* MenuAction(const std::string& name, int index = -1) const;
  // Opening the top-level menus File, Edit, calculation rows (control array
  // index 3) and extended functions: each only gives the keyboard focus to
  // the sheet grid; no item changes there.
  void Menu_1_Click();
  void Menu_2_Click();
  void Menu_3_Click(int index);
  void Tokusyu_Click();
  // The File menu's handler; the toolbars' print buttons call it too.
  void Menu_1Sub_Click(int index);
  // The calculation-row menu's handler; the toolbars' total and tax row
  // buttons call it too.
  void Menu_3Sub_Click(int index);
  // The extended-functions menu's handler.
  void Tokusyusub_Click(int index);
  // The Insert menu's handler and the hidden Pack item's, and their wiring
  // (editor/object_menu.h).
  void ObjectMenuSub_Click(int index);
  void Pack_Click();
  void WireObjectMenu();
  // The View menu with its hidden items, and the basic toolbar's zoom and
  // paper combos, wired to their handlers (editor/view_menu.h). A selection
  // the program makes in a combo runs its handler as a user's choice does.
  void WireViewMenu();
  // Switch the non-print row / level-row marking mode on or off.
  void NotPrintLine();
  void NotPrintLvlLine();
  // The sheet grid's popup edit menu (made once; a right click shows it).
  QMenu* EditPopup() const { return editPopup_; }

  // --- Cover tool hand-off ---
  // The hand-off to the outside cover tool: the window minimised and
  // disabled while the tool runs (File item 10, the HYOUSI buttons).
  void KVCoverProc();
  // Writes the tool's hand-off file `Mp_Cover.Dat`.
  void MpCoverFileMake();

  // --- Toolbars ---
  // A click on a button of the docked basic or extended toolbar, by key; the
  // floating toolbars call them too.
  // `fromFloating` for the few buttons that act differently there.
  void Toolbar1_ButtonClick(const std::string& key, bool fromFloating = false);
  void Toolbar2_ButtonClick(const std::string& key, bool fromFloating = false);
  // A double click on the extended toolbar (and View item 13): its customise
  // dialog.
  void Toolbar2_DblClick();
  // Undocks the basic or extended toolbar into its floating window, placed
  // with its top left corner at (xTw, yTw) in screen twips.
  void FloatToolBar1(int xTw, int yTw);
  void FloatToolBar2(int xTw, int yTw);
  // The non-print row button and menu item locked (true) or free again.
  void HiinsatuStateSet(bool locked);
  // Store the arrangement of the basic or the extended toolbar.
  void Toolbar1_Change();
  void Toolbar2_Change();
  // Puts the extended toolbar's buttons as they were stored.
  void Toolbar2ArrangementRestore();
  // Splits the sheet view or joins it again.
  void ToggleSheetDivide();
  // A mouse press or release on the docked basic or extended toolbar or one
  // of its buttons (any button, any shift state), the pointer at (x, y) in
  // screen pixels: a press arms the undocking drag, a release 12 pixels or
  // more away undocks the toolbar at the pointer; after the basic toolbar's
  // release the sheet may take the focus (editor/toolbar_drag.h).
  void Toolbar1_MouseDown(int button, int shift, int x, int y);
  void Toolbar1_MouseUp(int button, int shift, int x, int y);
  void Toolbar2_MouseDown(int button, int shift, int x, int y);
  void Toolbar2_MouseUp(int button, int shift, int x, int y);

  // --- Status bar ---
  void StatusBarInit() override;
  // Panel 1..6; other numbers are ignored. The bar repaints in every case.
  void StatusPanelSet(int panel, const std::string& text) override;
  // Clears the panel; panel 1 then shows "[" held text "]" when a cell text
  // is held (HeldCellText, or the text given).
  void StatusPanelClear(int panel);
  void StatusPanelClear(int panel, const std::string& heldCellText);
  std::string StatusPanelText(int panel) const;
  // The cell text held by the grid's key handling (`HeldCellText`, "" when none).
  std::string HeldCellText() const override;

  // --- Controls other parts of the editor fill ---
  // The sheet grid and the memo row's one-row grid: the models the sheet
  // engine drives, and their views.
  GridModel& EdtSheet() { return edtSheetGrid_; }
  GridModel& RowSheet() { return rowSheetGrid_; }
  GridView* EdtSheetView() const { return edtSheet_; }
  SheetEngine& Engine() { return *engine_; }
  GridView* RowSheetView() const { return rowSheet_; }
  // Places and hides the RowSheet view over a memo row of the sheet grid.
  MemoEditorPort& MemoEditor() { return *memoEditor_; }
  QLineEdit* DentakuText() const { return dentakuText_; }
  QToolBar* Toolbar1() const { return toolbar1_; }
  QToolBar* Toolbar2() const { return toolbar2_; }
  QComboBox* cmbZoom() const { return cmbZoom_; }
  QComboBox* cmbYosi() const { return cmbYosi_; }
  // The buttons of the docked toolbars: their states and their actions
  // (the actions exist once the toolbars are set up).
  ToolbarModel& Toolbar1Model() { return toolbar1Model_; }
  ToolbarModel& Toolbar2Model() { return toolbar2Model_; }
  ToolbarActions* Toolbar1Actions() const { return toolbar1Actions_; }
  ToolbarActions* Toolbar2Actions() const { return toolbar2Actions_; }
  // The button states of the floating copies (owned here so that the locks
  // reach them whether the floating windows exist or not).
  ToolbarModel& FloatToolbar1Model() { return floatToolbar1Model_; }
  ToolbarModel& FloatToolbar2Model() { return floatToolbar2Model_; }
  // Shows every toolbar model on its buttons: the docked actions, then the
  // floating windows through `floatToolbarsRefresh` (set while they exist).
  void ToolbarsRefresh();
  std::function<void()> floatToolbarsRefresh;
  // The level bar: a button and a path label for each parent level; the bar
  // uses LevelCount - 1 of them.
  QPushButton* DM_Button(int i) const;  // 1..8
  QLabel* DMLabel(int i) const;         // 1..8
  // The level tree (its model is `st.EditTree` while the window exists).
  TreeView* TreeView1() const { return treeView1_; }
  TreeModel& EditTree() { return editTree_; }
  QFrame* Sizer() const { return sizer_; }

  // --- Level bar (LevelBarPort), in twips of the central area ---
  LevelBarFrame Measures() override;
  void PlaceLevelBar(const std::vector<LevelBarPlace>& pairs) override;
  void PlaceGrid(const kv::GridPlace& place) override;
  void SetLevelCaption(int level, const std::string& caption) override;

  // --- The splitter, the tree pane and the display mode ---
  // A drag of the splitter, x in pixels of the central area: the press
  // shows the drag line, a move moves it (held inside the central area),
  // the release drops the splitter there.
  void Sizer_MouseDown(int x);
  void Sizer_MouseMove(int x);
  void Sizer_MouseUp(int x);
  // Shows the drag line at the drag position, or hides it.
  void DrawSizerLine(bool shown);
  // The toolbar's TREE toggle: shows (and rebuilds) or hides the tree pane.
  void TreeDisplay();
  // The View menu's level display items 1..3.
  void DM_Disp_Click(int index);

  EditorState& State() { return ed_; }
  // The window's rectangle and splitter in twips, for the settings written at
  // program end.
  MainWindowPlacement Placement() const;

  // --- EditorServices ---
  void ToolBar1Init(ProgramState& st) override;
  void ToolBar2Init(ProgramState& st) override;
  void ShowToolBar2(ProgramState& st, bool visible) override;
  void ToolBarStateSet(ProgramState& st, bool busy) override;
  void PageNumbersWrite(ProgramState& st) override;
  void SetCaption(ProgramState& st, const std::string& caption) override;
  void MaskMenuCaptionSet(ProgramState& st) override;
  void Form_Resize(ProgramState& st) override;
  EditorMenus* Menus() override { return &menus_; }
  void MenusChanged(ProgramState& st) override;
  bool FormCaptionOpen(ProgramState& st, const std::string& caption) override;
  void PaperCombosFill(ProgramState& st, const std::vector<std::string>& captions, int selected) override;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  // EditorFormPort: the load's steps on the controls.
  void SplashProgress(int step) override;
  void PlaceWindow(int leftTw, int topTw, int widthTw, int heightTw) override;
  void Toolbar1DockIfLoose() override;
  int SizerPlace(int sizerPosTw) override;
  void GridPlace() override;
  void DentakuHide() override;
  void MenusChanged() override;

  // EditorGridPort: the calculator box over the status bar, the grid's focus.
  void CalcBoxShow(bool shown) override;
  bool CalcBoxVisible() const override;
  std::string CalcBoxText() const override;
  void SetCalcBoxText(const std::string& text) override;
  void CalcBoxFocus() override;
  void SheetFocus() override;
  void EditPopupShow() override;

  void BuildControls();
  void WireFileMenu();
  void WireEditing();
  void WireLevelMoves();
  void MenuChosen(const std::string& name, int index);
  void Form_Activate();
  // Marks the toolbar buttons whose commands exist and watches the docked
  // toolbars for the drag that undocks them.
  void ToolbarEventsWire();
  int Px(int twips) const;   // twips to pixels across
  int Tw(int pixels) const;  // pixels to twips across

  ProgramState& st_;
  EditorWindowHooks hooks_;
  EditorState ed_;
  EditorMenus menus_;
  std::unique_ptr<MenuBarView> menuView_;
  // While the window is made, menu changes are drawn once at its end.
  bool menusHeld_ = false;
  std::map<std::pair<std::string, int>, MenuCommand> commands_;
  FileMenuPort fileMenuPort_;

  // The grid models outlive their views (the views go first in the destructor).
  GridModel edtSheetGrid_;
  GridModel rowSheetGrid_;
  QWidget* central_ = nullptr;
  GridView* edtSheet_ = nullptr;
  GridView* rowSheet_ = nullptr;
  std::unique_ptr<MemoEditorView> memoEditor_;
  QLineEdit* dentakuText_ = nullptr;
  QMenu* editPopup_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  std::vector<QLabel*> panels_;
  QToolBar* toolbar1_ = nullptr;
  QToolBar* toolbar2_ = nullptr;
  // The undocking drag of each docked toolbar, and the watcher of its mouse
  // events (which also holds how it undocks and gives the sheet the focus).
  ToolbarDrag toolbarDrag_[2];
  ToolbarDragFilter* toolbarDragFilter_[2] = {nullptr, nullptr};
  void ToolbarMouseUp(int bar, int x, int y);
  QComboBox* cmbZoom_ = nullptr;
  QComboBox* cmbYosi_ = nullptr;
  ToolbarModel toolbar1Model_{BasicToolbarTable()};
  ToolbarModel toolbar2Model_{ExtendedToolbarTable()};
  ToolbarModel floatToolbar1Model_{BasicToolbarTable()};
  ToolbarModel floatToolbar2Model_{ExtendedToolbarTable()};
  ToolbarActions* toolbar1Actions_ = nullptr;
  ToolbarActions* toolbar2Actions_ = nullptr;
  std::vector<QPushButton*> dmButtons_;
  std::vector<QLabel*> dmLabels_;
  // The tree model outlives its view (the view goes first in the destructor).
  TreeModel editTree_;
  TreeView* treeView1_ = nullptr;
  QFrame* sizer_ = nullptr;
  QRubberBand* sizerLine_ = nullptr;
  bool sizerDragging_ = false;
  int sizerLineX_ = 0;
  std::unique_ptr<EditorGrids> grids_;
  std::unique_ptr<SheetEngine> engine_;
  bool loaded_ = false;
};

// Registers the main window with the Qt seam under "EDTSHEET_FRM"; it is made
// (and loaded) at its first use.
void RegisterEditorWindow(QtUi& ui, ProgramState& st, EditorWindowHooks hooks);

}  // namespace kv
