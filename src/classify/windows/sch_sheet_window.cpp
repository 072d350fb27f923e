#include "classify/windows/sch_sheet_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "classify/sch_sheet_frm.h"
#include "classify/windows/kensaku_dialog.h"
#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "reference/windows/ref_sheet_frm.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

namespace {

// Design sizes of the controls, in twips.
constexpr int kLine1Height = 375;
constexpr int kLine2Height = 345;
constexpr int kSearchButtonWidth = 900;
constexpr int kLabel1Width = 1200;
constexpr int kJumpWidth = 1350;
constexpr int kDefaultWidth = 9600;
constexpr int kDefaultHeight = 5400;

}  // namespace

SchSheetWindow::SchSheetWindow(ProgramState& st, QtUi& ui) : QWidget(nullptr), st_(st), ui_(ui) {
  setObjectName(ToQ(kSearchWindow));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint);
  setWindowTitle(ToQ(kSearchTitle));

  bar_ = new QMenuBar(this);
  area_ = new QWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar_);
  layout->addWidget(area_, 1);

  searchText_ = new QLineEdit(area_);
  searchText_->setObjectName("SearchText");
  searchText_->setFont(KvFont("ＭＳ ゴシック", 10));
  searchText_->installEventFilter(this);
  search_ = new QPushButton(ToQ("検索"), area_);
  search_->setObjectName("CommandSearch");
  label1_ = new QLabel(area_);
  label1_->setObjectName("Label1");
  label1_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  label1_->setIndent(6);
  linkLabel_ = new QLabel(area_);
  linkLabel_->setObjectName("DMLinkLabel");
  linkLabel_->setFrameShape(QFrame::Panel);
  linkLabel_->setFrameShadow(QFrame::Sunken);
  jump_ = new QPushButton(ToQ("表示ｼﾞｬﾝﾌﾟ"), area_);
  jump_->setObjectName("CommandJump");
  view_ = new GridView(sheet_, area_);
  view_->setObjectName("SchSheet");

  const auto editor = [this] { return dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow)); };
  const auto reference = [this] { return dynamic_cast<RefSheet_Frm*>(ui_.LoadedWindow(kRefWindow)); };
  SchSheetPort port;
  port.Measures = [this] {
    SchSheetMeasures m;
    m.windowWidth = Tw(frameGeometry().width());
    m.windowHeight = PixelsToTwips(frameGeometry().height(), logicalDpiY());
    m.scaleWidth = Tw(area_->width());
    m.scaleHeight = PixelsToTwips(area_->height(), logicalDpiY());
    m.searchTextHeight = kLine1Height;
    m.linkLabelHeight = kLine2Height;
    m.jumpWidth = kJumpWidth;
    m.searchButtonWidth = kSearchButtonWidth;
    m.label1Width = kLabel1Width;
    return m;
  };
  port.ResizeWindow = [this](int w, int h) {
    const QSize extra = frameGeometry().size() - size();
    resize(std::max(Px(w) - extra.width(), 1), std::max(TwipsToPixels(h, logicalDpiY()) - extra.height(), 1));
  };
  port.Place = [this](const SchSheetLayout& l) {
    const int dy = logicalDpiY();
    const int h1 = TwipsToPixels(kLine1Height, dy), h2 = TwipsToPixels(kLine2Height, dy);
    searchText_->setGeometry(0, 0, Px(l.searchTextWidth), h1);
    search_->setGeometry(Px(l.searchTextWidth), 0, Px(kSearchButtonWidth), h1);
    label1_->setGeometry(Px(l.label1Left), 0, Px(kLabel1Width), h1);
    linkLabel_->setGeometry(0, h1, Px(l.linkLabelWidth), h2);
    jump_->setGeometry(Px(l.linkLabelWidth), h1, Px(kJumpWidth), h2);
    view_->setGeometry(Px(l.gridLeft), TwipsToPixels(l.gridTop, dy), Px(l.gridWidth),
                       TwipsToPixels(l.gridHeight, dy));
  };
  port.Bounds = [this] {
    const QRect r = frameGeometry();
    return WindowRect{Tw(r.x()), PixelsToTwips(r.y(), logicalDpiY()), Tw(r.width()),
                      PixelsToTwips(r.height(), logicalDpiY())};
  };
  port.SetBounds = [this](const WindowRect& r) {
    const QSize extra = frameGeometry().size() - size();
    move(Px(r.left), TwipsToPixels(r.top, logicalDpiY()));
    resize(std::max(Px(r.width) - extra.width(), 1),
           std::max(TwipsToPixels(r.height, logicalDpiY()) - extra.height(), 1));
  };
  port.SetCaption = [this](const std::string& caption) { setWindowTitle(ToQ(caption)); };
  port.ControlsChanged = [this] { ShowControls(); };
  port.MenusChanged = [this] {
    if (menuView_) menuView_->Apply(logic_->Menus());
  };
  port.HiinsatuStateSet = [editor](bool locked) {
    if (EDTSHEET_FRM* e = editor()) e->HiinsatuStateSet(locked);
  };
  port.Close = [this] { close(); };
  port.EditorLevelCaption = [editor](int level, const std::string& caption) {
    if (EDTSHEET_FRM* e = editor()) e->SetLevelCaption(level, caption);
  };
  port.EditorGridFocus = [editor] {
    EDTSHEET_FRM* e = editor();
    if (e == nullptr || e->EdtSheetView() == nullptr) return;
    e->activateWindow();
    e->EdtSheetView()->setFocus(Qt::OtherFocusReason);
  };
  port.RefWindow = [reference]() -> RefSheetWindow* {
    RefSheet_Frm* r = reference();
    return r != nullptr ? &r->Logic() : nullptr;
  };
  port.RefGridFocus = [reference] {
    RefSheet_Frm* r = reference();
    if (r == nullptr || r->RefSheetView() == nullptr) return;
    r->activateWindow();
    r->RefSheetView()->setFocus(Qt::OtherFocusReason);
  };
  logic_ = std::make_unique<SchSheet_Frm>(st_, sheet_, std::move(port));
  menuView_ = std::make_unique<MenuBarView>(
      *bar_, logic_->Menus(), [this](const std::string& name, int index) { logic_->MenuChosen(name, index); });

  connect(searchText_, &QLineEdit::textEdited, this,
          [this](const QString& text) { logic_->SearchText = text.toStdString(); });
  connect(search_, &QPushButton::clicked, this, [this] { logic_->CommandSearch_Click(); });
  connect(jump_, &QPushButton::clicked, this, [this] { logic_->CommandJump_Click(); });

  resize(Px(kDefaultWidth), TwipsToPixels(kDefaultHeight, logicalDpiY()));
  logic_->Form_Load();
  loaded_ = true;
  logic_->Form_Resize();
}

