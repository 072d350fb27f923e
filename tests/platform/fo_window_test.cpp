// foWindow switches a window's topmost band and centres it; every dialog and
// tool window goes through it, so its quirks (1 is not true, reading gives
// false, no window means no call) must hold.
#include "platform/fo_window.h"

#include <gtest/gtest.h>

#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::ScriptedUi;
using Calls = std::vector<std::string>;

TEST(foWindow, TopMostTakesTrueOrMinusOneOnly) {
  ScriptedUi ui;
  foWindow w(ui);
  w.Attach("Select_2");
  w.TopMost(true);
  EXPECT_FALSE(w.TopMost());  // never read from the window
  w.TopMost(-1);
  w.TopMost(1);
  w.TopMost(0);
  w.TopMost(false);
  EXPECT_EQ(ui.Calls(), (Calls{"SetWindowTopMost(Select_2, true)", "SetWindowTopMost(Select_2, true)",
                               "SetWindowTopMost(Select_2, false)", "SetWindowTopMost(Select_2, false)",
                               "SetWindowTopMost(Select_2, false)"}));
}

TEST(foWindow, NothingHappensWithoutAWindow) {
  ScriptedUi ui;
  ui.windowRects["X"] = {0, 0, 100, 100};
  ui.loaded["X"] = true;
  foWindow w(ui);
  w.TopMost(true);
  w.Center();
  w.Attach("X");
  w.Detach();
  w.TopMost(true);
  w.Center();
  EXPECT_TRUE(ui.Calls().empty());
}

TEST(foWindow, CenterMovesOnlyALoadedWindowWhateverItsState) {
  ScriptedUi ui;
  ui.windowRects["A"] = {0, 0, 200, 100};
  ui.windowStates["A"] = WindowState::Maximized;
  foWindow w(ui);
  w.Attach("A");
  w.Center();  // not loaded
  EXPECT_TRUE(ui.Calls().empty());

  ui.loaded["A"] = true;
  w.Center();
  EXPECT_EQ(ui.Calls(), Calls{"MoveWindow(A, 412, 334)"});

  w.Attach("B");  // replaces A
  w.TopMost(true);
  EXPECT_EQ(ui.Calls().back(), "SetWindowTopMost(B, true)");
}

}  // namespace
}  // namespace kv
