// The print set-up dialog's form: what each action leaves in the record,
// the three settings files, the current printer and the modified flag;
// printer names matched exactly; the page numbers following the form once
// the dialog closes.
#include "print/p2_setup.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "editor/page_numbers.h"
#include "print/file_write_order.h"
#include "print/p3_setup.h"
#include "print/print_fixture.h"

namespace kv::test {
namespace {

class P2SetUpTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    ui.printers = {"Test Printer", "[Lab] #2"};
    app.Write("[Lab] #2.INI", PrintSettingsText("ラボ"));
    IniPutString("印刷件数", "A4縦", "44", LabIni());
    IniPutString("枠線スタイル", "Top", "6", LabIni());
  }
  std::string LabIni() const { return st.AppPath + "/[Lab] #2.INI"; }
  std::unique_ptr<P2SetUpForm> Open() {
    auto form = std::make_unique<P2SetUpForm>(st, P2SetUpPort{[this] { ++unloads; }});
    form->Form_Load();
    form->Form_Activate();
    return form;
  }
  int unloads = 0;
};

TEST_F(P2SetUpTest, EachActionLeavesRecordFilesPrinterAndModifiedFlag) {
  struct Case {
    const char* action;
    std::function<void(P2SetUpForm&)> act;
    int frameWidth;           // record afterwards
    std::string fileFrame;    // [枠線スタイル] Top in E, P and T ("2": unchanged)
    int rowsOfForm1;          // record
    const char* printer;
    bool modified;
    int unloads;
  };
  const Case cases[] = {
      {"printer change", [](P2SetUpForm& f) { f.cobPrinter_Click(1); }, 2, "2", 44, "[Lab] #2", false, 0},
      {"詳細設定",
       [this](P2SetUpForm& f) {
         f.Slider4 = 5;
         ui.AnswerModal("frmP3SetUp");
         f.cmdSet_Click();
         EXPECT_EQ(f.BackupTaken(), -1);
         EXPECT_EQ(st.MPrintInfoBackup.FrameWidth, 2);
       },
       5, "5", 2, "Test Printer", false, 0},
      {"OK",
       [](P2SetUpForm& f) {
         f.Slider4 = 7;
         f.cmdOK_Click();
       },
       7, "7", 2, "Test Printer", true, 1},
      {"Cancel after 詳細設定, the detail dialog's rows kept",
       [this](P2SetUpForm& f) {
         f.Slider4 = 5;
         ui.AnswerModal("frmP3SetUp", [this] {
           P3SetUpForm d(st);
           d.Form_Load();
           d.Text1[kDetailRows].text = "30";
           d.cmdOK_Click();
         });
         f.cmdSet_Click();
         st.SheetModified = false;  // what the detail dialog's OK set
         f.cmdCancel_Click();
       },
       2, "2", 30, "Test Printer", false, 1},
      {"Cancel",
       [](P2SetUpForm& f) {
         f.Slider4 = 9;
         f.cmdCancel_Click();
       },
       2, "2", 2, "Test Printer", false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.action);
    app.Write("DAVIROV.INI", PrintSettingsText());
    app.Write("WORK/EST.INI", PrintSettingsText());
    app.Write("Test Printer.INI", PrintSettingsText());
    LoadRecord();
    st.CurrentPrinterName = "Test Printer";
    st.SheetModified = false;
    unloads = 0;
    auto f = Open();
    c.act(*f);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.FrameWidth, c.frameWidth);
    for (const std::string& file : {EstimateIni(), PrinterIni(), TemplateIni()})
      EXPECT_EQ(Get(file, "枠線スタイル", "Top"), c.fileFrame) << file;
    EXPECT_EQ(st.PrintRows[1], c.rowsOfForm1);
    EXPECT_EQ(st.CurrentPrinterName, c.printer);
    EXPECT_EQ(st.SheetModified, c.modified);
    EXPECT_EQ(unloads, c.unloads);
  }
}

