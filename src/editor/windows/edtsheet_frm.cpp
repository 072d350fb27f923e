#include "editor/windows/edtsheet_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <algorithm>

#include "app/windows/option_windows.h"
#include "calc/level_calc.h"
#include "editor/calc_box.h"
#include "editor/calc_menu.h"
#include "editor/edit_menu.h"
#include "editor/editor_geometry.h"
#include "editor/level_display.h"
#include "editor/page_numbers.h"
#include "editor/windows/frm_kouji_sht.h"
#include "editor/windows/frm_tname.h"
#include "editor/windows/level_bar_widgets.h"
#include "editor/windows/menu_bar_view.h"
#include "editor/windows/msk_sheet_frm.h"
#include "sheet/edit_popup_menu.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/tree/qt/tree_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "sheet/edit_tree.h"
#include "sheet/level_navigation.h"
#include "sheet/selection_helpers.h"
#include "sheet/sheet_engine.h"
#include "state/float_windows.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_commands.h"

namespace kv {

namespace {

// Watches the central area's size: the window lays itself out again.
class ResizeWatcher : public QObject {
 public:
  ResizeWatcher(QWidget* watched, std::function<void()> onResize)
      : QObject(watched), onResize_(std::move(onResize)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Resize) onResize_();
    return false;
  }

 private:
  std::function<void()> onResize_;
};

// Hands a widget's events to a function; true from it stops the event.
class EventWatcher : public QObject {
 public:
  EventWatcher(QWidget* watched, std::function<bool(QEvent*)> onEvent)
      : QObject(watched), onEvent_(std::move(onEvent)) {
    watched->installEventFilter(this);
  }
  bool eventFilter(QObject*, QEvent* e) override { return onEvent_(e); }

 private:
  std::function<bool(QEvent*)> onEvent_;
};

}  // namespace