SchSheetWindow::~SchSheetWindow() {
  if (logic_) logic_->Form_Unload();
}

int SchSheetWindow::Tw(int px) const { return PixelsToTwips(px, logicalDpiX()); }
int SchSheetWindow::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

void SchSheetWindow::ShowControls() {
  if (searchText_->text().toStdString() != logic_->SearchText) searchText_->setText(ToQ(logic_->SearchText));
  search_->setEnabled(logic_->CommandSearchEnabled);
  label1_->setText(ToQ(logic_->Label1));
  std::string path = logic_->DMLinkLabel;
  path.erase(path.find_last_not_of(' ') + 1);
  linkLabel_->setText(ToQ(path));
}

bool SchSheetWindow::eventFilter(QObject* watched, QEvent* e) {
  if (watched == searchText_ && e->type() == QEvent::KeyPress) {
    const auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
      logic_->SearchText = searchText_->text().toStdString();
      logic_->SearchText_KeyDown(13);
      return true;
    }
  }
  return QWidget::eventFilter(watched, e);
}

void SchSheetWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  if (loaded_) logic_->Form_Resize();
}

void SchSheetWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (loaded_ && e->type() == QEvent::WindowStateChange) logic_->Form_Resize();
}

void SchSheetWindow::closeEvent(QCloseEvent* e) {
  if (!logic_->Form_QueryUnload()) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

void RegisterSearchWindows(QtUi& ui, ProgramState& st) {
  ui.RegisterWindow(kSearchWindow, [&ui, &st]() -> QWidget* {
    auto* w = new SchSheetWindow(st, ui);
    SetTopMost(*w, true);
    return w;
  });
  ui.RegisterWindow(kKensakuWindow, [&ui, &st]() -> QWidget* {
    auto* search = dynamic_cast<SchSheetWindow*>(ui.LoadedWindow(kSearchWindow));
    if (search == nullptr) return nullptr;
    return new KensakuDialog(st, search->Logic(), search);
  });
}

}  // namespace kv
