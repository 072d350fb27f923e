// The print dialog's form: the mode switches and the depth options, the
// corrections made when a box is left, the refusals of the print button,
// the options by edition, the printer change, and Cancel or the close box
// after the set-up button (form, settings and page numbers agree again).
#include "print/p1_setup.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/page_numbers.h"
#include "editor/print_prep.h"
#include "print/print_fixture.h"

namespace kv::test {
namespace {

class P1SetUpTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    st.LevelCount = 5;
    st.UsedRows = 20;
    st.PrintRowFrom = 1;
    st.PrintRowTo = 20;
    st.PrintRequest = "1";
  }
  // The dialog as it opens.
  std::unique_ptr<P1SetUpForm> Open() {
    auto form = std::make_unique<P1SetUpForm>(st, P1SetUpPort{[this] { ++unloads; }});
    form->Form_Load();
    form->Form_Activate();
    return form;
  }
  static std::vector<std::string> Shown(const P1SetUpForm& f) {
    std::vector<std::string> out;
    for (const FormCheck& o : f.Option2)
      if (o.visible) out.push_back(o.caption + (o.value ? "*" : ""));
    return out;
  }
  int unloads = 0;
};

TEST_F(P1SetUpTest, DepthOptionsFollowTheLevelAndTheModes) {
  st.CurrentLevel = 3;
  auto f = Open();
  EXPECT_EQ(Shown(*f), (std::vector<std::string>{"現在の階層*", "4階層まで", "5階層まで"}));
  EXPECT_EQ(f->Option1[1].value, 1);
  EXPECT_TRUE(f->fraLayer.enabled);
  f->Option2_Click(2);
  EXPECT_EQ(f->PrintLevelDepth(), 2);

  // Row range keeps the depth, the level options are disabled.
  f->Option3_Click(2);
  EXPECT_EQ(f->PrintLevelDepth(), 2);
  EXPECT_FALSE(f->Option1[0].enabled);
  EXPECT_TRUE(f->FraHani.visible);
  EXPECT_FALSE(f->Check2.enabled);
  f->Option3_Click(0);
  EXPECT_EQ(f->PrintLevelDepth(), 2);
  EXPECT_TRUE(f->Check2.enabled);
  EXPECT_FALSE(f->FraHani.visible);

  // Page range, then level print again: back to the current level.
  f->Option3_Click(1);
  EXPECT_FALSE(f->fraPrintStyle.visible);
  EXPECT_TRUE(f->fraPageSet.visible);
  EXPECT_FALSE(f->txtPage.enabled);
  EXPECT_EQ(f->Focus, "txtStartPage");
  EXPECT_EQ(st.PrintRangeMode, 1);
  f->Option3_Click(0);
  EXPECT_EQ(f->PrintLevelDepth(), 0);
  EXPECT_EQ(Shown(*f), (std::vector<std::string>{"現在の階層*", "4階層まで", "5階層まで"}));
  EXPECT_EQ(f->Focus, "Option1(1)");
  EXPECT_TRUE(f->txtPage.enabled);

  // All levels disables every depth option.
  f->Option1_Click(0);
  EXPECT_FALSE(f->fraLayer.enabled);
  for (const FormCheck& o : f->Option2) EXPECT_FALSE(o.enabled);
  EXPECT_TRUE(f->JobInputs().allLevels);
}

TEST_F(P1SetUpTest, OpensInTheModeAndRangeThePrintCommandSet) {
  st.PrintRangeMode = 2;
  st.PrintRowFrom = 5;
  st.PrintRowTo = 12;
  st.PrintRequest = "7";
  auto f = Open();
  EXPECT_EQ(f->Option3[2].value, 1);
  EXPECT_EQ(f->TextHani[0].text, "5");
  EXPECT_EQ(f->TextHani[1].text, "12");
  EXPECT_EQ(f->txtPage.text, "7");
  EXPECT_EQ(f->txtStartPage.text, "7");
  EXPECT_EQ(f->Combo1.items.front(), " 1");
  EXPECT_EQ(f->Combo1.items.back(), "10");
  EXPECT_EQ(f->cobPType.items[0], "A4縦      2行 (Ａ４縦)");
  EXPECT_EQ(f->cobPrinterName.Selected(), "Test Printer");
  EXPECT_EQ(f->txtKaisyaName.text, "本社");
  EXPECT_EQ(f->ActivatedPrnTypeNo(), 1);
}

