// The docked toolbars' button clicks, undocking by dragging, and the split
// view toggle.
#include <QAbstractButton>
#include <QChildEvent>
#include <QMouseEvent>
#include <QToolBar>

#include "editor/editor_geometry.h"
#include "editor/sheet_divide.h"
#include "editor/toolbar_commands.h"
#include "editor/windows/edtsheet_frm.h"
#include "editor/windows/toolbar_drag_filter.h"
#include "platform/grid/qt/grid_view.h"

namespace kv {
namespace {

// The click handlers' view of the window.
class WindowToolbarPort final : public ToolbarCommandPort {
 public:
  explicit WindowToolbarPort(EDTSHEET_FRM& w) : w_(w) {}
  void SheetFocus() override { w_.EdtSheetView()->setFocus(Qt::OtherFocusReason); }
  void Menu_1Sub_Click(int index) override { w_.Menu_1Sub_Click(index); }
  void Menu_3Sub_Click(int index) override { w_.Menu_3Sub_Click(index); }
  void Tokusyusub_Click(int index) override { w_.Tokusyusub_Click(index); }
  void TreeDisplay() override { w_.TreeDisplay(); }
  void ToggleSheetDivide() override { w_.ToggleSheetDivide(); }
  void FloatToolBar(int bar, int xTw, int yTw) override {
    if (bar == 1)
      w_.FloatToolBar1(xTw, yTw);
    else
      w_.FloatToolBar2(xTw, yTw);
  }
  void KVCoverProc() override { w_.KVCoverProc(); }
  void DockedButtonPress(const std::string& key) override {
    w_.Toolbar1Model().Press(key);
    w_.ToolbarsRefresh();
  }

 private:
  EDTSHEET_FRM& w_;
};

}  // namespace

ToolbarDragFilter::ToolbarDragFilter(QToolBar* toolbar, int bar) : QObject(toolbar), toolbar_(toolbar), bar_(bar) {
  setObjectName(QStringLiteral("ToolbarDragFilter%1").arg(bar));
  Watch(toolbar);
  for (QObject* child : toolbar->children()) Watch(child);
}

void ToolbarDragFilter::Watch(QObject* o) {
  if (o->isWidgetType()) o->installEventFilter(this);
}

bool ToolbarDragFilter::eventFilter(QObject* watched, QEvent* e) {
  if (watched == toolbar_ && e->type() == QEvent::ChildAdded) {
    Watch(static_cast<QChildEvent*>(e)->child());
    return false;
  }
  if (e->type() != QEvent::MouseButtonPress && e->type() != QEvent::MouseButtonRelease) return false;
  // The toolbar and its buttons, not the combos laid over it.
  if (watched != toolbar_ && !qobject_cast<QAbstractButton*>(watched)) return false;
  auto* me = static_cast<QMouseEvent*>(e);
  if (e == lastEvent_ && me->timestamp() == lastTimestamp_) return false;
  lastEvent_ = e;
  lastTimestamp_ = me->timestamp();
  const QPoint at = me->globalPosition().toPoint();
  const int button = static_cast<int>(me->button());
  const int shift = static_cast<int>(me->modifiers().toInt() >> 25);  // Shift 1, Ctrl 2, Alt 4
  const auto& handler = e->type() == QEvent::MouseButtonPress ? mouseDown : mouseUp;
  if (handler) handler(button, shift, at.x(), at.y());
  return false;
}

void EDTSHEET_FRM::Toolbar1_MouseDown(int, int, int x, int y) { ToolbarDragPress(toolbarDrag_[0], x, y); }
void EDTSHEET_FRM::Toolbar1_MouseUp(int, int, int x, int y) { ToolbarMouseUp(1, x, y); }
void EDTSHEET_FRM::Toolbar2_MouseDown(int, int, int x, int y) { ToolbarDragPress(toolbarDrag_[1], x, y); }
void EDTSHEET_FRM::Toolbar2_MouseUp(int, int, int x, int y) { ToolbarMouseUp(2, x, y); }

void EDTSHEET_FRM::ToolbarMouseUp(int bar, int x, int y) {
  const ToolbarDragEnd end = ToolbarDragRelease(toolbarDrag_[bar - 1], x, y);
  ToolbarDragFilter* f = toolbarDragFilter_[bar - 1];
  QToolBar* t = bar == 1 ? toolbar1_ : toolbar2_;
  if (end.undock && f && f->undock) f->undock(PixelsToTwips(x, t->logicalDpiX()), PixelsToTwips(y, t->logicalDpiY()));
  if (ToolbarDragFocusesSheet(bar, end) && f && f->sheetFocus) f->sheetFocus();
}

void EDTSHEET_FRM::ToolbarEventsWire() {
  SetWiredButtons(toolbar1Model_, 1);
  SetWiredButtons(floatToolbar1Model_, 1);
  SetWiredButtons(toolbar2Model_, 2);
  SetWiredButtons(floatToolbar2Model_, 2);
  ToolbarsRefresh();
  int bar = 1;
  for (QToolBar* t : {toolbar1_, toolbar2_}) {
    auto* filter = new ToolbarDragFilter(t, bar);
    filter->undock = [this, bar](int xTw, int yTw) {
      WindowToolbarPort port(*this);
      ToolbarUndock(st_, port, bar, xTw, yTw);
    };
    filter->sheetFocus = [this] { edtSheet_->setFocus(Qt::OtherFocusReason); };
    if (bar == 1) {
      filter->mouseDown = [this](int b, int s, int x, int y) { Toolbar1_MouseDown(b, s, x, y); };
      filter->mouseUp = [this](int b, int s, int x, int y) { Toolbar1_MouseUp(b, s, x, y); };
    } else {
      filter->mouseDown = [this](int b, int s, int x, int y) { Toolbar2_MouseDown(b, s, x, y); };
      filter->mouseUp = [this](int b, int s, int x, int y) { Toolbar2_MouseUp(b, s, x, y); };
    }
    toolbarDragFilter_[bar - 1] = filter;
    ++bar;
  }
}

void EDTSHEET_FRM::Toolbar1_ButtonClick(const std::string& key, bool fromFloating) {
  WindowToolbarPort port(*this);
  kv::Toolbar1_ButtonClick(st_, edtSheetGrid_, port, key, fromFloating);
}

void EDTSHEET_FRM::Toolbar2_ButtonClick(const std::string& key, bool fromFloating) {
  WindowToolbarPort port(*this);
  kv::Toolbar2_ButtonClick(st_, edtSheetGrid_, port, key, fromFloating);
}

void EDTSHEET_FRM::ToggleSheetDivide() { kv::ToggleSheetDivide(st_, edtSheetGrid_); }

}  // namespace kv