EDTSHEET_FRM::EDTSHEET_FRM(ProgramState& st, EditorWindowHooks hooks, QWidget* parent)
    : QMainWindow(parent), st_(st), hooks_(std::move(hooks)), menus_(EditorMenuTree()) {
  setObjectName(QString::fromLatin1(kEditWindow.data(), qsizetype(kEditWindow.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  BuildControls();
  memoEditor_ = std::make_unique<MemoEditorView>(*edtSheet_, *rowSheet_);
  st_.editor = this;
  // The file commands load and save the sheet objects of this grid.
  if (FileCommands* files = FileCommandsOf(st_)) files->sheetGrid = &edtSheetGrid_;
  // The sheet engine paints this window's grid and status bar; the grid
  // keeps the totals line fixed at its foot.
  edtSheetGrid_.SetTotalsLine(true);
  engine_ = std::make_unique<SheetEngine>(edtSheetGrid_, this);
  st_.sheetEngine = engine_.get();
  engine_->SetLevelBar(this);
  EditTreeConnect(st_, editTree_);
  st_.EditGridObjectsLastRow = [this] {
    int last = 0;
    for (int i = 1; i <= edtSheetGrid_.ItemCount(); ++i) {
      int c1 = 0, r1 = 0, c2 = 0, r2 = 0;
      last = std::max(last, edtSheetGrid_.ItemGeometry(i, c1, r1, c2, r2));
    }
    return last;
  };
  // The grids' events before the load: the cell the set-up puts the cursor
  // on gets its edit mode and input method.
  grids_ = std::make_unique<EditorGrids>(
      EditorGrids{st_, edtSheetGrid_, rowSheetGrid_, *this, *memoEditor_, this, &fileMenuPort_});
  WireEditorGridEvents(*grids_);
  // The menus are drawn once, after the load and the wiring have set them.
  menusHeld_ = true;
  Form_Load(st_, ed_, menus_, *this);
  WireFileMenu();
  WireEditing();
  WireLevelMoves();
  ToolbarEventsWire();
  WireViewMenu();
  WireObjectMenu();
  menusHeld_ = false;
  MenusChanged();
  loaded_ = true;
}

EDTSHEET_FRM::~EDTSHEET_FRM() {
  loaded_ = false;
  edtSheetGrid_.events = {};
  rowSheetGrid_.events = {};
  if (st_.editor == this) st_.editor = nullptr;
  if (FileCommands* files = FileCommandsOf(st_); files && files->sheetGrid == &edtSheetGrid_)
    files->sheetGrid = nullptr;
  if (st_.sheetEngine == engine_.get()) {
    st_.sheetEngine = nullptr;
    st_.EditGridObjectsLastRow = nullptr;
  }
  engine_->SetLevelBar(nullptr);
  editTree_.events = {};
  if (st_.EditTree == &editTree_) st_.EditTree = nullptr;
  delete edtSheet_;
  delete rowSheet_;
  delete treeView1_;
}

void EDTSHEET_FRM::BuildControls() {
  menuView_ = std::make_unique<MenuBarView>(
      *menuBar(), menus_, [this](const std::string& name, int index) { MenuChosen(name, index); });

  // The docked toolbars; their buttons and the combos' lists are made when the
  // toolbars are set up.
  toolbar1_ = new QToolBar(QStringLiteral("Toolbar1"), this);
  toolbar1_->setObjectName(QStringLiteral("Toolbar1"));
  toolbar1_->setMovable(false);
  toolbar1_->setFloatable(false);
  addToolBar(Qt::TopToolBarArea, toolbar1_);
  // The zoom and paper combos take the places of the toolbar's ZOOM and YOSI
  // placeholders when its buttons are made.
  cmbZoom_ = new QComboBox(toolbar1_);
  cmbZoom_->setObjectName(QStringLiteral("cmbZoom"));
  cmbZoom_->hide();
  cmbYosi_ = new QComboBox(toolbar1_);
  cmbYosi_->setObjectName(QStringLiteral("cmbYosi"));
  cmbYosi_->hide();
  addToolBarBreak(Qt::TopToolBarArea);
  toolbar2_ = new QToolBar(QStringLiteral("Toolbar2"), this);
  toolbar2_->setObjectName(QStringLiteral("Toolbar2"));
  toolbar2_->setMovable(false);
  toolbar2_->setFloatable(false);
  toolbar2_->setMinimumHeight(cmbZoom_->sizeHint().height() + 4);
  addToolBar(Qt::TopToolBarArea, toolbar2_);

  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("ScaleArea"));
  setCentralWidget(central_);

  treeView1_ = new TreeView(editTree_, central_);
  treeView1_->setObjectName(QStringLiteral("TreeView1"));
  treeView1_->hide();

  sizer_ = new QFrame(central_);
  sizer_->setObjectName(QStringLiteral("Sizer"));
  sizer_->setFrameShape(QFrame::Panel);
  sizer_->setFrameShadow(QFrame::Raised);
  sizer_->setCursor(Qt::SplitHCursor);

  // The sheet grid, and the memo row's one-row grid shown over it while a
  // memo row is edited.
  edtSheet_ = new GridView(edtSheetGrid_, central_);
  edtSheet_->setObjectName(QStringLiteral("EdtSheet"));
  rowSheet_ = new GridView(rowSheetGrid_, central_);
  rowSheet_->setObjectName(QStringLiteral("RowSheet"));
  rowSheetGrid_.SetVisible(false);

  // The level bar: a button and a path label for each parent level.
  MakeLevelBar(central_, kLevelButtons, kLevelButtons, dmButtons_, dmLabels_);
  sizerLine_ = new QRubberBand(QRubberBand::Line, central_);
  sizerLine_->hide();

  statusBar_ = new QStatusBar(this);
  statusBar_->setObjectName(QStringLiteral("StatusBar"));
  setStatusBar(statusBar_);
  // The calculator box sits over the status bar when it is shown.
  dentakuText_ = new QLineEdit(statusBar_);
  dentakuText_->setObjectName(QStringLiteral("DentakuText"));
  dentakuText_->hide();

  new ResizeWatcher(central_, [this] { Form_Resize(st_); });
}

// --- Load -----------------------------------------------------------------

void EDTSHEET_FRM::SplashProgress(int step) {
  if (hooks_.SplashProgress) hooks_.SplashProgress(step);
}

void EDTSHEET_FRM::PlaceWindow(int leftTw, int topTw, int widthTw, int heightTw) {
  QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  QRect area = screen ? screen->geometry() : QRect(0, 0, 1024, 768);
  double dpiX = screen ? screen->logicalDotsPerInchX() : 96;
  double dpiY = screen ? screen->logicalDotsPerInchY() : 96;
  WindowRect r = EditorWindowRect(leftTw, topTw, widthTw, heightTw, dpiX, dpiY,
                                  TextSize{area.width(), area.height()});
  resize(r.width, r.height);
  move(area.x() + r.left, area.y() + r.top);
}

void EDTSHEET_FRM::StatusBarInit() {
  for (QLabel* p : panels_) {
    statusBar_->removeWidget(p);
    delete p;
  }
  panels_.clear();
  for (int i = 0; i < kStatusPanels; ++i) {
    auto* p = new QLabel(statusBar_);
    p->setObjectName(QStringLiteral("Panel(%1)").arg(i + 1));
    p->setFixedWidth(kStatusPanelWidths[i]);
    p->setAlignment(kStatusPanelCentred[i] != 0 ? Qt::AlignCenter
                                                : Qt::AlignLeft | Qt::AlignVCenter);
    p->setFrameShape(QFrame::Panel);
    p->setFrameShadow(QFrame::Sunken);
    statusBar_->addWidget(p);
    panels_.push_back(p);
  }
  dentakuText_->raise();
}

void EDTSHEET_FRM::StatusPanelSet(int panel, const std::string& text) {
  if (panel >= 1 && panel <= int(panels_.size())) panels_[size_t(panel - 1)]->setText(ToQ(text));
  statusBar_->repaint();
}

void EDTSHEET_FRM::StatusPanelClear(int panel) { kv::StatusPanelClear(*this, panel); }

void EDTSHEET_FRM::StatusPanelClear(int panel, const std::string& heldCellText) {
  StatusPanelSet(panel, "");
  if (panel == 1 && !heldCellText.empty()) StatusPanelSet(1, "[" + heldCellText + "]");
}

std::string EDTSHEET_FRM::StatusPanelText(int panel) const {
  if (panel < 1 || panel > int(panels_.size())) return {};
  return FromQ(panels_[size_t(panel - 1)]->text());
}

void EDTSHEET_FRM::Toolbar1DockIfLoose() {
  if (toolBarArea(toolbar1_) == Qt::NoToolBarArea) addToolBar(Qt::TopToolBarArea, toolbar1_);
}

int EDTSHEET_FRM::SizerPlace(int sizerPosTw) {
  sizer_->move(Px(sizerPosTw), sizer_->y());
  treeView1_->resize(Px(sizerPosTw), treeView1_->height());
  return sizerPosTw;
}

void EDTSHEET_FRM::GridPlace() {
  const int treeWidth = st_.TreeShown ? treeView1_->width() : 0;
  edtSheet_->setGeometry(sizer_->x() + sizer_->width(), edtSheet_->y(),
                         std::max(0, central_->width() - sizer_->width() - treeWidth),
                         edtSheet_->height());
}

void EDTSHEET_FRM::DentakuHide() { CalcBoxShow(false); }

std::string EDTSHEET_FRM::HeldCellText() const { return st_.HeldCellText; }

void EDTSHEET_FRM::CalcBoxShow(bool shown) {
  for (QLabel* p : panels_) p->setVisible(!shown);
  dentakuText_->setGeometry(0, 0, statusBar_->width(), statusBar_->height());
  dentakuText_->setVisible(shown);
  if (shown) dentakuText_->raise();
}

bool EDTSHEET_FRM::CalcBoxVisible() const { return !dentakuText_->isHidden(); }

std::string EDTSHEET_FRM::CalcBoxText() const { return FromQ(dentakuText_->text()); }

void EDTSHEET_FRM::SetCalcBoxText(const std::string& text) {
  dentakuText_->setText(ToQ(text));
  dentakuText_->setCursorPosition(int(dentakuText_->text().size()));
}

void EDTSHEET_FRM::CalcBoxFocus() { dentakuText_->setFocus(Qt::OtherFocusReason); }

void EDTSHEET_FRM::SheetFocus() { edtSheet_->setFocus(Qt::OtherFocusReason); }

void EDTSHEET_FRM::EditPopupShow() { editPopup_->popup(QCursor::pos()); }

void EDTSHEET_FRM::MenusChanged() {
  if (!menusHeld_) menuView_->Apply(menus_);
}

// --- Menus ----------------------------------------------------------------

void EDTSHEET_FRM::WireMenu(const std::string& name, MenuCommand command, int index) {
  commands_[{name, index}] = std::move(command);
  menus_.SetReady(name, index);
  MenusChanged();
}

QAction* EDTSHEET_FRM::MenuAction(const std::string& name, int index) const {
  return menuView_->Action(name, index);
}

void EDTSHEET_FRM::WireFileMenu() {
  fileMenuPort_.LevelRecalcAndShow = [](ProgramState& st) {
    LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
  };
  fileMenuPort_.GridFocus = [this](ProgramState&) { edtSheet_->setFocus(); };
  fileMenuPort_.UnloadEditor = [this](ProgramState&) { return close(); };
  fileMenuPort_.NonPrintModesOff = [](ProgramState& st) { MarkingModesOff(st); };
  fileMenuPort_.KVCoverProc = [this](ProgramState&) { KVCoverProc(); };
  for (int item : kFileMenuItems) WireMenu("Menu_1Sub", [this](int index) { Menu_1Sub_Click(index); }, item);
}

void EDTSHEET_FRM::WireEditing() {
  for (int item : kEditMenuItems)
    WireMenu("Menu_2Sub", [this](int index) { Menu_2Sub_Click(st_, edtSheetGrid_, index); }, item);
  for (int item : kCalcMenuItems) WireMenu("Menu_3Sub", [this](int index) { Menu_3Sub_Click(index); }, item);
  // The grid's popup edit menu: its items in their index order.
  editPopup_ = new QMenu(this);
  for (int index = 0; index < int(kEditPopupCaptions.size()); ++index) {
    if (kEditPopupCaptions[size_t(index)] == "-") {
      editPopup_->addSeparator();
      continue;
    }
    QAction* a = editPopup_->addAction(ToQ(std::string(kEditPopupCaptions[size_t(index)])));
    connect(a, &QAction::triggered, this, [this, index] { mnuSysInfo_Click(st_, edtSheetGrid_, index); });
  }
  for (int item : kExtendedMenuItems)
    WireMenu("Tokusyusub", [this](int index) { Tokusyusub_Click(index); }, item);
  // The calculator box: Enter and Esc, and losing the focus to another
  // control of this window. A message box or another window becoming active
  // takes the focus for a while only: the box keeps its formula.
  new EventWatcher(dentakuText_, [this](QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(e)->key();
      if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        DentakuText_KeyPress(*grids_, 13);
        return true;
      }
      if (key == Qt::Key_Escape) {
        DentakuText_KeyPress(*grids_, 27);
        return true;
      }
    } else if (e->type() == QEvent::FocusOut) {
      const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
      if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && CalcBoxVisible())
        DentakuText_LostFocus(*grids_);
    }
    return false;
  });
}

