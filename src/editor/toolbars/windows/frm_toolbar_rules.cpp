#include "editor/toolbars/windows/frm_toolbar_rules.h"

#include <algorithm>

namespace kv {

bool InDockStrip(int windowTopTw, int editorTopTw, int gridTopTw) {
  return windowTopTw > editorTopTw && windowTopTw < gridTopTw;
}

TwipsSize FloatToolbar2OpenSize(int storedWidth, int storedHeight, TwipsSize screen) {
  TwipsSize s{storedWidth > 0 ? storedWidth : kFloatToolbar2Width,
              storedHeight > 0 ? storedHeight : kFloatToolbar2Height};
  if (screen.width > 0) s.width = std::min(s.width, screen.width);
  if (screen.height > 0) s.height = std::min(s.height, screen.height);
  return s;
}

}  // namespace kv
