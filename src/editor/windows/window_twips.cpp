#include "editor/windows/window_twips.h"

#include <QScreen>
#include <QWidget>
#include <algorithm>

#include "editor/editor_geometry.h"

namespace kv {

WindowRect OuterBoundsTwips(const QWidget& w) {
  const QRect r = w.frameGeometry();
  return WindowRect{PixelsToTwips(r.x(), w.logicalDpiX()), PixelsToTwips(r.y(), w.logicalDpiY()),
                    PixelsToTwips(r.width(), w.logicalDpiX()), PixelsToTwips(r.height(), w.logicalDpiY())};
}

void SetOuterBoundsTwips(QWidget& w, const WindowRect& r) {
  const QSize extra = w.frameGeometry().size() - w.size();
  w.move(TwipsToPixels(r.left, w.logicalDpiX()), TwipsToPixels(r.top, w.logicalDpiY()));
  w.resize(std::max(TwipsToPixels(r.width, w.logicalDpiX()) - extra.width(), 1),
           std::max(TwipsToPixels(r.height, w.logicalDpiY()) - extra.height(), 1));
}

TextSize ScreenTwips(const QWidget& w) {
  const QScreen* screen = w.screen();
  if (screen == nullptr) return TextSize{1 << 20, 1 << 20};
  const QRect r = screen->virtualGeometry();
  return TextSize{PixelsToTwips(r.right() + 1, w.logicalDpiX()), PixelsToTwips(r.bottom() + 1, w.logicalDpiY())};
}

}  // namespace kv