void EDTSHEET_FRM::Menu_1Sub_Click(int index) { kv::Menu_1Sub_Click(st_, index, fileMenuPort_); }

void EDTSHEET_FRM::Menu_3Sub_Click(int index) { kv::Menu_3Sub_Click(*grids_, index); }

void EDTSHEET_FRM::Tokusyusub_Click(int index) { kv::Tokusyusub_Click(*grids_, index); }

void EDTSHEET_FRM::NotPrintLine() { kv::NotPrintLine(st_); }

void EDTSHEET_FRM::NotPrintLvlLine() { kv::NotPrintLvlLine(st_); }

void EDTSHEET_FRM::Menu_1_Click() { edtSheet_->setFocus(); }
void EDTSHEET_FRM::Menu_2_Click() { edtSheet_->setFocus(); }
void EDTSHEET_FRM::Menu_3_Click(int) { edtSheet_->setFocus(); }
void EDTSHEET_FRM::Tokusyu_Click() { edtSheet_->setFocus(); }

void EDTSHEET_FRM::MenuChosen(const std::string& name, int index) {
  for (const MenuItem& top : menus_.bar) {
    if (top.name == name && top.index == index && top.HasSubmenu()) {
      // Opening a menu only gives the keyboard back to the sheet.
      if (name == "Menu_1")
        Menu_1_Click();
      else if (name == "Menu_2")
        Menu_2_Click();
      else if (name == "Menu_3")
        Menu_3_Click(index);
      else if (name == "Tokusyu")
        Tokusyu_Click();
      else
        edtSheet_->setFocus();
      return;
    }
  }
  auto it = commands_.find({name, index});
  if (it == commands_.end()) it = commands_.find({name, kAllItems});
  if (it != commands_.end()) it->second(index);
  // The command set the check marks; the click itself changes none.
  MenusChanged();
}

