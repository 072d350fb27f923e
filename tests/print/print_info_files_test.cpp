// The print-information record and its three settings files: which writer
// puts which key into which file in which order (watched as the files are
// replaced), and what ReadPrintInfo takes from where.
#include "print/print_info_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "print/file_write_order.h"
#include "print/p3_setup.h"
#include "print/print_fixture.h"
#include "print/print_forms.h"
#include "print/print_job.h"

namespace kv::test {
namespace {

class PrintInfoFilesTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    PrinterIniEnsure(st);
    StandIn("DOZUR3.exe", "true");
  }
  // The settings files written, by role: E the estimate's, P the printer's,
  // T DAVIROV.INI (other files left out).
  static std::vector<std::string> Roles(const std::vector<std::string>& names) {
    std::vector<std::string> roles;
    for (const std::string& n : names) {
      if (n == "EST.INI") roles.push_back("E");
      if (n == "Test Printer.INI") roles.push_back("P");
      if (n == "DAVIROV.INI") roles.push_back("T");
    }
    return roles;
  }
  std::string File(char role) const {
    return role == 'E' ? EstimateIni() : role == 'P' ? PrinterIni() : TemplateIni();
  }
};

std::vector<std::string> Times(int n, const std::vector<std::string>& pattern) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.insert(out.end(), pattern.begin(), pattern.end());
  return out;
}

struct Expect {
  std::string files;  // roles that hold the value afterwards ("EPT")
  std::string section, key, value;
};

