#include "classify/windows/kv_siwa_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

#include "classify/kv_siwa_frm.h"
#include "classify/windows/siwake_make_dialog.h"
#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/menu_bar_view.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"
#include "state/program_state.h"

namespace kv {

KvSiwaWindow::KvSiwaWindow(ProgramState& st, QtUi& ui) : QWidget(nullptr), st_(st), ui_(ui) {
  setObjectName(QString::fromUtf8(kSiwakeWindow.data(), qsizetype(kSiwakeWindow.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint);

  bar_ = new QMenuBar(this);
  view_ = new GridView(sheet_, this);
  view_->setObjectName("SiwaSheet");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar_);
  layout->addWidget(view_);

  const auto editor = [this] { return dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow)); };
  SiwaWindowPort port;
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
  port.CenterAt = [this](int widthTw, int heightTw) {
    const QSize extra = frameGeometry().size() - size();
    resize(std::max(Px(widthTw) - extra.width(), 1),
           std::max(TwipsToPixels(heightTw, logicalDpiY()) - extra.height(), 1));
    CenterForm(*this);
  };
  port.ScreenTwips = [this] {
    const QScreen* screen = this->screen();
    if (screen == nullptr) return TextSize{1 << 20, 1 << 20};
    const QRect r = screen->availableVirtualGeometry();
    return TextSize{Tw(r.right() + 1), PixelsToTwips(r.bottom() + 1, logicalDpiY())};
  };
  port.State = [this] { return ui_.GetWindowState(kSiwakeWindow); };
  port.SetState = [this](WindowState s) { ui_.SetWindowState(kSiwakeWindow, s); };
  port.SetCaption = [this](const std::string& caption) { setWindowTitle(ToQ(caption)); };
  port.MenusChanged = [this] {
    if (menuView_) menuView_->Apply(logic_->Menus());
  };
  port.HiinsatuStateSet = [editor](bool locked) {
    if (EDTSHEET_FRM* e = editor()) e->HiinsatuStateSet(locked);
  };
  port.EditorSheetFocus = [editor] {
    EDTSHEET_FRM* e = editor();
    if (e == nullptr || e->EdtSheetView() == nullptr) return;
    e->activateWindow();
    e->EdtSheetView()->setFocus(Qt::OtherFocusReason);
  };
  port.EditorSheet = [editor]() -> GridModel* {
    EDTSHEET_FRM* e = editor();
    return e != nullptr ? &e->EdtSheet() : nullptr;
  };
  port.Unload = [this] { close(); };
  logic_ = std::make_unique<KvSiwa_Frm>(st_, sheet_, std::move(port));
  menuView_ = std::make_unique<MenuBarView>(*bar_, logic_->Menus(), [this](const std::string& name, int index) {
    if (name == "mnuFItem")
      logic_->mnuFItem_Click(index);
    else if (name == "mnuEItem")
      logic_->mnuEItem_Click(index);
    else if (name == "mnuVZItem")
      logic_->mnuVZItem_Click(index);
  });
}

KvSiwaWindow::~KvSiwaWindow() = default;

int KvSiwaWindow::Tw(int px) const { return PixelsToTwips(px, logicalDpiX()); }
int KvSiwaWindow::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

void KvSiwaWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  logic_->Form_Resize();
}

void KvSiwaWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) logic_->Form_Resize();
}

void KvSiwaWindow::closeEvent(QCloseEvent* e) {
  if (!logic_->Form_QueryUnload()) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

void RegisterSiwaWindow(QtUi& ui, ProgramState& st) {
  RegisterSiwakeMakeDialog(ui, st);
  ui.RegisterWindow(kSiwakeWindow, [&ui, &st]() -> QWidget* {
    auto* w = new KvSiwaWindow(st, ui);
    // The load decides whether the window opens at all (settings, master file).
    if (!w->Logic().Form_Load()) {
      delete w;
      return nullptr;
    }
    SetTopMost(*w, true);
    return w;
  });
}

}  // namespace kv