// --- EditorServices ---------------------------------------------------------

void EDTSHEET_FRM::PageNumbersWrite(ProgramState& st) { kv::PageNumbersWrite(st); }

void EDTSHEET_FRM::SetCaption(ProgramState&, const std::string& caption) {
  setWindowTitle(ToQ(caption));
}

void EDTSHEET_FRM::MaskMenuCaptionSet(ProgramState&) {
  MaskMenuCaptions(menus_, st_.MASK_NAME);
  MenusChanged();
  StatusPanelSet(3, menus_.At("MaskGamen", 0).caption);
}

void EDTSHEET_FRM::MenusChanged(ProgramState&) { MenusChanged(); }

bool EDTSHEET_FRM::FormCaptionOpen(ProgramState&, const std::string& caption) {
  const QString wanted = ToQ(caption);
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (qobject_cast<QMenu*>(w)) continue;
    if (w->windowTitle() == wanted) return true;
  }
  return false;
}

void EDTSHEET_FRM::Form_Resize(ProgramState& st) {
  if (!loaded_) return;
  const bool minimized = isMinimized();
  // A running command keeps the window in its normal state; while the cover
  // tool, a recovery or a print runs it stays minimised.
  if ((minimized || isMaximized()) && st.CommandBusy) {
    showNormal();
    return;
  }
  if (!minimized && (ed_.CoverToolRunning || st.RecoveryRunning || st.PrintRunning)) {
    showMinimized();
    return;
  }
  if (!minimized) FloatWindowsRaise(st);
  if (minimized) return;

  // The toolbars and the status bar lie outside the central area.
  ResizeFrame f;
  f.treeShown = st.TreeShown;
  f.treeToggling = st.TreeToggling;
  f.savedTreeWidth = st.SavedTreeWidth;
  f.sizerLeft = Tw(sizer_->x());
  f.treeWidth = Tw(treeView1_->width());
  f.windowWidth = Tw(width());
  f.windowHeight = PixelsToTwips(height(), logicalDpiY());
  f.scaleWidth = Tw(central_->width());
  f.scaleHeight = Tw(central_->height());
  const ResizeLayout r = FormResizeLayout(f);

  // The smallest window: 4000 twips high, 2000 twips wider than the tree (a
  // smaller window is enlarged to it).
  setMinimumSize(Px(r.treeWidth + kGridMinWidth), TwipsToPixels(kWindowMinHeight, logicalDpiY()));
  treeView1_->setGeometry(0, Px(r.treeTop), Px(r.treeWidth), Px(r.treeHeight));
  treeView1_->setVisible(st.TreeShown);
  dentakuText_->setGeometry(0, 0, statusBar_->width(), statusBar_->height());
  kv::EdtSheet_Pos(st, *this);
  sizer_->setGeometry(Px(r.sizerX), Px(r.sizerY), Px(kSizerWidth), central_->height());
  edtSheet_->setGeometry(Px(r.gridLeft), edtSheet_->y(), std::max(0, Px(r.gridWidth)), edtSheet_->height());
  // The labels reach the right edge: the bar follows every change of size.
  kv::DMButtonsLayout(st, *this);
}

