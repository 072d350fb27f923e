#pragma once
// Watches a docked toolbar and its buttons for the drag that undocks it: a
// press arms the drag at the pointer, a release 12 pixels or more away
// undocks the toolbar at the pointer (in screen twips). Buttons the toolbar
// gets later are watched as they are added.
#include <QObject>
#include <functional>

#include "editor/toolbar_drag.h"

class QToolBar;

namespace kv {

class ToolbarDragFilter : public QObject {
 public:
  // Object name "ToolbarDragFilter<bar>"; a child of `bar`.
  ToolbarDragFilter(QToolBar* toolbar, int bar);

  int Bar() const { return bar_; }
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
  ToolbarDrag drag_;
  // The mouse event last handled: a button's event that goes on to the
  // toolbar is seen twice.
  const QEvent* lastEvent_ = nullptr;
  unsigned long long lastTimestamp_ = 0;
};

}  // namespace kv
