// The print job file of the print dialog, of the test print and of the
// classification master list: the whole text for each profile (print modes,
// options, system kind, footer, special form), Shift-JIS with CR LF.
#include "print/job_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/codepage.h"
#include "print/print_fixture.h"

namespace kv::test {
namespace {

std::string Replaced(std::string text, const std::string& app) {
  for (size_t at; (at = text.find("<app>")) != std::string::npos;) text.replace(at, 5, app);
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

class JobFileTest : public PrintFixture {
 protected:
  void SetUp() override {
    PrintFixture::SetUp();
    st.CompanyNameFlag = 0;
    st.KoujiNameFlag = 0;
  }
};

TEST_F(JobFileTest, PrintDialogProfiles) {
  struct Case {
    const char* name;
    std::function<void(PrintJobInputs&)> set;
    const char* text;
  };
  const Case cases[] = {
      {"level print from level 1, decimal, no options, no company name",
       [](PrintJobInputs&) {},
       "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=10\nHEADER=OFF\nPRNFILE=<app>/WORK/EST.Y1\n"
       "KVTEXT=<app>/WORK/EST.Y$\nLEVEL=1\nPRN_REC_NO=1\nPRN_LEVEL=0\nPAGE_NO=1\nPRN_FORM=1\nPRN_LOOP=1\n"
       "PAGE_S=0\nPAGE_E=0\nPRN_MULTILAYER=OFF\nPRN_COMPNAME=OFF\n"},
      {"page range from level 3: level 1, every level, page 1; continuous print disabled",
       [this](PrintJobInputs& in) {
         st.H_Link = "16";
         st.CurrentLevel = 3;
         st.CompanyNameFlag = -1;
         in.mode = 1;
         in.startPage = " 3 ";
         in.endPage = "9";
         in.firstPage = "7";
         in.option2Enabled = false;
         in.option2 = true;
       },
       "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=16\nHEADER=OFF\nPRNFILE=<app>/WORK/EST.Y1\n"
       "KVTEXT=<app>/WORK/EST.Y$\nLEVEL=1\nPRN_REC_NO=1\nPRN_LEVEL=2\nPAGE_NO=1\nPRN_FORM=1\nPRN_LOOP=1\n"
       "PAGE_S=3\nPAGE_E=9\nPRN_MULTILAYER=OFF\n"},
      {"level print on level 3 of a hexadecimal estimate, continuous, footer, continuous form, special form",
       [this](PrintJobInputs& in) {
         st.H_Link = "16";
         st.CurrentLevel = 3;
         st.ParentRows[2] = std::string(11, ' ') + "  1A" + std::string(241, ' ');
         st.KoujiNameFlag = -1;
         st.KoujiNamePos = "中";
         st.SpecialPrintSpec = true;
         st.OrviKenPrn = 1;
         app.Write("WORK/EST.YT", ToSjis("東京本社ビル新築工事  ") + std::string(1, '\0') + "junk" +
                                      std::string(200, ' '));
         in.firstPage = " 12 ";
         in.depth = 1;
         in.form = 6;
         in.copies = 3;
         in.option2Enabled = in.option2 = true;
       },
       "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=16\nHEADER=OFF\nPRNFILE=<app>/WORK/EST.Y1\n"
       "KVTEXT=<app>/WORK/EST.Y$\nLEVEL=3\nPRN_REC_NO=26\nPRN_LEVEL=1\nPAGE_NO=12\nPRN_FORM=6\nPRN_LOOP=3\n"
       "PAGE_S=0\nPAGE_E=0\nPRN_KEISEN=OFF\nPRN_MULTILAYER=ON\nFOOTER_TTL=:東京本社ビル新築工事:\nFOOTER_POS=中\n"
       "PRN_COMPNAME=OFF\nORKN_PRN=ON\n"},
      {"row range, equipment edition, form 5, non-print levels ignored, no page numbers",
       [this](PrintJobInputs& in) {
         st.SystemKind = 1;
         st.CurrentLevel = 2;
         st.ParentRows[1] = std::string(11, ' ') + "   7" + std::string(241, ' ');
         st.CompanyNameFlag = -1;
         in.mode = 2;
         in.rowFrom = "5";
         in.rowTo = " 12";
         in.pageNumbers = false;
         in.firstPage = "3";
         in.depth = 1;
         in.form = 5;
         in.option1Enabled = in.option1 = true;
       },
       "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=10\nHEADER=OFF\nPRNFILE=<app>/WORK/EST.Y1\n"
       "KVTEXT=<app>/WORK/EST.Y$\nLEVEL=2\nPRN_REC_NO=7\nPRN_LEVEL=1\nPAGE_NO=0\nPRN_FORM=5\nPRN_LOOP=1\n"
       "PAGE_S=0\nPAGE_E=0\nNUMCLM_ADD = 2\nPRN_UNDERLAYER=ON\nPRN_RENGE_S=5\nPRN_RENGE_E=12\nPRN_MULTILAYER=OFF\n"},
      {"equipment edition, another form, every level, blank project name; the customer variant changes nothing",
       [this](PrintJobInputs& in) {
         st.SystemKind = 1;
         st.CustomerVariant = true;
         st.KoujiNameFlag = -1;
         app.Write("WORK/EST.YT", std::string(2000, ' '));
         in.allLevels = true;
         in.form = 2;
         in.option3 = true;
       },
       "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=10\nHEADER=OFF\nPRNFILE=<app>/WORK/EST.Y1\n"
       "KVTEXT=<app>/WORK/EST.Y$\nLEVEL=1\nPRN_REC_NO=1\nPRN_LEVEL=2\nPAGE_NO=1\nPRN_FORM=2\nPRN_LOOP=1\n"
       "PAGE_S=0\nPAGE_E=0\nPRN_UNDERLAYER=OFF\nPRN_MULTILAYER=OFF\nFOOTER_TTL=::\nFOOTER_POS=左\n"
       "PRN_COMPNAME=OFF\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    st.H_Link = "10";
    st.CurrentLevel = 1;
    st.SystemKind = 2;
    st.CustomerVariant = st.SpecialPrintSpec = false;
    st.OrviKenPrn = 0;
    st.CompanyNameFlag = st.KoujiNameFlag = 0;
    st.KoujiNamePos = "左";
    std::filesystem::remove(app.path() / "WORK/EST.YT");
    PrintJobInputs in;
    in.firstPage = "1";
    c.set(in);
    EXPECT_EQ(FromSjis(MpInfoText(PrintJobFileOf(st, in))), Replaced(c.text, st.AppPath));
  }
}

TEST_F(JobFileTest, TheFileIsShiftJisWithCrLf) {
  PrintJobInputs in;
  in.firstPage = "1";
  st.CurrentPrinterName = "事務所プリンタ";
  const std::string bytes = MpInfoText(PrintJobFileOf(st, in));
  EXPECT_NE(bytes.find(ToSjis("PRINTER=事務所プリンタ\r\n")), std::string::npos);
  EXPECT_EQ(bytes.find("\n\n"), std::string::npos);
}

TEST_F(JobFileTest, TestPrintProfile) {
  const std::string head =
      "[WinPrint]\nPRINTER=Test Printer\nNUMERIC=16\nHEADER=OFF\nPRNFILE=<app>/TESTPRN.Y1\nKVTEXT=<app>/TESTPRN.Y$\n"
      "LEVEL=1\nPRN_REC_NO=1\nPRN_LEVEL=0\nPAGE_NO=1\n";
  EXPECT_EQ(MpInfoTestText({"Test Printer", st.AppPath, 5, 1}),
            Replaced(head + "PRN_FORM=5\nPRN_LOOP=1\nPAGE_S=0\nPAGE_E=0\nNUMCLM_ADD = 2\n", st.AppPath));
  EXPECT_EQ(MpInfoTestText({"Test Printer", st.AppPath, 5, 2}),
            Replaced(head + "PRN_FORM=5\nPRN_LOOP=1\nPAGE_S=0\nPAGE_E=0\n", st.AppPath));
  EXPECT_EQ(MpInfoTestText({"Test Printer", st.AppPath, 3, 1}),
            Replaced(head + "PRN_FORM=3\nPRN_LOOP=1\nPAGE_S=0\nPAGE_E=0\n", st.AppPath));
}

TEST_F(JobFileTest, MasterListProfile) {
  const std::string head = "[WinPrint]\nPRINTER=事務所プリンタ\nNUMERIC=10\nHEADER=OFF\nPRNFILE=<app>/仕訳 1.DAT\n"
                           "KVTEXT=<app>/仕訳 1.DAT.Y$\nLEVEL=1\nPRN_REC_NO=1\nPRN_LEVEL=0\n";
  const std::string tail = "PAGE_S=0\nPAGE_E=0\nPRN_MASTLIST=ON\n";
  const std::string master = st.AppPath + "/仕訳 1.DAT";
  EXPECT_EQ(MpInfoMasterListText({"事務所プリンタ", master, master + ".Y$", true, 1, 1}),
            ToSjis(Replaced(head + "PAGE_NO=1\nPRN_FORM=1\nPRN_LOOP=1\n" + tail, st.AppPath)));
  EXPECT_EQ(MpInfoMasterListText({"事務所プリンタ", master, master + ".Y$", false, 3, 10}),
            ToSjis(Replaced(head + "PAGE_NO=0\nPRN_FORM=3\nPRN_LOOP=10\n" + tail, st.AppPath)));
}

}  // namespace
}  // namespace kv::test
