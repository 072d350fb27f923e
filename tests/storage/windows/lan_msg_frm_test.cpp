// The lock dialog as the user meets it: its texts, its two buttons, and the
// answer each way of closing it gives. A wrong answer on Esc or on the title
// bar would take over an estimate another machine is editing.
#include "storage/windows/lan_msg_frm.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <functional>

#include "platform/qt/qt_ui.h"
#include "state/program_state.h"
#include "storage/lan_lock.h"
#include "support/qt_test_app.h"
#include "support/when_shown.h"
#include "support/temp_folder.h"

namespace kv {
namespace {

QString Q(const char* utf8) { return QString::fromUtf8(utf8); }

class LanMsgFrmTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApp();
    RegisterLanMsgFrm(qt, st);
  }
  // Acts as the user once the dialog is up.
  void WhenShown(std::function<void(LAN_Msg_frm&)> act) {
    test::WhenShown(qt, "LAN_Msg_frm", act);
  }
  QtUi qt;
  ProgramState st{qt};
};

TEST_F(LanMsgFrmTest, ShowsTheEstimateAndItsTwoChoices) {
  st.LanMsgFileName = "/share/見積/港北ビル";
  st.LanMsgAnswer = 1;
  WhenShown([&](LAN_Msg_frm& d) {
    EXPECT_EQ(st.LanMsgAnswer, 0);  // no stale answer while it is up
    EXPECT_EQ(d.windowTitle(), Q("ファイルは使用中です．．．"));
    EXPECT_EQ(d.Label(1)->text(), Q("見積データ [ /share/見積/港北ビル ] は現在、"));
    EXPECT_EQ(d.Label(2)->text(), Q("他のユーザによって編集されています。"));
    EXPECT_EQ(d.Label(3)->text(), Q("見積データ [ /share/見積/港北ビル ] を開く処理を中止します。"));
    EXPECT_EQ(d.Label(4)->text(), Q("強制的に編集を行う場合は、強制編集を選択して下さい。"));
    EXPECT_EQ(d.Command1(0)->text(), Q("は  い(&Y)"));
    EXPECT_EQ(d.Command1(1)->text(), Q("強制編集(&K)"));
    EXPECT_TRUE(d.Command1(0)->isDefault());
    EXPECT_TRUE(d.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    d.Command1(0)->click();
  });
  qt.ShowModal("LAN_Msg_frm");
  EXPECT_EQ(st.LanMsgAnswer, 0);
  EXPECT_FALSE(qt.IsWindowLoaded("LAN_Msg_frm"));
}

TEST_F(LanMsgFrmTest, OnlyTheForceButtonForces) {
  struct Case {
    const char* how;
    std::function<void(LAN_Msg_frm&)> act;
    int answer;
  };
  const Case cases[] = {
      {"強制編集", [](LAN_Msg_frm& d) { d.Command1(1)->click(); }, 1},
      {"は  い", [](LAN_Msg_frm& d) { d.Command1(0)->click(); }, 0},
      {"Enter", [](LAN_Msg_frm& d) { test::PressKey(&d, Qt::Key_Return); }, 0},
      {"Esc", [](LAN_Msg_frm& d) { test::PressKey(&d, Qt::Key_Escape); }, 0},
      {"title bar", [](LAN_Msg_frm& d) { d.close(); }, 0},
  };
  for (const Case& c : cases) {
    st.LanMsgAnswer = c.answer == 1 ? 0 : 1;
    WhenShown(c.act);
    qt.ShowModal("LAN_Msg_frm");
    EXPECT_EQ(st.LanMsgAnswer, c.answer) << c.how;
    EXPECT_FALSE(qt.IsWindowLoaded("LAN_Msg_frm")) << c.how;
  }
}

TEST_F(LanMsgFrmTest, TheLockIsForcedThroughTheDialog) {
  test::TempFolder dir;
  st.MachineName = "MACHINE-A";
  st.PackedExt = ".YZH";
  dir.Write("A.$$$", "MACHINE-B\r\n");
  WhenShown([](LAN_Msg_frm& d) { d.Command1(1)->click(); });
  EXPECT_TRUE(LanLockAcquire(st, (dir.path() / "A.YZH").string()));
  EXPECT_TRUE(LockIsOurs(st, (dir.path() / "A.$$$").string()));
}

}  // namespace
}  // namespace kv