// --- Level bar ------------------------------------------------------------------

LevelBarFrame EDTSHEET_FRM::Measures() {
  LevelBarFrame f;
  f.a = LevelBarLeft(st_.TreeShown, Tw(treeView1_->width()), kSizerWidth);
  f.labelHeight = Tw(DMLabel(1)->height());
  f.buttonWidth = Tw(DM_Button(1)->width());
  f.scaleWidth = Tw(central_->width());
  f.scaleHeight = Tw(central_->height());
  return f;
}

void EDTSHEET_FRM::PlaceLevelBar(const std::vector<LevelBarPlace>& pairs) {
  kv::PlaceLevelBar(dmButtons_, dmLabels_, pairs, *central_);
}

void EDTSHEET_FRM::PlaceGrid(const kv::GridPlace& place) {
  if (isMinimized()) return;
  edtSheet_->setGeometry(edtSheet_->x(), Px(place.top), edtSheet_->width(), std::max(0, Px(place.height)));
}

void EDTSHEET_FRM::SetLevelCaption(int level, const std::string& caption) {
  if (QLabel* l = DMLabel(level)) l->setText(ToQ(caption));
}

// --- Splitter, tree pane, display mode --------------------------------------------

void EDTSHEET_FRM::Sizer_MouseDown(int x) {
  sizerLineX_ = std::clamp(x, 1, std::max(1, central_->width()));
  sizerDragging_ = true;
  DrawSizerLine(true);
}

