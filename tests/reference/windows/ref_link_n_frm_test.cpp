// The conversion windows on the offscreen platform: registered under their
// names, the lists showing the form class, the buttons handed to it, and the
// close box of each counting as its Cancel. A picture of RefLinkN with a
// mapping is saved to look at (KORVANE_REFLINK_PICTURE, or
// /tmp/korvane_reflink.png).
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "reference/ref_conv_fixture.h"
#include "reference/ref_window.h"
#include "reference/windows/ref_link_n_frm.h"
#include "support/qt_test_app.h"

namespace kv::test {
namespace {

class RefLinkNWindows : public RefConvFixture {
 protected:
  void SetUp() override {
    EnsureQtApp();
    RefConvFixture::SetUp();
    WriteLayouts();
    WriteRefLevel(1, {{' ', 0, 2, kNoRecord, RefText("one", "12.5", "n1")}, {'G'}}, "R");
  }
  template <class T>
  static T* Child(QWidget* w, const QString& name) {
    T* c = w->findChild<T*>(name);
    EXPECT_NE(c, nullptr) << name.toStdString();
    return c;
  }
  static QStringList Items(QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
    return out;
  }
};

TEST_F(RefLinkNWindows, RegisteredUnderTheirNames) {
  QtUi qt;
  RegisterRefConvWindows(qt, st);
  for (const char* name : {"RefLinkN", "RChgRuleSEL_Frm", "RChgRuleMAK_Frm"}) EXPECT_TRUE(qt.HasWindow(name));
}

// Shown modally by the seam as the open road shows it: OK converts and the
// window goes; a layout refused at load ends the window at once.
TEST_F(RefLinkNWindows, ShownModallyItConvertsOnOkOrEndsAtOnceWhenRefused) {
  QtUi qt;
  RegisterRefConvWindows(qt, st);
  st.RefLinkCancelled = -1;
  QTimer::singleShot(0, [this] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_TRUE(w != nullptr && w->objectName() == "RefLinkN");
    Child<QPushButton>(w, "Command3(1)")->click();
    ui.AnswerMsgBox(vbYes, "変換しますか？");
    Child<QPushButton>(w, "Command1(0)")->click();
  });
  qt.ShowModal(kRefLinkWindow);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefLinkCancelled, 0);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  EXPECT_EQ(FileBytes(Work2() / "R.Y1").substr(19, 15), std::string("one    ") + "   12.5 ");

  std::filesystem::remove(Work2() / "R.Y$");
  ui.AnswerMsgBox(vbOK, "を変換できません。");
  qt.ShowModal(kRefLinkWindow);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefLinkCancelled, -1);
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(RefLinkNWindows, TheListsFollowTheButtonsAndTheCloseBoxCancels) {
  QPointer<RefLinkN> w = new RefLinkN(st);
  w->show();
  Settle();
  EXPECT_EQ(w->windowTitle(), ToQ("変換ルール設定"));
  QListWidget* mapped = Child<QListWidget>(w, "List1(1)");
  EXPECT_EQ(Items(mapped), (QStringList{"A", "B", "C", "D", "E"}));
  EXPECT_EQ(Child<QListWidget>(w, "List1(2)")->count(), 3);
  EXPECT_FALSE(Child<QPushButton>(w, "Command2(0)")->isEnabled());
  Child<QPushButton>(w, "Command3(1)")->click();
  EXPECT_EQ(mapped->item(1)->text(), ToQ(RefLinkNForm::DispStrMake(2, w->Form().RField[1])));
  // A row picked in the first list is picked in the second.
  Child<QListWidget>(w, "List1(0)")->setCurrentRow(2);
  EXPECT_EQ(mapped->currentRow(), 2);
  Child<QPushButton>(w, "Command3(3)")->click();
  EXPECT_EQ(mapped->item(2)->text(), "C");
  EXPECT_EQ(mapped->currentRow(), 3);
  EXPECT_EQ(w->Form().FieldMap, (std::vector<int>{0, 1, -1, 2, -1}));

  const char* picture = std::getenv("KORVANE_REFLINK_PICTURE");
  w->grab().save(QString::fromUtf8(picture != nullptr ? picture : "/tmp/korvane_reflink.png"));

  st.RefLinkCancelled = 0;
  w->close();
  Settle();
  EXPECT_EQ(st.RefLinkCancelled, -1);
  EXPECT_TRUE(w.isNull() || !w->isVisible());
  EXPECT_EQ(FileBytes(Work2() / "R.Y1").substr(19, 8), "one     ");  // not converted
}

TEST_F(RefLinkNWindows, TheRuleDialogsCloseBoxIsTheirCancel) {
  WriteText(RuleFilePath(st), J("[変換ルール]\r\nChgRuleCnt=2\r\nChgRuleName1=甲\r\nChgRuleName2=乙\r\n"));
  st.ChgRuleSelName = "甲";
  QPointer<RChgRuleSEL_Frm> sel = new RChgRuleSEL_Frm(st);
  sel->show();
  Settle();
  QComboBox* combo = Child<QComboBox>(sel, "Combo1");
  EXPECT_EQ(combo->count(), 2);
  combo->setCurrentIndex(1);
  sel->close();
  Settle();
  EXPECT_EQ(st.ChgRuleSelName, "甲");

  QPointer<RChgRuleMAK_Frm> mak = new RChgRuleMAK_Frm(st);
  mak->show();
  Settle();
  EXPECT_EQ(Child<QLineEdit>(mak, "Text1")->text(), ToQ("甲"));
  mak->close();
  Settle();
  EXPECT_EQ(st.ChgRuleSelName, "");

  st.ChgRuleSelName = "";
  sel = new RChgRuleSEL_Frm(st);
  sel->show();
  Settle();
  Child<QComboBox>(sel, "Combo1")->setCurrentIndex(1);
  Child<QPushButton>(sel, "Command1(0)")->click();
  Settle();
  EXPECT_EQ(st.ChgRuleSelName, "乙");
}

}  // namespace
}  // namespace kv::test
