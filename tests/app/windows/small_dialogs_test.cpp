// The small shared dialogs answer through the program state; a wrong answer on
// Esc or on the title bar's close would record, or throw away, a sheet the
// user did not mean to.
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <functional>

#include <gtest/gtest.h>

#include "app/windows/msg_frm.h"
#include "app/windows/sb_msg_frm.h"
#include "app/windows/select_1.h"
#include "app/windows/select_2.h"
#include "app/windows/small_dialogs.h"
#include "app/windows/z_input_box.h"
#include "core/window_services.h"
#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "support/qt_test_app.h"
#include "support/when_shown.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

using test::PressKey;
using test::ScriptedUi;
using test::Settle;
using Calls = std::vector<std::string>;

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

// Dialogs made directly, with the scripted double as their way to the rest of
// the program (it records the floating windows they raise).
class DirectDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    st.UnitWindowOpen = true;
  }
  ScriptedUi ui;
  ProgramState st{ui};
};

// Dialogs reached by name through the Qt seam, as the program shows them.
class SeamDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    RegisterSmallDialogs(qt, st);
  }
  // Acts as the user once the modal window `name` is up.
  template <class W>
  void WhenShown(const char* name, std::function<void(W&)> act) {
    test::WhenShown(qt, name, act);
  }
  QtUi qt;
  ProgramState st{qt};
};

