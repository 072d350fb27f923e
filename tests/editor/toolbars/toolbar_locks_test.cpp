// The busy lock and the non-print row lock on the toolbar buttons: plain
// flags, hidden buttons docked and floating, the open tool windows that keep
// the non-print row command locked.
#include "editor/toolbars/toolbar_locks.h"

#include <gtest/gtest.h>

#include "editor/toolbars/toolbar_model.h"
#include "state/menu_model.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class ToolbarLocks : public ::testing::Test {
 public:
  ToolbarModels Models() { return {basic, basicFloat, ext, extFloat}; }
  // The busy lock as the window takes it: the flag, then the buttons.
  void Busy(bool busy) {
    st.CommandBusy = busy;
    ToolbarsBusyLock(st, Models(), busy);
  }
  bool Hiinsatu(bool locked) { return HiinsatuLockSet(st, menus, Models(), locked); }
  bool MenuItemEnabled() { return menus.At("Tokusyusub", 1).enabled; }

  test::ScriptedUi ui;
  ProgramState st{ui};
  EditorMenus menus = EditorMenuTree();
  ToolbarModel basic{BasicToolbarTable()};
  ToolbarModel basicFloat{BasicToolbarTable()};
  ToolbarModel ext{ExtendedToolbarTable()};
  ToolbarModel extFloat{ExtendedToolbarTable()};
};

TEST_F(ToolbarLocks, BusyLockIsAPlainFlagOverBothToolbars) {
  Busy(true);
  Busy(true);
  for (const ToolButtonState& b : basic.Buttons()) EXPECT_FALSE(b.enabled) << b.key;
  for (const ToolButtonState& b : ext.Buttons()) EXPECT_FALSE(b.enabled) << b.key;
  // The floating copies are not in use.
  EXPECT_TRUE(basicFloat.Enabled("NEW"));
  EXPECT_TRUE(extFloat.Enabled("CUT"));
  Busy(false);
  EXPECT_FALSE(st.CommandBusy);
  for (const ToolButtonState& b : basic.Buttons()) EXPECT_TRUE(b.enabled) << b.key;
  for (const ToolButtonState& b : ext.Buttons()) EXPECT_TRUE(b.enabled) << b.key;
}

TEST_F(ToolbarLocks, HiddenButtonsFollowTheLockOnlyOnTheDockedBasicToolbar) {
  struct Case {
    const char* what;
    bool basicFloating, extFloating;
    ToolbarModel ToolbarLocks::*model;
    const char* key;
    bool switched;
  } cases[] = {
      {"docked basic: every key", false, false, &ToolbarLocks::basic, "UNDO", true},
      {"docked basic: placeholders too", false, false, &ToolbarLocks::basic, "YOSI", true},
      {"floating basic: shown ones only", true, false, &ToolbarLocks::basicFloat, "UNDO", false},
      {"docked extended: shown ones only", false, false, &ToolbarLocks::ext, "TREE", false},
      {"floating extended: shown ones only", false, true, &ToolbarLocks::extFloat, "TREE", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ToolbarModel& m = this->*c.model;
    st.ToolBar1Floating = c.basicFloating;
    st.ToolBar2Floating = c.extFloating;
    m.SetVisible(c.key, false);
    Busy(true);
    EXPECT_EQ(m.Enabled(c.key), !c.switched);
    Busy(false);
    EXPECT_TRUE(m.Enabled(c.key));
    // A hidden button that was disabled before keeps that through a lock.
    if (!c.switched) {
      m.SetEnabled(c.key, false);
      Busy(true);
      Busy(false);
      EXPECT_FALSE(m.Enabled(c.key));
      m.SetEnabled(c.key, true);
    }
    m.SetVisible(c.key, true);
  }
}

TEST_F(ToolbarLocks, NonPrintRowLockAcrossToolWindowsAndBusyCommands) {
  // A double lock and one release free the command.
  EXPECT_TRUE(Hiinsatu(true));
  EXPECT_TRUE(Hiinsatu(true));
  EXPECT_TRUE(Hiinsatu(false));
  EXPECT_FALSE(st.HiinsatuLock);
  EXPECT_TRUE(MenuItemEnabled());
  EXPECT_TRUE(ext.Enabled("HIINSATU"));

  // The search window is open: a busy command ends and every other button
  // comes back, HIINSATU and the menu item stay locked, and the unlock is
  // refused while the window is open.
  st.SearchWindowOpen = true;
  EXPECT_TRUE(Hiinsatu(true));
  Busy(true);
  Busy(false);
  EXPECT_FALSE(ext.Enabled("HIINSATU"));
  EXPECT_TRUE(ext.Enabled("MEMO"));
  EXPECT_FALSE(Hiinsatu(false));
  EXPECT_TRUE(st.HiinsatuLock);
  EXPECT_FALSE(MenuItemEnabled());
  st.SearchWindowOpen = false;
  EXPECT_TRUE(Hiinsatu(false));
  EXPECT_TRUE(ext.Enabled("HIINSATU"));
}

TEST_F(ToolbarLocks, ToolWindowsClosedInEitherOrder) {
  bool ProgramState::*flags[] = {&ProgramState::UnitWindowOpen, &ProgramState::RefWindowOpen,
                                 &ProgramState::SearchWindowOpen, &ProgramState::SiwakeWindowOpen};
  for (auto first : flags)
    for (auto second : flags) {
      if (first == second) continue;
      st.*first = true;
      Hiinsatu(true);
      st.*second = true;
      Hiinsatu(true);
      // Each window clears its flag, then asks for the unlock.
      st.*first = false;
      EXPECT_FALSE(Hiinsatu(false));
      EXPECT_TRUE(st.HiinsatuLock);
      EXPECT_FALSE(MenuItemEnabled());
      st.*second = false;
      EXPECT_TRUE(Hiinsatu(false));
      EXPECT_FALSE(st.HiinsatuLock);
      EXPECT_TRUE(MenuItemEnabled());
    }
}

TEST_F(ToolbarLocks, NonPrintRowLockOnTheToolbarInUse) {
  // Floating with the button shown: the floating button, not the docked one.
  st.ToolBar2Floating = true;
  Hiinsatu(true);
  EXPECT_FALSE(extFloat.Enabled("HIINSATU"));
  EXPECT_TRUE(ext.Enabled("HIINSATU"));
  Hiinsatu(false);
  EXPECT_TRUE(extFloat.Enabled("HIINSATU"));

  // Floating with the button hidden: only the flag and the menu item.
  extFloat.SetVisible("HIINSATU", false);
  Hiinsatu(true);
  EXPECT_TRUE(st.HiinsatuLock);
  EXPECT_FALSE(MenuItemEnabled());
  EXPECT_TRUE(extFloat.Enabled("HIINSATU"));
  Hiinsatu(false);

  // Docked: the button, shown or not.
  st.ToolBar2Floating = false;
  ext.SetVisible("HIINSATU", false);
  Hiinsatu(true);
  EXPECT_FALSE(ext.Enabled("HIINSATU"));
  // The busy lock leaves it alone while locked, also when it is shown.
  ext.SetVisible("HIINSATU", true);
  Busy(true);
  Busy(false);
  EXPECT_FALSE(ext.Enabled("HIINSATU"));
}

}  // namespace
}  // namespace kv
