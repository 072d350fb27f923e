#include "editor/windows/tool_window.h"

#include <QCloseEvent>
#include <QEvent>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/editor_geometry.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/window_twips.h"
#include "platform/grid/qt/grid_view.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "state/float_windows.h"

namespace kv {

ToolWindow::ToolWindow(ProgramState& st, QtUi& ui, std::string_view name, const char* sheetName, bool availableScreen)
    : QWidget(nullptr), st_(st), ui_(ui), name_(name), availableScreen_(availableScreen) {
  setObjectName(QString::fromUtf8(name.data(), qsizetype(name.size())));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowMaximizeButtonHint);
  bar_ = new QMenuBar(this);
  view_ = new GridView(sheet_, this);
  view_->setObjectName(sheetName);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(bar_);
  layout->addWidget(view_);
}

ToolWindow::~ToolWindow() = default;

int ToolWindow::Tw(int px) const { return PixelsToTwips(px, logicalDpiX()); }
int ToolWindow::Px(int twips) const { return TwipsToPixels(twips, logicalDpiX()); }

WindowRect ToolWindow::Bounds() const { return OuterBoundsTwips(*this); }
void ToolWindow::SetBounds(const WindowRect& r) { SetOuterBoundsTwips(*this, r); }

void ToolWindow::CenterAt(int widthTw, int heightTw) {
  const QSize extra = frameGeometry().size() - size();
  resize(std::max(Px(widthTw) - extra.width(), 1),
         std::max(TwipsToPixels(heightTw, logicalDpiY()) - extra.height(), 1));
  CenterForm(*this);
}

TextSize ToolWindow::ScreenArea() const {
  if (!availableScreen_) return ScreenTwips(*this);
  const QScreen* s = screen();
  if (s == nullptr) return TextSize{1 << 20, 1 << 20};
  const QRect r = s->availableVirtualGeometry();
  return TextSize{Tw(r.right() + 1), PixelsToTwips(r.bottom() + 1, logicalDpiY())};
}

WindowState ToolWindow::State() const { return ui_.GetWindowState(name_); }
void ToolWindow::SetState(WindowState s) { ui_.SetWindowState(name_, s); }

void ToolWindow::EditorHiinsatuStateSet(bool locked) {
  if (auto* e = dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow))) e->HiinsatuStateSet(locked);
}

void ToolWindow::EditorSheetFocus() {
  auto* e = dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow));
  if (e == nullptr || e->EdtSheetView() == nullptr) return;
  e->activateWindow();
  e->EdtSheetView()->setFocus(Qt::OtherFocusReason);
}

GridModel* ToolWindow::EditorSheet() {
  auto* e = dynamic_cast<EDTSHEET_FRM*>(ui_.LoadedWindow(kEditWindow));
  return e != nullptr ? &e->EdtSheet() : nullptr;
}

void ToolWindow::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Resized();
}

void ToolWindow::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::WindowStateChange) Resized();
}

void ToolWindow::closeEvent(QCloseEvent* e) {
  if (!QueryUnload()) {
    e->ignore();
    return;
  }
  QWidget::closeEvent(e);
}

QRect TwipsRect(const QWidget& w, int left, int top, int width, int height) {
  const int dx = w.logicalDpiX(), dy = w.logicalDpiY();
  return QRect(TwipsToPixels(left, dx), TwipsToPixels(top, dy), TwipsToPixels(width, dx), TwipsToPixels(height, dy));
}

}  // namespace kv
