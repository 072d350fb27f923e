// Undocking a toolbar by dragging: the 12-pixel threshold in either
// direction, the drag armed by a press only, and which releases give the
// sheet grid the focus.
#include "editor/toolbar_drag.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(ToolbarDrag, TwelvePixelsInEitherDirectionUndock) {
  const struct {
    int dx, dy;
    bool undocks;
  } cases[] = {{0, 0, false},  {11, 11, false}, {-11, -11, false}, {11, -11, false}, {12, 0, true},
               {0, 12, true},  {-12, 0, true},  {0, -12, true},    {-12, 11, true},  {200, 300, true}};
  for (const auto& c : cases) EXPECT_EQ(ToolbarDragUndocks(c.dx, c.dy), c.undocks) << c.dx << "," << c.dy;
}

TEST(ToolbarDrag, AReleaseUndocksOnlyAfterAPressAndDisarms) {
  ToolbarDrag drag;
  // A release without a press: nothing to undock.
  ToolbarDragEnd end = ToolbarDragRelease(drag, 500, 500);
  EXPECT_FALSE(end.undock);
  EXPECT_FALSE(end.wasArmed);
  EXPECT_TRUE(ToolbarDragFocusesSheet(1, end));
  EXPECT_FALSE(ToolbarDragFocusesSheet(2, end));

  // A plain click: no undock, the focus stays.
  ToolbarDragPress(drag, 100, 40);
  end = ToolbarDragRelease(drag, 111, 51);
  EXPECT_FALSE(end.undock);
  EXPECT_FALSE(ToolbarDragFocusesSheet(1, end));

  // A drag from the press point, measured from where it was pressed.
  ToolbarDragPress(drag, 100, 40);
  end = ToolbarDragRelease(drag, 100, 28);
  EXPECT_TRUE(end.undock);
  EXPECT_TRUE(ToolbarDragFocusesSheet(1, end));
  EXPECT_FALSE(ToolbarDragFocusesSheet(2, end));
  // Disarmed: the next release undocks nothing.
  EXPECT_FALSE(ToolbarDragRelease(drag, 0, 0).undock);
}

}  // namespace
}  // namespace kv