TEST_F(P1SetUpTest, LeavingABoxCorrectsIt) {
  struct Case {
    const char* name;
    int mode;
    FormText P1SetUpForm::*box;
    int hani;  // TextHani index, or -1
    const char* typed;
    const char* shown;
  };
  const Case cases[] = {
      {"first row empty", 2, nullptr, 0, " ", "1"},
      {"first row 0", 2, nullptr, 0, "0", "1"},
      {"first row kept", 2, nullptr, 0, "3", "3"},
      {"last row above the used rows", 2, nullptr, 1, "25", "20"},
      {"last row empty", 2, nullptr, 1, "", "20"},
      {"last row 0 stays (refused by the print button)", 2, nullptr, 1, "0", "0"},
      {"start page empty", 1, &P1SetUpForm::txtStartPage, -1, "", "1"},
      {"start page 0", 1, &P1SetUpForm::txtStartPage, -1, "0", "1"},
      {"end page empty", 1, &P1SetUpForm::txtEndPage, -1, "", "9999"},
      {"end page negative", 1, &P1SetUpForm::txtEndPage, -1, "-3", "9999"},
  };
  for (const Case& c : cases) {
    st.PrintRangeMode = c.mode;
    auto f = Open();
    FormText& box = c.hani >= 0 ? f->TextHani[size_t(c.hani)] : (*f).*c.box;
    box.text = c.typed;
    if (c.hani >= 0)
      f->TextHani_LostFocus(c.hani);
    else if (c.box == &P1SetUpForm::txtStartPage)
      f->txtStartPage_LostFocus();
    else
      f->txtEndPage_LostFocus();
    EXPECT_EQ(box.text, c.shown) << c.name;
  }
  // In page range mode the start page is the first page number too.
  st.PrintRangeMode = 1;
  auto f = Open();
  f->txtStartPage.text = "8";
  f->txtStartPage_LostFocus();
  EXPECT_EQ(f->txtPage.text, "8");
}

TEST_F(P1SetUpTest, ThePrintButtonRefusesWhatCannotBePrinted) {
  struct Case {
    int mode;
    const char* start;
    const char* end;
    const char* from;
    const char* to;
    const char* page;
    int rowsOfForm;
    const char* message;
  };
  const Case cases[] = {
      {1, "0", "10", "", "", "1", 2, "ページ指定印刷の開始ページは、１以上４０００以下の数値を指定して下さい。"},
      {1, "1", "4001", "", "", "1", 2, "ページ指定印刷の終了ページは、１以上４０００以下の数値を指定して下さい。"},
      {1, "5", "4", "", "", "1", 2, "ページ指定印刷の開始ページ終了ページに誤りがあります"},
      {2, "1", "1", "6", "5", "1", 2, "範囲指定印刷の開始行数、終了行数に誤りがあります"},
      {2, "1", "1", "1", "21", "1", 2, "範囲指定印刷の終了行数は印刷する見積データの最終行以下の数値にして下さい"},
      {0, "1", "1", "1", "1", "abc", 2, "ページ番号の初期値は、１以上４０００以下の数値を指定して下さい。"},
      {2, "1", "1", "1", "2", "4001", 2, "ページ番号の初期値は、１以上４０００以下の数値を指定して下さい。"},
      {0, "1", "1", "1", "1", "1", 0, "用紙タイプ [ A4縦 ] の印刷件数が設定されていないため、印刷できません。"},
  };
  for (const Case& c : cases) {
    st.PrintRangeMode = c.mode;
    auto f = Open();
    f->txtStartPage.text = c.start;
    f->txtEndPage.text = c.end;
    f->TextHani[0].text = c.from;
    f->TextHani[1].text = c.to;
    f->txtPage.text = c.page;
    st.PrintRows[1] = c.rowsOfForm;
    ui.AnswerMsgBox(vbOK, c.message);
    f->cmndPrint_Click();
    ui.ExpectAllAnswered();
    EXPECT_EQ(ui.Prompts().back().title, "印刷");
    EXPECT_EQ(ui.Prompts().back().style, vbOKOnly | vbExclamation);
    EXPECT_FALSE(f->Unloaded()) << c.message;
    st.PrintRows[1] = 2;
  }
}

TEST_F(P1SetUpTest, ABoxStillBeingEditedIsCorrectedBeforeTheChecks) {
  st.PrintRangeMode = 1;
  auto f = Open();
  KeyTextBox box{"4000"};
  f->txtEndPage_GotFocus(box);
  EXPECT_EQ(box.selLength, 4);
  f->txtEndPage.text = "";  // emptied, then the print button
  ui.AnswerMsgBox(vbOK, "ページ指定印刷の終了ページは、１以上４０００以下の数値を指定して下さい。");
  f->cmndPrint_Click();
  ui.ExpectAllAnswered();
  EXPECT_EQ(f->txtEndPage.text, "9999");
}

