#include "editor/windows/edtsheet_frm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "app/windows/option_windows.h"
#include "calc/level_calc.h"
#include "editor/calc_box.h"
#include "editor/edit_menu.h"
#include "editor/editor_geometry.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "sheet/sheet_engine.h"
#include "state/float_windows.h"
#include "state/menu_rules.h"
#include "state/program_state.h"
#include "state/sheet_services.h"
#include "storage/file_commands.h"

namespace kv {

namespace {

// The splitter between the tree and the grid.
constexpr int kSizerWidthTw = 135;

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
      EditorGrids{st_, edtSheetGrid_, rowSheetGrid_, *this, *memoEditor_});
  WireEditorGridEvents(*grids_);
  Form_Load(st_, ed_, menus_, *this);
  WireFileMenu();
  WireEditing();
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
  delete edtSheet_;
  delete rowSheet_;
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
  cmbZoom_ = new QComboBox(toolbar1_);
  cmbZoom_->setObjectName(QStringLiteral("cmbZoom"));
  cmbZoom_->setMinimumWidth(70);
  toolbar1_->addWidget(cmbZoom_);
  cmbYosi_ = new QComboBox(toolbar1_);
  cmbYosi_->setObjectName(QStringLiteral("cmbYosi"));
  cmbYosi_->setMinimumWidth(150);
  toolbar1_->addWidget(cmbYosi_);
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

  treeView1_ = new QTreeWidget(central_);
  treeView1_->setObjectName(QStringLiteral("TreeView1"));
  treeView1_->setHeaderHidden(true);
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
  for (int i = 1; i <= kLevelButtons; ++i) {
    auto* b = new QPushButton(QString::number(i) + QString::fromUtf8(".階層"), central_);
    b->setObjectName(QStringLiteral("DM_Button(%1)").arg(i));
    b->setFocusPolicy(Qt::NoFocus);
    b->hide();
    dmButtons_.push_back(b);
    auto* l = new QLabel(central_);
    l->setObjectName(QStringLiteral("DMLabel(%1)").arg(i));
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->hide();
    dmLabels_.push_back(l);
  }

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
  const int treeWidth = ed_.TreeShown ? treeView1_->width() : 0;
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

void EDTSHEET_FRM::MenusChanged() { menuView_->Apply(menus_); }

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
  for (int item : kFileMenuItems) WireMenu("Menu_1Sub", [this](int index) { Menu_1Sub_Click(index); }, item);
}

void EDTSHEET_FRM::WireEditing() {
  for (int item : {kEditUndoItem, kEditDeleteItem})
    WireMenu("Menu_2Sub", [this](int index) { Menu_2Sub_Click(st_, edtSheetGrid_, index); }, item);
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

void EDTSHEET_FRM::MenuChosen(const std::string& name, int index) {
  for (const MenuItem& top : menus_.bar) {
    if (top.name == name && top.index == index && top.HasSubmenu()) {
      // Opening a menu only gives the keyboard back to the sheet.
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

void EDTSHEET_FRM::ToolBar1Init(ProgramState&) {}

void EDTSHEET_FRM::ToolBar2Init(ProgramState&) {}

void EDTSHEET_FRM::ShowToolBar2(ProgramState&, bool) {}

void EDTSHEET_FRM::ToolBarStateSet(ProgramState& st, bool busy) {
  st.CommandBusy = busy;
  st.ui.ProcessEvents();
  BusyLockMenus(menus_, st.SystemKind, busy);
  MenusChanged();
  for (int i = 1; i <= 6; ++i) DM_Button(i)->setEnabled(!busy);
}

void EDTSHEET_FRM::PageNumbersWrite(ProgramState&) {}

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

  // Tree pane: at most half the width.
  const int scaleWidth = central_->width();
  const int scaleHeight = central_->height();
  int w = 0;
  if (ed_.TreeShown) {
    if (sizer_->x() > scaleWidth / 2) {
      sizer_->move(scaleWidth / 2, sizer_->y());
      treeView1_->resize(scaleWidth / 2, treeView1_->height());
      if (st.sheetEngine != nullptr) st.sheetEngine->DMButtonsLayout(st);
    }
    w = treeView1_->width();
  }
  // The smallest window: 4000 twips high, 2000 twips wider than the tree.
  setMinimumSize(w + Px(2000), TwipsToPixels(4000, logicalDpiY()));
  treeView1_->setGeometry(0, 0, w, ed_.TreeShown ? scaleHeight : 0);
  treeView1_->setVisible(ed_.TreeShown);
  dentakuText_->setGeometry(0, 0, statusBar_->width(), statusBar_->height());

  const int sizerWidth = Px(kSizerWidthTw);
  sizer_->setGeometry(w, 0, sizerWidth, scaleHeight);
  // The grid's top and height follow the level bar; at level 1 it takes the
  // whole height.
  edtSheet_->setGeometry(w + sizerWidth, 0, std::max(0, scaleWidth - w - sizerWidth), scaleHeight);
  if (st.sheetEngine != nullptr) st.sheetEngine->EdtSheet_Pos(st);
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
  ui.RegisterWindow(kEditWindow, [&st, hooks] {
    auto* w = new EDTSHEET_FRM(st, hooks);
    WireOptionMenus(*w, st);
    return w;
  });
}

}  // namespace kv
