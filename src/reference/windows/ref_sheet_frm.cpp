#include "reference/windows/ref_sheet_frm.h"

#include <QAction>
#include <QCloseEvent>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QRubberBand>
#include <algorithm>
#include <functional>

#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/level_bar_widgets.h"
#include "editor/windows/menu_bar_view.h"
#include "editor/windows/window_twips.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "platform/tree/qt/tree_view.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_dm_copy_dialog.h"
#include "reference/windows/ref_link_n_frm.h"
#include "state/float_windows.h"
#include "state/program_state.h"
#include "state/sheet_state.h"

namespace kv {

namespace {

constexpr int kRefLevelButtons = 8;
constexpr int kRefLevelLabels = 7;

// A frame or label that hands its mouse presses, moves and releases (x in
// the parent's coordinates) to the window; the press grabs the mouse for the
// drag.
template <typename Base>
class MousePanel : public Base {
 public:
  using Handler = std::function<void(int x)>;
  explicit MousePanel(QWidget* parent) : Base(parent) {}
  Handler pressed, moved, released;

 protected:
  int X(QMouseEvent* e) const { return this->mapToParent(e->position().toPoint()).x(); }
  void mousePressEvent(QMouseEvent* e) override {
    if (pressed) pressed(X(e));
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    if (moved) moved(X(e));
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (released) released(X(e));
  }
};

}  // namespace

RefSheet_Frm::RefSheet_Frm(ProgramState& st, QtUi& ui) : QMainWindow(nullptr), st_(st), ui_(ui) {
  setObjectName(QString::fromUtf8(kRefWindow.data(), qsizetype(kRefWindow.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint);
  setWindowTitle(ToQ(kRefCaption));

  central_ = new QWidget(this);
  central_->setObjectName(QStringLiteral("ScaleArea"));
  setCentralWidget(central_);
  treeView_ = new TreeView(tree_, central_);
  treeView_->setObjectName(QStringLiteral("RefTreeView"));

  auto* sizer = new MousePanel<QFrame>(central_);
  sizer_ = sizer;
  sizer_->setObjectName(QStringLiteral("RefSizer"));
  sizer_->setFrameShape(QFrame::Panel);
  sizer_->setFrameShadow(QFrame::Raised);
  sizer_->setCursor(Qt::SplitHCursor);

  view_ = new GridView(sheet_, central_);
  view_->setObjectName(QStringLiteral("RefSheet"));
  setFocusProxy(view_);

  MakeLevelBar(central_, kRefLevelButtons, kRefLevelLabels, dmButtons_, dmLabels_, [this](QWidget* parent) {
    auto* l = new MousePanel<QLabel>(parent);
    const int level = static_cast<int>(dmLabels_.size()) + 1;
    l->pressed = [this, level](int) { logic_->DMLabel_Click(level); };
    return l;
  });
  sizerLine_ = new QRubberBand(QRubberBand::Line, central_);
  sizerLine_->hide();

  // The splitter: the line follows the mouse inside the window; the drop lays
  // tree and grid out.
  sizer->pressed = [this](int x) {
    sizerLineX_ = std::clamp(x, 1, std::max(1, central_->width()));
    sizerDragging_ = true;
    DrawSizerLine(true);
  };
  sizer->moved = [this](int x) {
    if (!sizerDragging_) return;
    sizerLineX_ = std::clamp(x, 1, std::max(1, central_->width()));
    DrawSizerLine(true);
  };
  sizer->released = [this](int x) {
    if (!sizerDragging_) return;
    DrawSizerLine(false);
    sizerDragging_ = false;
    logic_->RefSizer_MouseUp(Tw(std::clamp(x, 1, std::max(1, central_->width()))));
  };

  const auto editor = [this] { return dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow)); };
  RefWindowPort port;
  port.Measures = [this] {
    RefWindowMeasures m;
    m.scaleWidth = Tw(central_->width());
    m.scaleHeight = PixelsToTwips(central_->height(), logicalDpiY());
    m.windowWidth = Tw(frameGeometry().width());
    m.windowHeight = PixelsToTwips(frameGeometry().height(), logicalDpiY());
    m.labelHeight = PixelsToTwips(dmLabels_[0]->height(), logicalDpiY());
    m.buttonWidth = Tw(dmButtons_[0]->width());
    m.sizerLeft = Tw(sizer_->x());
    m.sizerWidth = kSizerWidth;
    m.treeWidth = Tw(treeView_->width());
    m.treeVisible = !treeView_->isHidden();
    return m;
  };
  port.Bounds = [this] { return OuterBoundsTwips(*this); };
  port.SetBounds = [this](const WindowRect& r) { SetOuterBoundsTwips(*this, r); };
  port.ScreenTwips = [this] { return kv::ScreenTwips(*this); };
  port.ResizeWindow = [this](long width, long height) {
    const QSize extra = frameGeometry().size() - size();
    resize(std::max(Px(width) - extra.width(), 1),
           std::max(TwipsToPixels(static_cast<int>(height), logicalDpiY()) - extra.height(), 1));
  };
  port.PlaceLevelBar = [this](const std::vector<LevelBarPlace>& pairs) {
    PlaceLevelBar(dmButtons_, dmLabels_, pairs, *central_);
  };
  port.SetLevelCaption = [this](int level, const std::string& caption) {
    if (QLabel* l = DMLabel(level)) l->setText(ToQ(caption));
  };
  port.LevelButtonsEnable = [this](bool on) {
    for (QPushButton* b : dmButtons_) b->setEnabled(on);
  };
  port.PlaceGridHorizontal = [this](long left, long width) {
    view_->setGeometry(Px(left), view_->y(), std::max(0, Px(width)), view_->height());
  };
  port.PlaceGridVertical = [this](long top, long height) {
    if (isMinimized()) return;
    view_->setGeometry(view_->x(), TwipsToPixels(static_cast<int>(top), logicalDpiY()), view_->width(),
                       std::max(0, TwipsToPixels(static_cast<int>(height), logicalDpiY())));
  };
  port.PlaceTree = [this](bool visible, long width, long height) {
    treeView_->setGeometry(0, 0, std::max(0, Px(width)),
                           std::max(0, TwipsToPixels(static_cast<int>(height), logicalDpiY())));
    treeView_->setVisible(visible);
  };
  port.PlaceSizer = [this](long left, long height) {
    sizer_->setGeometry(Px(left), 0, Px(kSizerWidth),
                        std::max(0, TwipsToPixels(static_cast<int>(height), logicalDpiY())));
  };
  port.MenusChanged = [this] {
    if (menuView_) menuView_->Apply(logic_->Menus());
  };
  port.GridFocus = [this] { view_->setFocus(Qt::OtherFocusReason); };
  port.EditorGridFocus = [editor] {
    EDTSHEET_FRM* e = editor();
    if (e == nullptr || e->isMinimized() || e->EdtSheetView() == nullptr) return;
    e->activateWindow();
    e->EdtSheetView()->setFocus(Qt::OtherFocusReason);
  };
  port.HiinsatuStateSet = [editor](bool locked) {
    if (EDTSHEET_FRM* e = editor()) e->HiinsatuStateSet(locked);
  };
  port.PopupCopyMenu = [this] {
    if (copyPopup_) copyPopup_->popup(QCursor::pos());
  };
  port.Close = [this] { close(); };
  logic_ = std::make_unique<RefSheetWindow>(st_, sheet_, tree_, std::move(port));

  menuView_ = std::make_unique<MenuBarView>(*menuBar(), logic_->Menus(), [this](const std::string& name, int index) {
    logic_->MenuChosen(name, index);
  });
  // The copy menu as a popup over the grid: its items as the menu bar has them.
  copyPopup_ = new QMenu(this);
  for (int i = 0; i <= 4; ++i) {
    if (QAction* a = menuView_->Action("MnuEItem", i)) copyPopup_->addAction(a);
  }
  for (int i = 1; i <= kRefLevelButtons; ++i)
    connect(DM_Button(i), &QPushButton::clicked, this, [this, i] { logic_->DM_Button_Click(i); });
}

RefSheet_Frm::~RefSheet_Frm() {
  // The logic lets go of the models, then their views go while the models
  // (members, destroyed before the base class deletes its children) still
  // stand.
  logic_.reset();
  delete view_;
  delete treeView_;
}

int RefSheet_Frm::Tw(int px) const { return PixelsToTwips(px, logicalDpiX()); }
int RefSheet_Frm::Px(long twips) const { return TwipsToPixels(static_cast<int>(twips), logicalDpiX()); }

QPushButton* RefSheet_Frm::DM_Button(int i) const {
  return i >= 1 && i <= kRefLevelButtons ? dmButtons_[size_t(i - 1)] : nullptr;
}

QLabel* RefSheet_Frm::DMLabel(int i) const {
  return i >= 1 && i <= kRefLevelLabels ? dmLabels_[size_t(i - 1)] : nullptr;
}

void RefSheet_Frm::DrawSizerLine(bool shown) {
  sizerLine_->setGeometry(sizerLineX_ - 1, 0, 3, central_->height());
  sizerLine_->setVisible(shown);
  if (shown) sizerLine_->raise();
}

void RefSheet_Frm::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (loaded_) return;
  // Loaded at its first showing, when the seam knows the window by its name.
  loaded_ = true;
  logic_->Form_Load();
  view_->setFocus(Qt::OtherFocusReason);
}

void RefSheet_Frm::resizeEvent(QResizeEvent* e) {
  QMainWindow::resizeEvent(e);
  if (loaded_) logic_->Form_Resize();
}

void RefSheet_Frm::changeEvent(QEvent* e) {
  QMainWindow::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange && loaded_) logic_->Form_Resize();
}

void RefSheet_Frm::closeEvent(QCloseEvent* e) {
  if (loaded_ && !closing_) {
    if (!logic_->Form_QueryUnload()) {
      e->ignore();
      return;
    }
    closing_ = true;
    logic_->Form_Unload();
  }
  QMainWindow::closeEvent(e);
}

void RegisterRefWindow(QtUi& ui, ProgramState& st) {
  // Storage asks the window what it shows; the services keep no state.
  static RefWindowServices services;
  st.reference = &services;
  ui.RegisterWindow(kRefWindow, [&ui, &st]() -> QWidget* { return new RefSheet_Frm(st, ui); });
  RegisterRefConvWindows(ui, st);
  ui.RegisterWindow(kRefDMCopyWindow, [&st]() -> QWidget* { return new RefDMCopy_Frm(st); });
}

}  // namespace kv
