// The floating tool windows must leave the topmost band before every message
// box and dialog and come back after it, or the box hides behind them and the
// program looks hung. Which windows are visited, in which order, and which are
// skipped decides that.
#include "state/float_windows.h"

#include <gtest/gtest.h>

#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::ScriptedUi;
using Calls = std::vector<std::string>;

class FloatWindows : public ::testing::Test {
 protected:
  // Every tool window open; the unit list minimised.
  void OpenAll() {
    st.UnitWindowOpen = true;
    st.RefWindowOpen = true;
    st.SearchWindowOpen = true;
    st.RefSearchOpen = true;
    st.SiwakeWindowOpen = true;
    st.ToolBar1Floating = true;
    st.ToolBar2Floating = true;
    ui.windowStates["UNIT2_Frm"] = WindowState::Minimized;
  }

  ScriptedUi ui;
  ProgramState st{ui};
};

TEST_F(FloatWindows, TopMostSetVisitsAllButMinimisedToolWindows) {
  OpenAll();
  st.SystemKind = 1;
  st.SbMsgShown = true;
  st.StartingUp = true;
  // The calculating window and the title screen are switched even when minimised.
  ui.windowStates["SB_MsgFrm"] = WindowState::Minimized;
  ui.windowStates["ST_Gamen"] = WindowState::Minimized;

  FloatWindowsTopMostSet(st, false);

  EXPECT_EQ(ui.Calls(), (Calls{"SetWindowTopMost(SB_MsgFrm, false)", "SetWindowTopMost(ST_Gamen, false)",
                               "SetWindowTopMost(RefSheet_Frm, false)",
                               "SetWindowTopMost(SchSheet_Frm, false)",
                               "SetWindowTopMost(SchSheet_Frm, false)",
                               "SetWindowTopMost(KvSiwa_Frm, false)",
                               "SetWindowTopMost(frmToolBar, false)",
                               "SetWindowTopMost(FrmToolBar2, false)"}));
}

TEST_F(FloatWindows, CalculatingWindowOnlyInTheEquipmentEditionAndTitleOnlyAtStartUp) {
  st.SystemKind = 2;
  st.SbMsgShown = true;
  st.StartingUp = false;
  st.UnitWindowOpen = true;
  FloatWindowsTopMostSet(st, true);
  EXPECT_EQ(ui.Calls(), Calls{"SetWindowTopMost(UNIT2_Frm, true)"});
}

TEST_F(FloatWindows, RaiseTakesMinimisedTooAndLeavesTheReferenceSearchOut) {
  OpenAll();
  st.StartingUp = true;  // the title screen is not raised by this one
  FloatWindowsRaise(st);
  EXPECT_EQ(ui.Calls(), (Calls{"SetWindowTopMost(UNIT2_Frm, true)", "SetWindowTopMost(RefSheet_Frm, true)",
                               "SetWindowTopMost(SchSheet_Frm, true)",
                               "SetWindowTopMost(SchSheet_Frm, false)",
                               "SetWindowTopMost(KvSiwa_Frm, true)", "SetWindowTopMost(frmToolBar, true)",
                               "SetWindowTopMost(FrmToolBar2, true)"}));
  EXPECT_FALSE(ui.TopMost("SchSheet_Frm"));
}

TEST_F(FloatWindows, RaiseShownSkipsMinimised) {
  OpenAll();
  FloatWindowsRaiseShown(st);
  auto calls = ui.Calls();
  EXPECT_EQ(calls.size(), 6u);
  EXPECT_EQ(calls.front(), "SetWindowTopMost(RefSheet_Frm, true)");
}

TEST_F(FloatWindows, ReferenceSearchIsTopmostAfterAMessageBoxButNotAfterADialog) {
  st.RefWindowOpen = true;
  st.RefSearchOpen = true;
  FloatWindowsTopMostSet(st, false);
  FloatWindowsTopMostSet(st, true);
  EXPECT_TRUE(ui.TopMost("SchSheet_Frm"));
  FloatWindowsNoTopMost(st);
  FloatWindowsRaise(st);
  EXPECT_FALSE(ui.TopMost("SchSheet_Frm"));
  EXPECT_TRUE(ui.TopMost("RefSheet_Frm"));
}

TEST_F(FloatWindows, TopMostAndNoTopMostSkipMinimised) {
  OpenAll();
  st.RefSearchOpen = false;
  FloatWindowsTopMost(st);
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost(UNIT2_Frm"), Calls{});
  EXPECT_EQ(ui.Calls().size(), 5u);

  ScriptedUi ui2;
  ProgramState st2(ui2);
  st2.UnitWindowOpen = true;
  st2.SiwakeWindowOpen = true;
  ui2.windowStates["KvSiwa_Frm"] = WindowState::Minimized;
  FloatWindowsNoTopMost(st2);
  EXPECT_EQ(ui2.Calls(),
            (Calls{"SetWindowTopMost(UNIT2_Frm, false)", "SendWindowToBottom(EDTSHEET_FRM)"}));
}

TEST_F(FloatWindows, RestoreOnlyUnitReferenceSearchAndClassification) {
  OpenAll();
  st.SearchWindowOpen = false;  // the search window opened from the reference window only
  FloatWindowsRestore(st);
  EXPECT_EQ(ui.Calls(), (Calls{"SetWindowState(UNIT2_Frm, Normal)", "SetWindowState(RefSheet_Frm, Normal)",
                               "SetWindowState(KvSiwa_Frm, Normal)"}));
}

TEST_F(FloatWindows, UnloadInItsOrderAndTheSearchWindowOnce) {
  OpenAll();
  FloatWindowsUnload(st);
  EXPECT_EQ(ui.Calls(), (Calls{"UnloadWindow(UNIT2_Frm)", "UnloadWindow(SchSheet_Frm)",
                               "UnloadWindow(RefSheet_Frm)", "UnloadWindow(KvSiwa_Frm)",
                               "UnloadWindow(frmToolBar)", "UnloadWindow(FrmToolBar2)"}));

  ScriptedUi ui2;
  ProgramState st2(ui2);
  st2.SearchWindowOpen = true;
  st2.RefWindowOpen = true;
  FloatWindowsUnload(st2);
  EXPECT_EQ(ui2.Calls(), (Calls{"UnloadWindow(RefSheet_Frm)", "UnloadWindow(SchSheet_Frm)"}));
}

TEST_F(FloatWindows, SearchWindowUnloadOnlyWhenLoaded) {
  SearchWindowUnload(st);
  EXPECT_TRUE(ui.Calls().empty());
  st.SearchSheetLoaded = true;
  SearchWindowUnload(st);
  EXPECT_EQ(ui.Calls(), Calls{"UnloadWindow(SchSheet_Frm)"});
  EXPECT_FALSE(st.SearchSheetLoaded);
}

}  // namespace
}  // namespace kv
