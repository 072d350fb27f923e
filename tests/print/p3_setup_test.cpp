// The print detail dialog: the limit arithmetic on its own, the boxes and
// their up/down buttons within the limits, OK, a limits file without the
// form's page format, and the test print's files and their cleanup.
#include "print/p3_setup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "print/print_fixture.h"
#include "print/test_print.h"

namespace kv::test {
namespace {

TEST(PrintDetailLimits, FromThePageFormatAndTheSpacing) {
  const PrintDetailLimits l(100, 70, 4);
  EXPECT_EQ(l.MaxColumns(), 96);
  EXPECT_EQ(l.MaxLeftMargin(80), 32);
  EXPECT_EQ(l.MaxLines(), 65);
  EXPECT_EQ(l.MaxRows(), 32);
  EXPECT_EQ(l.MaxTopMargin(30), 10);
  EXPECT_TRUE(l.ColumnsAccepted(40));
  EXPECT_FALSE(l.ColumnsAccepted(39));
  EXPECT_FALSE(l.ColumnsAccepted(97));
  EXPECT_TRUE(l.RowsAccepted(32));
  EXPECT_FALSE(l.RowsAccepted(33));
  EXPECT_FALSE(l.RowsAccepted(0));
  // A page format missing from the limits file accepts nothing.
  const PrintDetailLimits none(-1, -1, 2);
  EXPECT_EQ(none.MaxColumns(), -3);
  EXPECT_EQ(none.MaxRows(), -3);
  EXPECT_FALSE(none.ColumnsAccepted(40));
  EXPECT_FALSE(none.RowsAccepted(1));
}

class P3SetUpTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    IniPutString("最左スペーシング", "A4縦", "4", TemplateIni());
    st.LeftSpacings[1] = 4;
    app.Write("Test Printer.INI", FileText("DAVIROV.INI"));
    IniPutString("印刷桁数", "A4縦", "80", PrinterIni());
    IniPutString("印刷件数", "A4縦", "30", PrinterIni());
    IniPutString("左マージン", "A4縦", "20", PrinterIni());
    IniPutString("上マージン", "A4縦", "8", PrinterIni());
  }
  std::unique_ptr<P3SetUpForm> Open() {
    auto form = std::make_unique<P3SetUpForm>(st, P3SetUpPort{[this] { ++unloads; }});
    form->Form_Load();
    return form;
  }
  int unloads = 0;
};

TEST_F(P3SetUpTest, OpensWithThePrintersNumbersAndTheirLimits) {
  auto f = Open();
  EXPECT_EQ(st.PrintColumns[1], 80);  // the record took the printer's numbers
  EXPECT_EQ(f->Text1[0].text, " 80");
  EXPECT_EQ(f->Text1[1].text, " 30");
  EXPECT_EQ(f->lblMax[0].caption, "（最大 96）");
  EXPECT_EQ(f->lblMax[1].caption, "（最大 32）");
  EXPECT_EQ(f->lblMax[2].caption, "（最大 32）");
  EXPECT_EQ(f->lblMax[3].caption, "（最大 10）");
  EXPECT_EQ(f->Label1[3].caption, "Test Printer");
  EXPECT_EQ(f->Label1[4].caption, "A4縦");
  EXPECT_EQ(f->Text2.text, "Ａ４縦");
}

TEST_F(P3SetUpTest, UpAndDownStayWithinTheLimitsAndMoveTheMarginLimits) {
  auto f = Open();
  f->Text1[0].text = "40";
  f->SpinButton1_SpinDown(0);
  EXPECT_EQ(f->Text1[0].text, "40");
  f->Text1[0].text = "41";
  f->SpinButton1_SpinDown(0);
  EXPECT_EQ(f->Text1[0].text, " 40");
  EXPECT_EQ(f->EditColumns(), 40);
  EXPECT_EQ(f->lblMax[2].caption, "（最大 112）");
  f->Text1[0].text = " 96";
  f->SpinButton1_SpinUp(0);
  EXPECT_EQ(f->Text1[0].text, " 96");
  f->Text1[3].text = " 10";
  f->SpinButton1_SpinUp(3);
  EXPECT_EQ(f->Text1[3].text, " 10");
  f->SpinButton1_SpinDown(3);
  EXPECT_EQ(f->EditTopMargin(), 9);
}

TEST_F(P3SetUpTest, RaisingTheColumnsLowersTheMarginBoxAndWhatTheTestPrintSends) {
  auto f = Open();
  EXPECT_EQ(f->EditLeftMargin(), 20);
  f->Text1[0].text = "90";  // left-margin limit (96 - 90) x 2 = 12
  f->Text1_LostFocus(0);
  EXPECT_EQ(f->MaxLeftMargin(), 12);
  EXPECT_EQ(f->lblMax[2].caption, "（最大 12）");
  EXPECT_EQ(f->Text1[2].text, " 12");
  EXPECT_EQ(f->EditLeftMargin(), 12);
  f->Text1[1].text = "32";  // top-margin limit (65 - 64) x 2 = 2
  f->Text1_LostFocus(1);
  EXPECT_EQ(f->Text1[3].text, " 2");
  EXPECT_EQ(f->EditTopMargin(), 2);
}

