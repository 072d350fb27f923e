#include <gtest/gtest.h>

#include "editor/toolbars/toolbar_model.h"
#include "editor/toolbars/toolbar_tables.h"

namespace kv {
namespace {

TEST(ToolbarTables, EntriesAndKeys) {
  EXPECT_EQ(BasicToolbarTable().size(), 19u);
  EXPECT_EQ(ExtendedToolbarTable().size(), 32u);
  EXPECT_EQ(ToolbarKeys(ExtendedToolbarTable()).size(), 23u);
  // "S" is the subtotal button of the extended toolbar only.
  ASSERT_NE(FindToolButton(ExtendedToolbarTable(), "S"), nullptr);
  EXPECT_EQ(FindToolButton(ExtendedToolbarTable(), "S")->tooltip, "小計");
  EXPECT_EQ(FindToolButton(BasicToolbarTable(), "S"), nullptr);
  EXPECT_EQ(FindToolButton(BasicToolbarTable(), "YOSI")->widthTw, 3500);
  EXPECT_EQ(ExtendedToolbarTable().back().key, "RTN");
}

TEST(ToolbarTables, ZoomListAndNearestZoom) {
  const auto items = ZoomListItems();
  ASSERT_EQ(items.size(), 18u);
  EXPECT_EQ(items.front(), " 200%");
  EXPECT_EQ(items.back(), " 30%");
  struct Case {
    int zoom;
    int index;
  } cases[] = {{100, 10}, {200, 0}, {30, 17}, {125, 8}, {126, 7}, {0, 10}, {-5, 10},
               {7, 17},   {9999, 0}, {75, 13}, {94, 11}, {96, 10}};
  for (const Case& c : cases) EXPECT_EQ(ZoomListIndex(c.zoom), c.index) << c.zoom;
  EXPECT_EQ(ZoomOfItem(" 90%"), 90);
  EXPECT_EQ(ZoomOfItem(""), 0);
}

TEST(ToolbarModel, GroupPressReleasesTheRunAndLocksNeedWiring) {
  ToolbarModel m(BasicToolbarTable());
  m.Press("RIGHT");
  EXPECT_TRUE(m.Pressed("RIGHT"));
  m.Press("NOT");
  EXPECT_FALSE(m.Pressed("RIGHT"));
  EXPECT_EQ(m.PressedInGroup("UNDER"), "NOT");
  m.Press("NEW");  // a push button stays up
  EXPECT_FALSE(m.Pressed("NEW"));

  EXPECT_FALSE(m.Usable("SAVE"));  // no command yet
  m.SetWired("SAVE");
  EXPECT_TRUE(m.Usable("SAVE"));
  m.SetEnabled("SAVE", false);
  EXPECT_FALSE(m.Usable("SAVE"));
  m.SetEnabled("NOPE", false);  // unknown keys are ignored
  EXPECT_FALSE(m.Has("NOPE"));
}

}  // namespace
}  // namespace kv
