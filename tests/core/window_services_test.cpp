// The warning box frames every refusal of the program; the centring places
// every dialog. Both reach the user only through the seam, so the double shows
// exactly what was asked and in which order.
#include "core/window_services.h"

#include <gtest/gtest.h>

#include "state/program_state.h"
#include "state/warn_msg_box.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::ScriptedUi;
using Calls = std::vector<std::string>;

TEST(WarnMsgBox, LowersFloatsShowsTheWarningAndRaisesThem) {
  ScriptedUi ui;
  ProgramState st(ui);
  st.UnitWindowOpen = true;
  st.SiwakeWindowOpen = true;
  ui.windowStates["KvSiwa_Frm"] = WindowState::Minimized;
  ui.AnswerMsgBox(vbOK, "保存できません");

  WarnMsgBox(st, "保存できません");

  ASSERT_EQ(ui.Prompts().size(), 1u);
  EXPECT_EQ(ui.Prompts()[0].title, "TheKorvane");
  EXPECT_EQ(ui.Prompts()[0].style, vbOKOnly + vbExclamation);
  EXPECT_EQ(ui.Calls(), (Calls{"SetWindowTopMost(UNIT2_Frm, false)", "ProcessEvents()",
                               "MsgBox(保存できません)", "SetWindowTopMost(UNIT2_Frm, true)"}));
}

TEST(ProgressMsgShow, SetsCaptionShowsLabelAndLetsItPaint) {
  ScriptedUi ui;
  ProgressMsgShow(ui, "ﾌｧｲﾙ変換", "変換中！");
  EXPECT_EQ(ui.Calls(),
            (Calls{"SetWindowText(Msg_Frm, , ﾌｧｲﾙ変換)", "ShowModeless(Msg_Frm)",
                   "SetWindowText(Msg_Frm, Label, 変換中！)", "ProcessEvents()"}));
  EXPECT_EQ(ui.WindowText("Msg_Frm"), "ﾌｧｲﾙ変換");
  EXPECT_EQ(ui.WindowText("Msg_Frm", "Label"), "変換中！");
}

TEST(CenterForm, HalvesWithoutRemainderOrRoundsToEven) {
  // 1024 x 768 screen, a 303 x 205 window.
  WindowRect form{5, 7, 303, 205};
  WindowRect a = CenterFormRect({1024, 768}, form);
  EXPECT_EQ(a.left, 512 - 151);
  EXPECT_EQ(a.top, 384 - 102);
  WindowRect b = CenterFormIfNormalRect({1024, 768}, form);
  EXPECT_EQ(b.left, 360);  // 360.5 to the even neighbour
  EXPECT_EQ(b.top, 282);   // 281.5 likewise
  EXPECT_EQ(b.width, 303);
}

TEST(CenterForm, CentresWhateverTheStateButIfNormalLeavesOthers) {
  ScriptedUi ui;
  ui.windowRects["W"] = {0, 0, 300, 200};
  ui.windowStates["W"] = WindowState::Maximized;

  CenterFormIfNormal(ui, "W");
  EXPECT_TRUE(ui.CallsStartingWith("MoveWindow").empty());

  CenterForm(ui, "W");
  EXPECT_EQ(ui.CallsStartingWith("MoveWindow"), Calls{"MoveWindow(W, 362, 284)"});

  ui.windowStates["W"] = WindowState::Normal;
  ui.windowRects["W"] = {0, 0, 300, 200};
  CenterFormIfNormal(ui, "W");
  EXPECT_EQ(ui.windowRects["W"].left, 362);
  EXPECT_EQ(ui.windowRects["W"].top, 284);

  // A window that is not there is not moved.
  CenterForm(ui, "Missing");
  CenterFormIfNormal(ui, "Missing");
  EXPECT_EQ(ui.CallsStartingWith("MoveWindow").size(), 2u);
}

TEST(TouchEditForm, AsksForTheEditorWindowOnly) {
  ScriptedUi ui;
  TouchEditForm(ui);
  EXPECT_EQ(ui.Calls(), Calls{"TouchWindow(EDTSHEET_FRM)"});
  EXPECT_FALSE(ui.IsWindowLoaded("EDTSHEET_FRM"));
}

}  // namespace
}  // namespace kv
