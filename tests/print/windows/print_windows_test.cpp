// The four print dialogs on the offscreen platform: registered under their
// names, their controls showing the form classes, the user's actions handed
// to them (boxes corrected when left, the close box as Cancel, the up/down
// buttons, the sliders), and screenshots on request.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QToolButton>
#include <cstdlib>
#include <filesystem>

#include "editor/print_prep.h"
#include "platform/qt/qt_ui.h"
#include "platform/qt/window_helpers.h"
#include "print/print_fixture.h"
#include "print/print_forms.h"
#include "print/windows/frm_orvi_ken.h"
#include "print/windows/frm_p1_setup.h"
#include "print/windows/frm_p2_setup.h"
#include "print/windows/frm_p3_setup.h"
#include "print/windows/print_windows.h"
#include "support/qt_test_app.h"

namespace kv::test {
namespace {

class PrintWindows : public PrintFixture {
 protected:
  void SetUp() override {
    EnsureQtApp();
    PrintFixture::SetUp();
    PrinterIniEnsure(st);
    st.LevelCount = 3;
    st.UsedRows = 12;
    st.PrintRowFrom = 1;
    st.PrintRowTo = 12;
    st.PrintRequest = "1";
    st.LevelCaption[1] = std::string(19, ' ') + ToSjis("名称      数量        ") + std::string(215, ' ');
  }
  template <class W>
  QPointer<W> Shown() {
    QPointer<W> w = new W(st);
    w->show();
    Settle();
    return w;
  }
  template <class T>
  static T* Child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromUtf8(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
  }
};

TEST_F(PrintWindows, RegisteredUnderTheirNames) {
  QtUi qt;
  RegisterPrintWindows(qt, st);
  for (const char* name : {"frmP1SetUp", "frmP2SetUp", "frmP3SetUp", "frmOrviKen"}) EXPECT_TRUE(qt.HasWindow(name));
}

TEST_F(PrintWindows, PrintDialogShowsItsModesAndCorrectsABoxWhenItIsLeft) {
  QPointer<frmP1SetUp> w = Shown<frmP1SetUp>();
  EXPECT_EQ(w->windowTitle(), ToQ("印刷"));
  EXPECT_EQ(Child<QComboBox>(w, "cobPType")->currentText(), ToQ("A4縦      2行 (Ａ４縦)"));
  EXPECT_EQ(Child<QLineEdit>(w, "txtKaisyaName")->maxLength(), 75);
  EXPECT_EQ(Child<QRadioButton>(w, "Option2(0)")->text(), ToQ("現在の階層"));
  EXPECT_EQ(Child<QRadioButton>(w, "Option2(2)")->text(), ToQ("3階層まで"));
  EXPECT_FALSE(Child<QRadioButton>(w, "Option2(3)")->isVisible());
  EXPECT_TRUE(Child<QGroupBox>(w, "fraPrintStyle")->isVisible());
  EXPECT_FALSE(Child<QGroupBox>(w, "fraPageSet")->isVisible());

  Child<QRadioButton>(w, "Option3(1)")->click();
  Settle();
  EXPECT_FALSE(Child<QGroupBox>(w, "fraPrintStyle")->isVisible());
  EXPECT_TRUE(Child<QGroupBox>(w, "fraPageSet")->isVisible());
  EXPECT_FALSE(Child<QCheckBox>(w, "Check2")->isEnabled());
  EXPECT_EQ(st.PrintRangeMode, 1);

  // An emptied end page becomes 9999 when the print button takes the
  // focus, and is then refused.
  auto* end = Child<QLineEdit>(w, "txtEndPage");
  w->activateWindow();
  end->setFocus();
  Settle();
  end->clear();
  w->Form().txtEndPage.text = "";
  ui.AnswerMsgBox(vbOK, "ページ指定印刷の終了ページは、１以上４０００以下の数値を指定して下さい。");
  auto* print = Child<QPushButton>(w, "cmndPrint");
  print->setFocus();
  Settle();
  print->click();
  Settle();
  ui.ExpectAllAnswered();
  EXPECT_EQ(end->text(), "9999");
  ASSERT_FALSE(w.isNull());
  w->close();
  Settle();
}

TEST_F(PrintWindows, PrintDialogsCloseBoxIsCancel) {
  QPointer<frmP1SetUp> w = Shown<frmP1SetUp>();
  st.PrnTypeNo = 4;  // as the set-up button leaves it
  st.PrintRunning = true;
  w->close();
  Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(st.PrnTypeNo, 1);
  EXPECT_FALSE(st.PrintRunning);
}

TEST_F(PrintWindows, SetUpDialogStoresTheSliders) {
  QPointer<frmP2SetUp> w = Shown<frmP2SetUp>();
  EXPECT_EQ(w->windowTitle(), ToQ("印刷設定"));
  auto* frame = Child<QSlider>(w, "Slider4");
  EXPECT_EQ(frame->minimum(), 0);
  EXPECT_EQ(frame->maximum(), 10);
  EXPECT_EQ(frame->value(), 2);
  frame->setValue(6);
  Child<QCheckBox>(w, "Check2")->click();
  EXPECT_FALSE(Child<QRadioButton>(w, "Option1(2)")->isEnabled());
  Child<QPushButton>(w, "cmdOK")->click();
  Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(st.FrameWidth, 6);
  EXPECT_EQ(st.CompanyNameFlag, 0);
  EXPECT_EQ(Get(EstimateIni(), "枠線スタイル", "Right"), "6");
  EXPECT_TRUE(st.SheetModified);
}

TEST_F(PrintWindows, DetailDialogsArrowsMoveTheNumberAndItsLimits) {
  QPointer<frmP3SetUp> w = Shown<frmP3SetUp>();
  EXPECT_EQ(w->windowTitle(), ToQ("印刷詳細設定"));
  EXPECT_EQ(Child<QLabel>(w, "lblMax(0)")->text(), ToQ("（最大 98）"));
  EXPECT_EQ(Child<QLabel>(w, "lblMax(2)")->text(), ToQ("（最大 4）"));
  w->SpinDown(0)->click();
  Settle();
  EXPECT_EQ(Child<QLineEdit>(w, "Text1(0)")->text(), " 95");
  EXPECT_EQ(Child<QLabel>(w, "lblMax(2)")->text(), ToQ("（最大 6）"));
  w->SpinUp(2)->click();
  Settle();
  EXPECT_EQ(Child<QLineEdit>(w, "Text1(2)")->text(), " 5");
  w->reject();  // Esc
  Settle();
  EXPECT_TRUE(w.isNull());
  EXPECT_EQ(Get(EstimateIni(), "印刷桁数", "A4縦"), "96");
}

TEST_F(PrintWindows, SpecialPrintDialogListsTheColumns) {
  st.SpecialPrintSpec = true;
  QPointer<frmOrviKen> w = Shown<frmOrviKen>();
  auto* quantity = Child<QComboBox>(w, "Combo1");
  ASSERT_EQ(quantity->count(), 2);
  EXPECT_EQ(quantity->itemText(1), ToQ("数量        "));
  Child<QPushButton>(w, "Command1(1)")->click();
  Settle();
  EXPECT_TRUE(w.isNull());
}

TEST_F(PrintWindows, Screenshot) {
  const char* out = std::getenv("KORVANE_SCREENSHOTS");
  if (!out) GTEST_SKIP() << "KORVANE_SCREENSHOTS not set";
  const std::filesystem::path folder(out);
  st.CurrentLevel = 1;
  st.CustomerVariant = true;
  st.OrviSUU = st.OrviTANKA = 2;
  auto save = [&](QWidget* w, const char* name) {
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->show();
    Settle();
    w->grab().save(QString::fromStdString((folder / name).string()));
  };
  frmP1SetUp p1(st);
  save(&p1, "frmP1SetUp.png");
  p1.Form().Option3_Click(1);
  p1.Sync();
  Settle();
  p1.grab().save(QString::fromStdString((folder / "frmP1SetUp_pages.png").string()));
  p1.Form().Option3_Click(2);
  p1.Sync();
  Settle();
  p1.grab().save(QString::fromStdString((folder / "frmP1SetUp_rows.png").string()));
  frmP2SetUp p2(st);
  save(&p2, "frmP2SetUp.png");
  frmP3SetUp p3(st);
  save(&p3, "frmP3SetUp.png");
  frmOrviKen orvi(st);
  save(&orvi, "frmOrviKen.png");
}

}  // namespace
}  // namespace kv::test