TEST_F(P3SetUpTest, LeavingABoxRefusesWhatIsOutsideItsLimits) {
  struct Case {
    int box;
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {{0, "120", " 80"}, {0, "", " 80"},  {1, "0", " 30"},
                        {2, " ", " 20"},   {3, "11", " 8"}, {2, "6", "6"}};
  for (const Case& c : cases) {
    auto f = Open();
    f->Text1[size_t(c.box)].text = c.typed;
    f->Text1_LostFocus(c.box);
    EXPECT_EQ(f->Text1[size_t(c.box)].text, c.shown) << c.box << " " << c.typed;
  }
}

TEST_F(P3SetUpTest, OkStoresTheCheckedNumbersAndTheName) {
  auto f = Open();
  f->Text1[0].text = "120";  // refused: the record's 80 stays
  f->Text1[1].text = "20";
  f->Text1[2].text = "";     // refused: the record's 20
  f->Text1[3].text = "25";   // within (65 - 40) x 2 = 50
  f->Text2.text = " 見積書 ";
  f->cmdOK_Click();
  EXPECT_EQ(unloads, 1);
  EXPECT_TRUE(st.SheetModified);
  EXPECT_EQ(st.PrintColumns[1], 80);
  EXPECT_EQ(st.PrintRows[1], 20);
  EXPECT_EQ(st.LeftMargins[1], 20);
  EXPECT_EQ(st.TopMargins[1], 25);
  EXPECT_EQ(st.PrintFormNames[1], " 見積書 ");
  for (const std::string& file : {EstimateIni(), PrinterIni(), TemplateIni()}) {
    EXPECT_EQ(Get(file, "印刷件数", "A4縦"), "20");
    EXPECT_EQ(Get(file, "上マージン", "A4縦"), "25");
    EXPECT_EQ(Get(file, "印刷名称", "A4縦"), "見積書");
  }
}

TEST_F(P3SetUpTest, AMissingPageFormatIsSaidOnceAndEverythingIsRefused) {
  st.PrnTypeNo = 7;  // B5縦: not in the limits file
  ui.AnswerMsgBox(vbOK, "用紙の制限値ファイル [ " + st.AppPath + "/MTMPRNW.INI ] に [ B5縦 ] の設定がありません。");
  auto f = Open();
  ui.ExpectAllAnswered();
  EXPECT_EQ(ui.Prompts().back().title, "印刷詳細設定");
  f->Text1[0].text = "60";
  f->Text1_LostFocus(0);
  EXPECT_EQ(f->Text1[0].text, " 80");
  f->SpinButton1_SpinUp(0);
  EXPECT_EQ(f->Text1[0].text, " 80");
}

TEST_F(P3SetUpTest, TestPrintHandsTheUnsavedNumbersAndLeavesNoSheetBehind) {
  app.Write("WORK/EST.Y$", "layout lines\r\n");
  StandIn("DOZUR3.exe", "cp MP_INFO.dat job.copy; cp KVSYSTEM.INI ini.copy; cp TESTPRN.Y1 sheet.copy; "
                        "cp TESTPRN.Y$ layout.copy");
  st.SystemKind = 1;
  st.PrnTypeNo = 5;
  IniPutString("印刷桁数", "A3縦", "120", PrinterIni());
  ui.AnswerMsgBox(vbOK);  // A3縦 is not in the limits file
  auto f = Open();
  f->cmdTestPrn_Click();
  EXPECT_FALSE(f->Unloaded());
  EXPECT_EQ(Get(st.AppPath + "/ini.copy", "印刷桁数", "A3縦"), "120");
  EXPECT_EQ(FileText("sheet.copy"), TestPrintRecord(256));
  EXPECT_EQ(FileText("layout.copy"), "layout lines\r\n");
  EXPECT_NE(FileText("job.copy").find("PRN_FORM=5\r\nPRN_LOOP=1\r\nPAGE_S=0\r\nPAGE_E=0\r\nNUMCLM_ADD = 2\r\n"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(app.path() / "TESTPRN.Y1"));
  EXPECT_FALSE(std::filesystem::exists(app.path() / "TESTPRN.Y$"));
  EXPECT_EQ(Get(EstimateIni(), "印刷桁数", "A3縦"), "136");  // the estimate's files untouched
}

TEST_F(P3SetUpTest, ATestPrintWhoseProgramCannotStartIsReportedAndCleanedUp) {
  app.Write("WORK/EST.Y$", "layout lines\r\n");
  auto f = Open();
  ui.AnswerMsgBox(vbOK, "印刷プログラム [ " + st.AppPath + "/DOZUR3.exe ] を起動できません。");
  f->cmdTestPrn_Click();
  ui.ExpectAllAnswered();
  EXPECT_FALSE(std::filesystem::exists(app.path() / "TESTPRN.Y1"));
  EXPECT_FALSE(std::filesystem::exists(app.path() / "TESTPRN.Y$"));
}

TEST(TestPrintRecord, AClosingRecordWithoutLinks) {
  const std::string r = TestPrintRecord(256);
  ASSERT_EQ(r.size(), 256u);
  EXPECT_EQ(r.substr(0, 11), "  G -99 -99");
  EXPECT_EQ(r.find_first_not_of(' ', 11), std::string::npos);
}

}  // namespace
}  // namespace kv::test
