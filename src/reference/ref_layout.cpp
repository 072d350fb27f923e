#include "reference/ref_layout.h"

#include <algorithm>

namespace kv {

RefResizeLayout RefFormResizeLayout(const RefResizeFrame& f) {
  RefResizeLayout out;
  long treeW = 0;
  if (f.treeShown) {
    long width = f.treeWidth;
    if (f.sizerLeft > f.scaleWidth / 2) {
      width = f.scaleWidth / 2;
      out.treeClamped = true;
    }
    treeW = f.treeVisible ? std::max(width, 0L) : 0;
  }
  out.treeWidth = treeW;
  out.windowHeight = std::max(f.windowHeight, kRefWindowMinHeight);
  out.windowWidth = std::max(f.windowWidth, treeW + kRefGridMinWidth);
  out.treeHeight = f.treeShown ? f.scaleHeight : 0;
  out.sizerLeft = treeW;
  out.sizerHeight = f.scaleHeight;
  out.gridLeft = treeW + f.sizerWidth;
  out.gridTop = (f.level - 1) * kRefLevelStep;
  out.gridWidth = std::max(f.scaleWidth - treeW - f.sizerWidth, 0L);
  const long h = f.scaleHeight - (f.level - 1) * kRefLevelStep;
  if (h >= 0) out.gridHeight = h;
  return out;
}

std::string_view RefDispMode(std::string_view refDisp) { return refDisp == "横" ? "横" : "縦"; }

LevelBarFrame RefLevelBarFrame(std::string_view refDisp, int level, int levelCount, bool treeVisible,
                               long treeWidth, long sizerWidth, long labelHeight, long buttonWidth,
                               long scaleWidth, long scaleHeight) {
  LevelBarFrame f;
  f.mode = RefDispMode(refDisp);
  f.level = level;
  f.levelCount = levelCount;
  f.a = LevelBarLeft(treeVisible, static_cast<double>(treeWidth), static_cast<double>(sizerWidth));
  f.labelHeight = labelHeight;
  f.buttonWidth = buttonWidth;
  f.toolbarDocked = false;
  f.scaleWidth = scaleWidth;
  f.scaleHeight = scaleHeight;
  return f;
}

RefWindowPlace RefWindowPlaceFrom(long left, long top, long width, long height, long screenWidth,
                                  long screenHeight) {
  RefWindowPlace p{left, top, width, height};
  if (p.width <= 0 || p.height <= 0) {
    p.width = kRefDefaultWidth;
    p.height = kRefDefaultHeight;
  }
  constexpr long kShown = 600;  // enough of the title bar to take hold of
  if (screenWidth > 0 && (p.left < 0 || p.left > screenWidth - kShown))
    p.left = std::max(0L, std::min(p.left, screenWidth - p.width));
  if (screenHeight > 0 && (p.top < 0 || p.top > screenHeight - kShown))
    p.top = std::max(0L, std::min(p.top, screenHeight - p.height));
  return p;
}

long RefStoredSize(long twips) { return twips <= 4200 ? 4200 : twips; }

}  // namespace kv
