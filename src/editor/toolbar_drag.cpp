#include "editor/toolbar_drag.h"

#include <cstdlib>

namespace kv {

bool ToolbarDragUndocks(int dx, int dy) {
  return std::abs(dx) >= kToolbarDragPixels || std::abs(dy) >= kToolbarDragPixels;
}

void ToolbarDragPress(ToolbarDrag& drag, int x, int y) {
  drag.armed = true;
  drag.pressX = x;
  drag.pressY = y;
}

ToolbarDragEnd ToolbarDragRelease(ToolbarDrag& drag, int x, int y) {
  ToolbarDragEnd end;
  end.wasArmed = drag.armed;
  end.undock = drag.armed && ToolbarDragUndocks(x - drag.pressX, y - drag.pressY);
  drag.armed = false;
  return end;
}

bool ToolbarDragFocusesSheet(int bar, const ToolbarDragEnd& end) {
  return bar == 1 && (end.undock || !end.wasArmed);
}

}  // namespace kv