TEST_F(PrintInfoFilesTest, WritersPutTheirKeysIntoTheirFilesInTheirOrder) {
  struct Case {
    const char* writer;
    std::function<void()> act;
    std::vector<std::string> order;
    std::vector<Expect> values;
  };
  const std::vector<Case> cases = {
      {"SavePrintType",
       [&] {
         st.PrnTypeNo = 3;
         SavePrintType(st);
       },
       {"E", "P", "T"},
       {{"EPT", "印刷タイプ", "PrnTypeNo", "3"}}},
      {"MPrintInfoWrite",
       [&] {
         st.PrnTypeNo = 4;
         st.CompanyNameFlag = 0;
         st.NamePosition = "中";
         st.KoujiNameFlag = -1;
         st.KoujiNamePos = "右";
         st.ItemUnderlineWidth = 5;
         st.TotalOverlineWidth = 6;
         st.Sp999w = 7;
         st.FrameWidth = 3;
         st.PageFormat = "P-&P";
         st.CompanyName = "not written";
         st.PrnPageNoFlag = 0;
         MPrintInfoWrite(st);
       },
       Times(13, {"E", "P", "T"}),
       {{"EPT", "印刷タイプ", "PrnTypeNo", "4"},
        {"EPT", "PrintInformation", "CompanyNameFlag", "0"},
        {"EPT", "PrintInformation", "NamePosition", "中"},
        {"EPT", "PrintInformation", "KoujiNameFlag", "-1"},
        {"EPT", "PrintInformation", "KoujiNamePos", "右"},
        {"EPT", "枠線スタイル", "項目欄下線幅", "5"},
        {"EPT", "枠線スタイル", "合計行上線幅", "6"},
        {"EPT", "枠線スタイル", "Sp999w", "7"},
        {"EPT", "枠線スタイル", "Top", "3"},
        {"EPT", "枠線スタイル", "Bottom", "3"},
        {"EPT", "枠線スタイル", "Left", "3"},
        {"EPT", "枠線スタイル", "Right", "3"},
        {"EPT", "PrintInformation", "PageFormat", "P-&P"},
        {"EPT", "PrintInformation", "CompanyName", "本社"},
        {"EPT", "PrintInformation", "PrnPageNoFlag", "-1"}}},
      {"detail dialog OK",
       [&] {
         P3SetUpForm form(st);
         form.FormInit();
         form.Text1[0].text = "90";
         form.Text1[1].text = "30";
         form.Text1[2].text = "6";
         form.Text1[3].text = "2";
         form.Text2.text = " 見積用 ";
         form.cmdOK_Click();
       },
       {"E", "E", "E", "E", "E", "P", "P", "P", "P", "P", "T", "T", "T", "T", "T"},
       {{"EPT", "印刷桁数", "A4縦", "90"},
        {"EPT", "印刷件数", "A4縦", "30"},
        {"EPT", "左マージン", "A4縦", "6"},
        {"EPT", "上マージン", "A4縦", "2"},
        {"EPT", "印刷名称", "A4縦", "見積用"}}},
      {"print job: form, page-number flag, company name",
       [&] {
         PrintJobInputs in;
         in.form = 2;
         in.pageNumbers = false;
         in.firstPage = "1";
         in.companyName = "支店";
         in.activatedCompanyName = "本社";
         PrintJob(st, in, {});
       },
       {"P", "E", "T", "T", "P", "E", "T"},
       {{"EPT", "印刷タイプ", "PrnTypeNo", "2"},
        {"T", "PrintInformation", "PrnPageNoFlag", "0"},
        {"EP", "PrintInformation", "PrnPageNoFlag", "-1"},
        {"EPT", "PrintInformation", "CompanyName", "支店"}}},
      {"print job: nothing changed but the page-number flag",
       [&] {
         PrintJobInputs in;
         in.form = 1;
         in.pageNumbers = false;
         in.firstPage = "1";
         in.companyName = "本社";
         in.activatedCompanyName = "本社";
         PrintJob(st, in, {});
       },
       {"T"},
       {{"EPT", "印刷タイプ", "PrnTypeNo", "1"}, {"T", "PrintInformation", "PrnPageNoFlag", "0"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.writer);
    app.Write("DAVIROV.INI", PrintSettingsText());
    app.Write("WORK/EST.INI", PrintSettingsText());
    app.Write("Test Printer.INI", PrintSettingsText());
    LoadRecord();
    FileWriteOrder order({st.AppPath, st.AppPath + "/WORK"});
    c.act();
    EXPECT_EQ(Roles(order.Renamed()), c.order);
    for (const Expect& e : c.values)
      for (char role : e.files) EXPECT_EQ(Get(File(role), e.section, e.key), e.value) << role << " " << e.key;
  }
}

TEST_F(PrintInfoFilesTest, ReadPrintInfoTakesTheLinesFromTheEstimateAndTheFormsFromThePrinter) {
  IniPutString("PrintInformation", "CompanyName", "見積会社", EstimateIni());
  IniPutString("枠線スタイル", "Top", "4", EstimateIni());
  IniPutString("PrintInformation", "CompanyName", "プリンタ会社", PrinterIni());
  IniPutString("印刷件数", "A4縦", "40", PrinterIni());
  IniPutString("印刷件数", "A4縦", "41", EstimateIni());
  IniPutString("印刷書式", "2", "", PrinterIni());
  st.PrnTypeNo = 5;
  st.KoujiNameFlag = -1;
  ReadPrintInfo(st);
  EXPECT_EQ(st.CompanyName, "見積会社");
  EXPECT_EQ(st.FrameWidth, 4);
  EXPECT_EQ(st.PrintRows[1], 40);
  EXPECT_EQ(st.PrintFormSections[2], "");  // a form without a name reads as missing
  EXPECT_EQ(st.PrintRows[2], -1);
  EXPECT_EQ(st.PrintFormNames[2], "");
  EXPECT_EQ(st.PrnTypeNo, 5);
  EXPECT_EQ(st.KoujiNameFlag, -1);

  // Untitled: the lines come from the printer's file as well.
  st.WorkFileBase = st.AppPath + "/WORK/無題";
  ReadPrintInfo(st);
  EXPECT_EQ(st.CompanyName, "プリンタ会社");
  EXPECT_EQ(st.FrameWidth, 2);
}

TEST_F(PrintInfoFilesTest, ANewPrinterGetsACopyOfTheTemplate) {
  st.CurrentPrinterName = "\\\\srv\\Lab/2";
  ReadPrintInfo(st);
  const std::filesystem::path made = app.path() / "$$srv$Lab-2.INI";
  ASSERT_TRUE(std::filesystem::exists(made));
  EXPECT_EQ(FileText("$$srv$Lab-2.INI"), FileText("DAVIROV.INI"));
  EXPECT_EQ(st.PrintRows[2], 3);
}

TEST_F(PrintInfoFilesTest, BackupRestoresItsTenFieldsOnly) {
  MPrintInfoSave(st);
  st.PrnTypeNo = 6;
  st.NamePosition = "左";
  st.FrameWidth = 9;
  st.PageFormat = "x";
  st.CompanyName = "kept";
  st.PrintRows[1] = 77;
  MPrintInfoMotoni(st);
  EXPECT_EQ(st.PrnTypeNo, 1);
  EXPECT_EQ(st.NamePosition, "右");
  EXPECT_EQ(st.FrameWidth, 2);
  EXPECT_EQ(st.PageFormat, "No.&P");
  EXPECT_EQ(st.CompanyName, "kept");
  EXPECT_EQ(st.PrintRows[1], 77);
}

}  // namespace
}  // namespace kv::test