void EDTSHEET_FRM::Sizer_MouseMove(int x) {
  if (!sizerDragging_) return;
  // The line stays inside the central area.
  sizerLineX_ = std::clamp(x, 1, std::max(1, central_->width()));
  DrawSizerLine(true);
}

void EDTSHEET_FRM::Sizer_MouseUp(int x) {
  DrawSizerLine(false);
  sizerDragging_ = false;
  x = std::clamp(x, 1, std::max(1, central_->width()));
  const SizerDrop d = SizerDropAt(Tw(x), st_.TreeShown, Tw(central_->width()));
  st_.TreeShown = d.treeShown;
  sizer_->move(Px(d.sizerLeft), sizer_->y());
  treeView1_->resize(Px(d.treeWidth), treeView1_->height());
  st_.SavedTreeWidth = d.savedTreeWidth;
  if (d.showTree) EditTreeBuild(st_);
  Form_Resize(st_);
  edtSheet_->setFocus();
}

void EDTSHEET_FRM::DrawSizerLine(bool shown) {
  sizerLine_->setGeometry(sizerLineX_ - 1, 0, 3, central_->height());
  sizerLine_->setVisible(shown);
  if (shown) sizerLine_->raise();
}

void EDTSHEET_FRM::TreeDisplay() {
  st_.TreeToggling = true;
  kv::TreeDisplay(st_);
  Form_Resize(st_);
  st_.TreeToggling = false;
}

void EDTSHEET_FRM::DM_Disp_Click(int index) { kv::DM_Disp_Click(st_, menus_, edtSheetGrid_, index); }

