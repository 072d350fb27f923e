#include "editor/editor_geometry.h"

#include <algorithm>
#include <cmath>

namespace kv {

namespace {

constexpr int kMissing = -1;
constexpr int kDefaultWidth = 1200;  // pixels
constexpr int kDefaultHeight = 800;

}  // namespace

int TwipsToPixels(int twips, double dpi) {
  return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

int PixelsToTwips(int pixels, double dpi) {
  return dpi > 0 ? static_cast<int>(std::lround(pixels * kTwipsPerInch / dpi)) : 0;
}

WindowRect EditorWindowRect(int leftTw, int topTw, int widthTw, int heightTw, double dpiX,
                            double dpiY, TextSize screen) {
  WindowRect r;
  if (widthTw > 0 && heightTw > 0) {
    r.width = TwipsToPixels(widthTw, dpiX);
    r.height = TwipsToPixels(heightTw, dpiY);
  } else {
    // Nine tenths of a small screen at most.
    r.width = std::min(kDefaultWidth, screen.width * 9 / 10);
    r.height = std::min(kDefaultHeight, screen.height * 9 / 10);
  }
  if (leftTw == kMissing || topTw == kMissing || widthTw <= 0 || heightTw <= 0) {
    r.left = (screen.width - r.width) / 2;
    r.top = (screen.height - r.height) / 2;
  } else {
    r.left = TwipsToPixels(leftTw, dpiX);
    r.top = TwipsToPixels(topTw, dpiY);
  }
  return r;
}

}  // namespace kv