TEST_F(P2SetUpTest, CancelWithoutTheDetailDialogWritesNothing) {
  auto f = Open();
  f->cobPaperType.index = 3;
  f->Check2.value = 0;
  FileWriteOrder order({st.AppPath, st.AppPath + "/WORK"});
  f->cmdCancel_Click();
  EXPECT_TRUE(order.Renamed().empty());
  EXPECT_EQ(st.PrnTypeNo, 1);
}

TEST_F(P2SetUpTest, TheCurrentPrinterFurtherDownIsFoundByItsExactNameAndReloaded) {
  ui.printers = {"Test Printer", "[Lab] #1", "[Lab] #2"};
  st.CurrentPrinterName = "[Lab] #2";
  st.FrameWidth = 0;
  auto f = Open();
  EXPECT_EQ(f->cobPrinter.index, 2);
  EXPECT_EQ(f->AppliedPrinterIndex(), 2);
  EXPECT_EQ(st.CurrentPrinterName, "[Lab] #2");
  EXPECT_EQ(st.PrintRows[1], 44);
  EXPECT_EQ(f->Slider4, 2);  // the estimate's line widths, read again
  EXPECT_EQ(f->cobPaperType.items[0], "A4縦     44行 (Ａ４縦)");

  // The first printer current: nothing is reloaded.
  st.CurrentPrinterName = "Test Printer";
  st.PrintRows[1] = 9;
  f = Open();
  EXPECT_EQ(st.PrintRows[1], 9);
}

TEST_F(P2SetUpTest, ControlsShowTheRecordAndOkStoresThem) {
  st.CompanyNameFlag = 1;  // not -1: not printed
  st.NamePosition = "";
  st.KoujiNameFlag = -1;
  st.KoujiNamePos = "中";
  st.ItemUnderlineWidth = -1;  // outside the sliders' range
  st.Sp999w = 12;
  auto f = Open();
  EXPECT_EQ(f->Check2.value, 0);
  EXPECT_FALSE(f->Option1[0].enabled);
  EXPECT_FALSE(f->Label2.enabled);
  for (const FormCheck& o : f->Option1) EXPECT_EQ(o.value, 0);
  EXPECT_EQ(f->Option3[1].value, 1);
  EXPECT_TRUE(f->Option3[1].enabled);
  EXPECT_EQ(f->Slider2, kLineWidthMin);
  EXPECT_EQ(f->Slider1, kLineWidthMax);
  f->Text1.text = "  第&P頁 ";
  f->Check1.value = 0;
  f->Check1_Click();
  EXPECT_FALSE(f->Option3[1].enabled);
  EXPECT_EQ(f->Option3[1].value, 1);
  f->cmdOK_Click();
  EXPECT_EQ(st.CompanyNameFlag, 0);
  EXPECT_EQ(st.NamePosition, "右");
  EXPECT_EQ(st.KoujiNameFlag, 0);
  EXPECT_EQ(st.KoujiNamePos, "中");
  EXPECT_EQ(st.PageFormat, "第&P頁");
  EXPECT_EQ(Get(TemplateIni(), "PrintInformation", "PageFormat"), "第&P頁");
  EXPECT_EQ(Get(EstimateIni(), "枠線スタイル", "Sp999w"), "10");
}

TEST_F(P2SetUpTest, OkWithAnotherFormRenumbersThePages) {
  ThreeRowsEstimate();
  PageNumbersWrite(st);
  ASSERT_EQ(ReadLevel(2).at(0).substr(15, 4), "  4P");
  auto f = Open();
  f->cmdOK_Click();  // no change: no renumbering
  EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  4P");
  f = Open();
  f->cobPaperType.index = 1;
  f->cmdOK_Click();
  EXPECT_EQ(ReadLevel(2).at(0).substr(15, 4), "  3P");
  EXPECT_EQ(Get(EstimateIni(), "印刷タイプ", "PrnTypeNo"), "2");
}

}  // namespace
}  // namespace kv::test