TEST_F(DirectDialog, Select1IsTheRecordQuestion) {
  st.Select2Result = 0;
  Select_1 d(st);
  EXPECT_EQ(st.Select2Result, 1);  // no stale answer while it is up
  EXPECT_EQ(d.windowTitle(), Q("** 記録 **"));
  EXPECT_EQ(d.S_Label()->text(), Q("記録しますか?"));
  EXPECT_EQ(d.S_Button(0)->text(), Q("はい(&Y)"));
  EXPECT_EQ(d.S_Button(1)->text(), Q("いいえ(&N)"));
  EXPECT_TRUE(d.S_Button(0)->isDefault());
  EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(DirectDialog, Select1AnswersEachWayAndRaisesTheFloatsOnce) {
  struct Case {
    const char* how;
    std::function<void(Select_1&)> act;
    int answer;
  };
  const Case cases[] = {
      {"はい clicked", [](Select_1& d) { d.S_Button(0)->click(); }, 0},
      {"いいえ clicked", [](Select_1& d) { d.S_Button(1)->click(); }, 1},
      {"Enter", [](Select_1& d) { PressKey(&d, Qt::Key_Return); }, 0},
      {"Esc", [](Select_1& d) { PressKey(&d, Qt::Key_Escape); }, 1},
      {"title bar", [](Select_1& d) { d.close(); }, 1},
  };
  for (const Case& c : cases) {
    ScriptedUi ui2;
    ProgramState st2(ui2);
    st2.UnitWindowOpen = true;
    st2.Select2Result = c.answer == 0 ? 1 : 0;  // the previous question's other answer
    ui2.SetBusyPointer(true);
    QPointer<Select_1> d = new Select_1(st2);
    d->show();
    EXPECT_FALSE(ui2.Busy()) << c.how;  // the pointer is back to normal
    c.act(*d);
    Settle();
    EXPECT_EQ(st2.Select2Result, c.answer) << c.how;
    EXPECT_TRUE(d.isNull()) << c.how;  // unloaded
    EXPECT_EQ(ui2.CallsStartingWith("SetWindowTopMost"), Calls{"SetWindowTopMost(UNIT2_Frm, true)"})
        << c.how;
  }
}

TEST_F(SeamDialog, Select2TakesTheCallersTextsAndAnswersTheButtonIndex) {
  struct Case {
    const char* how;
    bool thirdEnabled;
    std::function<void(Select_2&)> act;
    int answer;
  };
  const Case cases[] = {
      {"はい", true, [](Select_2& d) { d.S_Button(0)->click(); }, 0},
      {"1階層に戻る", true, [](Select_2& d) { d.S_Button(2)->click(); }, 2},
      {"disabled third", false, [](Select_2& d) { d.S_Button(2)->click(); d.S_Button(1)->click(); }, 1},
      {"Esc", true, [](Select_2& d) { PressKey(&d, Qt::Key_Escape); }, 1},
      {"title bar", true, [](Select_2& d) { d.close(); }, 1},
  };
  for (const Case& c : cases) {
    st.Select2Result = 2;
    qt.SetWindowText("Select_2", "", "記録");
    qt.SetWindowText("Select_2", "S_Label", "記録しますか?");
    qt.SetWindowText("Select_2", "S_Button(0)", "はい(&Y)");
    qt.SetWindowText("Select_2", "S_Button(1)", "いいえ(&N)");
    qt.SetWindowText("Select_2", "S_Button(2)", "1階層に戻る");
    qt.SetControlEnabled("Select_2", "S_Button(2)", c.thirdEnabled);
    EXPECT_EQ(st.Select2Result, 1) << c.how;  // loaded by the first text
    WhenShown<Select_2>("Select_2", [&](Select_2& d) {
      EXPECT_EQ(d.windowTitle(), Q("記録"));
      EXPECT_EQ(d.S_Label()->text(), Q("記録しますか?"));
      EXPECT_EQ(d.S_Button(2)->text(), Q("1階層に戻る"));
      EXPECT_EQ(d.S_Button(2)->isEnabled(), c.thirdEnabled);
      c.act(d);
    });
    qt.ShowModal("Select_2");
    EXPECT_EQ(st.Select2Result, c.answer) << c.how;
    EXPECT_FALSE(qt.IsWindowLoaded("Select_2")) << c.how;
  }
}

TEST_F(SeamDialog, InputBoxTakesTheCallersValuesAndRefusesTheNinthCharacter) {
  st.InputPrompt = "掛け率を入力して下さい";
  st.InputTitle = "経費行掛け率";
  st.InputText = "*";
  st.InputMaxLen = 8;
  st.InputImeMode = 2;  // a rate: Japanese input off
  st.InputOk = true;  // left from an earlier answer
  WhenShown<Z_InputBox>("Z_InputBox", [&](Z_InputBox& d) {
    EXPECT_FALSE(st.InputOk);
    EXPECT_TRUE(d.Text1()->inputMethodHints() & Qt::ImhPreferLatin);
    EXPECT_EQ(d.windowTitle(), Q("経費行掛け率"));
    EXPECT_EQ(d.Label1()->text(), Q("掛け率を入力して下さい"));
    EXPECT_EQ(d.Text1()->selectedText(), Q("*"));  // the whole text, ready to replace
    EXPECT_EQ(d.Command1(1)->text(), Q("ｷｬﾝｾﾙ"));
    for (char c : std::string("123456789")) PressKey(d.Text1(), c, QString(QChar(c)));
    EXPECT_EQ(d.Text1()->text(), Q("12345678"));
    d.Command1(0)->click();
  });
  qt.ShowModal("Z_InputBox");
  EXPECT_TRUE(st.InputOk);
  EXPECT_EQ(st.InputText, "12345678");
  // OK only hides it: the caller unloads it.
  EXPECT_TRUE(qt.IsWindowLoaded("Z_InputBox"));
  qt.UnloadWindow("Z_InputBox");
  EXPECT_FALSE(qt.IsWindowLoaded("Z_InputBox"));
}

TEST_F(SeamDialog, InputBoxCancelAndTitleBarLeaveTheTextAndNoAnswer) {
  for (bool titleBar : {false, true}) {
    st.InputPrompt = "画面名";
    st.InputTitle = "画面名入力";
    st.InputText = "画面１";
    st.InputMaxLen = 20;
    WhenShown<Z_InputBox>("Z_InputBox", [&](Z_InputBox& d) {
      d.Text1()->setText(Q("変更"));
      if (titleBar)
        d.close();
      else
        PressKey(&d, Qt::Key_Escape);
    });
    qt.ShowModal("Z_InputBox");
    EXPECT_FALSE(st.InputOk);
    EXPECT_EQ(st.InputText, "画面１");
    // Esc only hides it; the title bar's close unloads it.
    EXPECT_EQ(qt.IsWindowLoaded("Z_InputBox"), !titleBar);
    qt.UnloadWindow("Z_InputBox");
  }
}

TEST_F(DirectDialog, InputBoxRaisesTheShownFloatsWhenItCloses) {
  st.RefWindowOpen = true;
  ui.windowStates["UNIT2_Frm"] = WindowState::Minimized;
  QPointer<Z_InputBox> d = new Z_InputBox(st);
  d->show();
  d->Command1(0)->click();  // hides only
  EXPECT_TRUE(ui.CallsStartingWith("SetWindowTopMost").empty());
  d->close();
  Settle();
  EXPECT_TRUE(d.isNull());
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost"), Calls{"SetWindowTopMost(RefSheet_Frm, true)"});
}

TEST_F(SeamDialog, BusyWindowShowsCaptionAndTextUntilUnloaded) {
  ProgressMsgShow(qt, "ﾌｧｲﾙ変換", "TheKorvaneWindows版Ver3形式に変換中！");
  auto* w = dynamic_cast<Msg_Frm*>(qt.LoadedWindow("Msg_Frm"));
  ASSERT_NE(w, nullptr);
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(w->windowTitle(), Q("ﾌｧｲﾙ変換"));
  EXPECT_EQ(w->Label()->text(), Q("TheKorvaneWindows版Ver3形式に変換中！"));
  EXPECT_TRUE(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  qt.UnloadWindow("Msg_Frm");
  EXPECT_FALSE(qt.IsWindowLoaded("Msg_Frm"));
}

TEST_F(DirectDialog, BusyWindowRaisesTheFloatsWhenItCloses) {
  QPointer<Msg_Frm> w = new Msg_Frm(st);
  w->show();
  w->close();
  Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(ui.CallsStartingWith("SetWindowTopMost"), Calls{"SetWindowTopMost(UNIT2_Frm, true)"});
}

TEST_F(SeamDialog, CalculatingWindowIsShownWhileLoaded) {
  EXPECT_FALSE(st.SbMsgShown);
  qt.SetWindowText("SB_MsgFrm", "Label1(0)", "設備集計中");
  qt.SetWindowText("SB_MsgFrm", "Label1(1)", "しばらくお待ち下さい");
  EXPECT_TRUE(st.SbMsgShown);
  qt.ShowModeless("SB_MsgFrm");
  auto* w = dynamic_cast<SB_MsgFrm*>(qt.LoadedWindow("SB_MsgFrm"));
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(w->Label1(1)->text(), Q("しばらくお待ち下さい"));
  qt.UnloadWindow("SB_MsgFrm");
  EXPECT_FALSE(st.SbMsgShown);
}

}  // namespace
}  // namespace kv