TEST_F(P1SetUpTest, OptionsByEdition) {
  auto f = Open();
  EXPECT_EQ(f->Check1.caption, "挿入されているオブジェクトを印刷する");
  EXPECT_EQ(f->Check1.value, 1);
  EXPECT_FALSE(f->Check1.enabled);  // the estimate holds no inserted objects
  EXPECT_FALSE(f->Check3.visible);

  IniPutString("OLE", "OleFileCnt", "2", EstimateIni());
  st.CustomerVariant = true;
  f = Open();
  EXPECT_TRUE(f->Check1.enabled);
  EXPECT_TRUE(f->Check3.visible);
  EXPECT_TRUE(f->Check3.enabled);

  st.SystemKind = 1;
  st.PrintRangeMode = 1;
  f = Open();
  EXPECT_EQ(f->Check1.caption, "非印刷階層行を無視する");
  EXPECT_EQ(f->Check1.value, 0);
  EXPECT_FALSE(f->Check1.enabled);
  f->Option3_Click(0);
  EXPECT_TRUE(f->Check1.enabled);
}

TEST_F(P1SetUpTest, AnotherPrinterBringsItsOwnForms) {
  ui.printers = {"Test Printer", "Lab#2"};
  auto f = Open();
  app.Write("Lab#2.INI", PrintSettingsText("ラボ"));
  IniPutString("印刷件数", "A4縦", "44", st.AppPath + "/Lab#2.INI");
  f->cobPType.index = 3;
  f->cobPrinterName_Click(1);
  EXPECT_EQ(st.CurrentPrinterName, "Lab#2");
  EXPECT_EQ(st.PrintRows[1], 44);
  EXPECT_EQ(f->cobPType.items[0], "A4縦     44行 (Ａ４縦)");
  EXPECT_EQ(f->cobPType.index, 0);
  EXPECT_EQ(f->SelectedPrinterIndex(), 1);
}

// The set-up button writes the page numbers for a form it does not save;
// Cancel and the close box return to the stored form, and the page numbers
// follow it again.
TEST_F(P1SetUpTest, CancelAndTheCloseBoxReturnToTheStoredFormAndItsPageNumbers) {
  ThreeRowsEstimate();
  for (int mode : {kUnloadByCode, kUnloadByCloseBox}) {
    PageNumbersWrite(st);
    ASSERT_EQ(ReadLevel(2).at(0).substr(15, 4), "  4P");
    auto f = Open();
    f->cobPType.index = 1;  // 3 rows a page
    const std::string name = "新社名" + std::to_string(mode);
    f->txtKaisyaName.text = name;
    ui.AnswerModal("frmP2SetUp");
    f->cmndPropaty_Click();
    EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  3P");
    EXPECT_EQ(f->ActivatedPrnTypeNo(), 2);
    EXPECT_TRUE(st.SheetModified);  // the new company name is in the estimate's settings
    EXPECT_EQ(Get(EstimateIni(), "PrintInformation", "CompanyName"), name);
    st.PrintRunning = true;
    if (mode == kUnloadByCode)
      f->cmndEnd_Click();
    else
      f->Form_QueryUnload(kUnloadByCloseBox);
    EXPECT_EQ(st.PrnTypeNo, 1);
    EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  4P");
    EXPECT_FALSE(st.PrintRunning);
    EXPECT_EQ(unloads, mode == kUnloadByCode ? 1 : 0);
    unloads = 0;
    st.SheetModified = false;
  }
}

TEST_F(P1SetUpTest, ThePrintCommandShowsTheDialogAndItsPrintRunsTheJob) {
  StandIn("DOZUR3.exe", "cp MP_INFO.dat job.copy");
  ThreeRowsEstimate();
  PageNumbersWrite(st);
  st.SheetRows[1] = ReadLevel(1).at(0);
  for (int r = 2; r <= 5; ++r) SetRow(r, "T" + std::to_string(r));
  ui.AnswerModal("frmP1SetUp", [this] {
    P1SetUpForm f(st, {[this] { ++unloads; }});
    f.Form_Load();
    f.Form_Activate();
    f.Option1_Click(0);
    f.Combo1_Click(1);
    f.cmndPrint_Click();
  });
  ASSERT_TRUE(PrintRun(st));
  ui.ExpectAllAnswered();
  EXPECT_EQ(unloads, 1);
  const std::string job = FromSjis(FileText("job.copy"));
  EXPECT_NE(job.find("PRN_LEVEL=4\r\nPAGE_NO=1\r\nPRN_FORM=1\r\nPRN_LOOP=2\r\n"), std::string::npos) << job;
}

}  // namespace
}  // namespace kv::test