void EDTSHEET_FRM::WireLevelMoves() {
  const MarkingModeToggles toggles{[this] { st_.NotPrintLineMode = false; },
                                   [this] { st_.NotPrintLvlLineMode = false; }};
  for (int i = 1; i <= kLevelButtons; ++i) {
    connect(DM_Button(i), &QPushButton::clicked, this, [this, i, toggles] {
      DM_Button_Click(st_, i, this, toggles);
      edtSheet_->setFocus();
    });
    new EventWatcher(DMLabel(i), [this, i](QEvent* e) {
      if (e->type() == QEvent::MouseButtonPress) {
        DMLabel_Click(st_, i, this);
        return true;
      }
      if (e->type() == QEvent::MouseButtonDblClick) {
        DMLabel_DblClick(st_, i);
        return true;
      }
      return false;
    });
  }
  // A click on a node of the tree ends a marking mode and opens the node's
  // sheet under the busy lock.
  editTree_.events.NodeClick = [this](const TreeNodeData& node) {
    if (st_.CommandBusy) return;
    MarkingModesOff(st_);
    TreeView1_NodeClick(st_, node, this);
    edtSheet_->setFocus();
  };
  for (int item = 1; item <= 3; ++item) WireMenu("DM_DISP", [this](int index) { DM_Disp_Click(index); }, item);
  // The splitter: Qt's grab of the pressed widget holds the mouse for the drag.
  new EventWatcher(sizer_, [this](QEvent* e) {
    const auto at = [this, e] {
      return sizer_->mapTo(central_, static_cast<QMouseEvent*>(e)->position().toPoint()).x();
    };
    switch (e->type()) {
      case QEvent::MouseButtonPress:
        Sizer_MouseDown(at());
        return true;
      case QEvent::MouseMove:
        Sizer_MouseMove(at());
        return true;
      case QEvent::MouseButtonRelease:
        if (sizerDragging_) Sizer_MouseUp(at());
        return true;
      default:
        return false;
    }
  });
}

// --- Window events ------------------------------------------------------------

void EDTSHEET_FRM::Form_Activate() { FloatWindowsTopMost(st_); }

bool EDTSHEET_FRM::event(QEvent* e) {
  if (e->type() == QEvent::WindowActivate) Form_Activate();
  if (e->type() == QEvent::WindowStateChange && loaded_) {
    bool handled = QMainWindow::event(e);
    Form_Resize(st_);
    return handled;
  }
  return QMainWindow::event(e);
}

void EDTSHEET_FRM::closeEvent(QCloseEvent* e) {
  if (Form_QueryUnload(st_, hooks_.closeSteps)) {
    e->ignore();
    return;
  }
  e->accept();
}

// --- Controls and placement -----------------------------------------------------

QPushButton* EDTSHEET_FRM::DM_Button(int i) const {
  return i >= 1 && i <= kLevelButtons ? dmButtons_[size_t(i - 1)] : nullptr;
}

QLabel* EDTSHEET_FRM::DMLabel(int i) const {
  return i >= 1 && i <= kLevelButtons ? dmLabels_[size_t(i - 1)] : nullptr;
}

int EDTSHEET_FRM::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

int EDTSHEET_FRM::Tw(int pixels) const { return PixelsToTwips(pixels, logicalDpiX()); }

MainWindowPlacement EDTSHEET_FRM::Placement() const {
  MainWindowPlacement p;
  p.minimized = isMinimized();
  p.left = Tw(x());
  p.top = PixelsToTwips(y(), logicalDpiY());
  p.width = Tw(width());
  p.height = PixelsToTwips(height(), logicalDpiY());
  p.sizerLeft = Tw(sizer_->x());
  return p;
}

void RegisterEditorWindow(QtUi& ui, ProgramState& st, EditorWindowHooks hooks) {
  RegisterMaskWindow(ui, st);
  ui.RegisterWindow(kEditWindow, [&st, hooks] {
    auto* w = new EDTSHEET_FRM(st, hooks);
    WireOptionMenus(*w, st);
    return w;
  });
  RegisterTotalNamesWindow(ui, st);
  RegisterKoujiWindow(ui, st);
}

}  // namespace kv
