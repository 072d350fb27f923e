#pragma once
// The layout of the reference window as pure functions of its measures, all
// in twips of the window's inner area: the resize, the grid under the level
// bar, the level bar itself and the splitter's drop. The window reads its
// controls' sizes, calls these and applies the answers.
#include <optional>
#include <string_view>
#include <vector>

#include "sheet/level_bar_layout.h"

namespace kv {

inline constexpr long kRefWindowMinHeight = 3500;  // the window's smallest height
inline constexpr long kRefGridMinWidth = 2000;     // the window is at least tree + this wide
inline constexpr long kRefDefaultWidth = 12000;    // without a stored size
inline constexpr long kRefDefaultHeight = 8000;
inline constexpr long kRefLevelStep = 20;          // the grid's step per level before the bar is placed

struct RefResizeFrame {
  bool treeShown = false;    // RefTreeShown: the tree pane is part of the layout
  bool treeVisible = false;  // the splitter has not hidden it
  long sizerLeft = 0;
  long sizerWidth = kSizerWidth;
  long treeWidth = 0;
  long windowWidth = 0, windowHeight = 0;  // outer size
  long scaleWidth = 0, scaleHeight = 0;    // inner area
  int level = 1;
};

struct RefResizeLayout {
  bool treeClamped = false;  // the tree was wider than half: the level bar moves
  long treeWidth = 0;        // the tree pane's width (0 while hidden)
  long treeHeight = 0;
  long windowWidth = 0, windowHeight = 0;  // enlarged to the minimum
  long sizerLeft = 0, sizerHeight = 0;
  long gridLeft = 0, gridTop = 0, gridWidth = 0;
  std::optional<long> gridHeight;  // none when it would be negative
};

// Form_Resize for a window that is neither minimised nor held minimised: the
// tree at most half the inner width, the window at least 3500 high and tree +
// 2000 wide, the splitter beside the tree and the grid filling the rest. A
// tree the splitter has hidden takes no room.
RefResizeLayout RefFormResizeLayout(const RefResizeFrame& f);

// The frame of the level bar for the reference window: no toolbars, the bar
// beside the tree (when visible) and the splitter.
LevelBarFrame RefLevelBarFrame(std::string_view refDisp, int level, int levelCount, bool treeVisible,
                               long treeWidth, long sizerWidth, long labelHeight, long buttonWidth,
                               long scaleWidth, long scaleHeight);

// The display mode as the window uses it: "横" or else "縦".
std::string_view RefDispMode(std::string_view refDisp);

// The place and size of the window from its stored values: a missing or
// senseless width or height (-1, 0, negative) gives 12000 x 8000; a place
// that lies off the screen (none of the window's top-left 600 twips shown)
// moves onto it.
struct RefWindowPlace {
  long left = 0, top = 0, width = 0, height = 0;
};
RefWindowPlace RefWindowPlaceFrom(long left, long top, long width, long height, long screenWidth,
                                  long screenHeight);

// The width a stored value is written with: "4200" for 4200 or less.
long RefStoredSize(long twips);

}  // namespace kv
