#pragma once
// Watches a docked toolbar and its buttons for mouse presses and releases and
// hands them to the window's handlers (Toolbar<bar>_MouseDown / _MouseUp)
// with the pointer's screen position. Buttons the toolbar gets later are
// watched as they are added. It also holds how the toolbar undocks and how
// the sheet takes the focus, which the handlers use.
#include <QObject>
#include <functional>


class QToolBar;

namespace kv {

class ToolbarDragFilter : public QObject {
 public:
  // Object name "ToolbarDragFilter<bar>"; a child of `bar`.
  ToolbarDragFilter(QToolBar* toolbar, int bar);

  int Bar() const { return bar_; }
  // The window's handlers: button, shift state, the pointer in screen pixels.
  std::function<void(int button, int shift, int x, int y)> mouseDown;
  std::function<void(int button, int shift, int x, int y)> mouseUp;
  // The undock at the pointer, screen twips.
  std::function<void(int xTw, int yTw)> undock;
  // The sheet grid takes the focus (basic toolbar: after an undock, or a
  // release no press armed).
  std::function<void()> sheetFocus;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void Watch(QObject* o);

  QToolBar* toolbar_;
  int bar_;
  // The mouse event last handled: a button's event that goes on to the
  // toolbar is seen twice.
  const QEvent* lastEvent_ = nullptr;
  unsigned long long lastTimestamp_ = 0;
};

}  // namespace kv
