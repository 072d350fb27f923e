// The window's rectangle lives in the settings as twips; a wrong conversion
// makes the window creep or shrink from one run to the next, and missing keys
// (a first start) must still give a usable window on the screen.
#include "editor/editor_geometry.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(EditorGeometry, FifteenTwipsAPixelAtNinetySixDpi) {
  EXPECT_EQ(TwipsToPixels(1500, 96), 100);
  EXPECT_EQ(TwipsToPixels(1500, 144), 150);
  EXPECT_EQ(TwipsToPixels(7, 96), 0);
  EXPECT_EQ(TwipsToPixels(8, 96), 1);
  EXPECT_EQ(PixelsToTwips(100, 96), 1500);
  // Back and forth keeps the value.
  for (int px : {0, 1, 333, 1279})
    for (double dpi : {96.0, 120.0, 144.0})
      EXPECT_EQ(TwipsToPixels(PixelsToTwips(px, dpi), dpi), px);
}

TEST(EditorGeometry, StoredRectangleIsUsedAsItIs) {
  WindowRect r = EditorWindowRect(1500, 750, 15000, 9000, 96, 96, {1920, 1080});
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 50);
  EXPECT_EQ(r.width, 1000);
  EXPECT_EQ(r.height, 600);
}

TEST(EditorGeometry, MissingKeysGiveADefaultSizeCentred) {
  WindowRect r = EditorWindowRect(-1, -1, -1, -1, 96, 96, {1920, 1080});
  EXPECT_EQ(r.width, 1200);
  EXPECT_EQ(r.height, 800);
  EXPECT_EQ(r.left, 360);
  EXPECT_EQ(r.top, 140);
  // A small screen: nine tenths of it.
  r = EditorWindowRect(-1, -1, -1, -1, 96, 96, {1024, 768});
  EXPECT_EQ(r.width, 921);
  EXPECT_EQ(r.height, 691);
  EXPECT_GE(r.left, 0);
  EXPECT_GE(r.top, 0);
}

TEST(EditorGeometry, StoredSizeWithoutPositionIsCentred) {
  WindowRect r = EditorWindowRect(-1, 600, 15000, 9000, 96, 96, {1920, 1080});
  EXPECT_EQ(r.width, 1000);
  EXPECT_EQ(r.left, 460);
  EXPECT_EQ(r.top, 240);
}

}  // namespace
}  // namespace kv
