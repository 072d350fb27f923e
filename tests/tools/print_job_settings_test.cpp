// What the print program reads of its job file, of the settings copy and of
// the page formats, and the page-number text.
#include <gtest/gtest.h>

#include "job_file.h"
#include "print/job_file.h"
#include "platform/codepage.h"
#include "print_failure.h"
#include "print_settings.h"
#include "support/temp_folder.h"

namespace kv::print_program {
namespace {

// The job file the print dialog writes for a level print, then optional keys.
std::string JobText(const std::string& more) {
  return ToSjis(
      "[WinPrint]\r\nPRINTER=TheKorvane PDF\r\nNUMERIC=10\r\nHEADER=OFF\r\nPRNFILE=/p/WORK/見積.Y1\r\nKVTEXT=/p/WORK/見積.Y$\r\n"
      "LEVEL=2\r\nPRN_REC_NO=12\r\nPRN_LEVEL=1\r\nPAGE_NO=7\r\nPRN_FORM=3\r\nPRN_LOOP=2\r\nPAGE_S=0\r\nPAGE_E=0\r\n" +
      more + "PRN_MULTILAYER=OFF\r\n");
}

TEST(PrintJobFile, KeysAndOptionalLines) {
  const PrintJob plain = ParsePrintJob(JobText(""), "MP_INFO.dat");
  EXPECT_EQ(plain.printer, "TheKorvane PDF");
  EXPECT_FALSE(plain.hex);
  EXPECT_EQ(plain.dataFile, "/p/WORK/見積.Y1");
  EXPECT_EQ(plain.layoutFile, "/p/WORK/見積.Y$");
  EXPECT_EQ(plain.level, 2);
  EXPECT_EQ(plain.firstRecord, 12);
  EXPECT_EQ(plain.depth, 1);
  EXPECT_EQ(plain.firstPageNumber, 7);
  EXPECT_EQ(plain.form, 3);
  EXPECT_EQ(plain.copies, 2);
  EXPECT_TRUE(plain.ruledLines);
  EXPECT_TRUE(plain.companyName);
  EXPECT_EQ(plain.numericAdd, 0);
  EXPECT_EQ(plain.rowFrom, 0);

  const PrintJob full = ParsePrintJob(
      JobText("PRN_KEISEN=OFF\r\nNUMCLM_ADD = 2\r\nPRN_UNDERLAYER=ON\r\nPRN_RENGE_S=5\r\nPRN_RENGE_E=12\r\n"
              "FOOTER_TTL=:本社改修:\r\nFOOTER_POS=中\r\nPRN_COMPNAME=OFF\r\nORKN_PRN=ON\r\nPRN_MASTLIST=ON\r\n"),
      "MP_INFO.dat");
  EXPECT_FALSE(full.ruledLines);
  EXPECT_EQ(full.numericAdd, 2);
  EXPECT_TRUE(full.ignoreLevelMarks);
  EXPECT_EQ(full.rowFrom, 5);
  EXPECT_EQ(full.rowTo, 12);
  EXPECT_EQ(full.footerTitle, ":本社改修:");
  EXPECT_EQ(full.footerPosition, "中");
  EXPECT_FALSE(full.companyName);
  EXPECT_TRUE(full.leaveOutX);
}

// What the editor's job writer writes, the print program reads back.
TEST(PrintJobFile, ReadsWhatTheEditorWrites) {
  kv::PrintJobFile written;
  written.printer = "Office Laser";
  written.hexNumbers = true;
  written.prnFile = "/p/WORK/見積.Y1";
  written.kvText = "/p/WORK/見積.Y$";
  written.level = 3;
  written.recNo = 44;
  written.prnLevel = 2;
  written.pageNo = "9";
  written.form = 5;
  written.copies = 3;
  written.formName = "連続用紙";
  written.systemKind = 1;
  written.option1 = true;
  written.rowRange = true;
  written.rowFrom = "4";
  written.rowTo = "17";
  written.multiLayer = true;
  written.footerTitle = ":工事:";
  written.footerPos = "右";
  written.companyName = false;
  written.specialForm = true;
  const PrintJob job = ParsePrintJob(MpInfoText(written), "MP_INFO.dat");
  EXPECT_EQ(job.printer, "Office Laser");
  EXPECT_TRUE(job.hex);
  EXPECT_EQ(job.dataFile, written.prnFile);
  EXPECT_EQ(job.layoutFile, written.kvText);
  EXPECT_EQ(job.level, 3);
  EXPECT_EQ(job.firstRecord, 44);
  EXPECT_EQ(job.depth, 2);
  EXPECT_EQ(job.firstPageNumber, 9);
  EXPECT_EQ(job.form, 5);
  EXPECT_EQ(job.copies, 3);
  EXPECT_FALSE(job.ruledLines);
  EXPECT_EQ(job.numericAdd, 2);
  EXPECT_TRUE(job.ignoreLevelMarks);
  EXPECT_EQ(job.rowFrom, 4);
  EXPECT_EQ(job.rowTo, 17);
  EXPECT_TRUE(job.continuous);
  EXPECT_EQ(job.footerTitle, ":工事:");
  EXPECT_EQ(job.footerPosition, "右");
  EXPECT_FALSE(job.companyName);
  EXPECT_TRUE(job.leaveOutX);
}

TEST(PrintJobFile, Refusals) {
  for (const std::string& bad : {std::string("[Other]\r\nPRNFILE=a\r\n"), ToSjis("[WinPrint]\r\nKVTEXT=a.Y$\r\n"),
                                 JobText("").replace(JobText("").find("LEVEL=2"), 7, "LEVEL=9"),
                                 JobText("").replace(JobText("").find("PRN_FORM=3"), 10, "PRN_FORM=x")}) {
    SCOPED_TRACE(bad);
    EXPECT_THROW(ParsePrintJob(bad, "MP_INFO.dat"), PrintFailure);
  }
}

TEST(PrintSettings, FormPageFormatAndRefusals) {
  test::TempFolder folder;
  const auto settings = folder.Write("KVSYSTEM.INI", ToSjis(
      "[印刷書式]\r\n1=A4縦\r\n2=狭い\r\n3=行なし\r\n4=枠なし\r\n[印刷桁数]\r\nA4縦=96\r\n狭い=120\r\n行なし=96\r\n枠なし=96\r\n"
      "[印刷件数]\r\nA4縦=25\r\n狭い=40\r\n行なし=-1\r\n枠なし=25\r\n[左マージン]\r\nA4縦=4\r\n狭い=4\r\n"
      "[上マージン]\r\nA4縦=4\r\n狭い=4\r\n[最左スペーシング]\r\nA4縦=2\r\n狭い=2\r\n"
      "[ページフォーマット]\r\nA4縦=A4縦\r\n狭い=A4縦\r\n行なし=A4縦\r\n枠なし=B9\r\n"));
  const auto formats = folder.Write("MTMPRNW.INI", ToSjis("[A4縦]\r\n桁=104\r\n行=60\r\n用紙=A4\r\n向き=縦\r\n"));

  const PageForm a4 = ReadPageForm(settings, formats, 1);
  EXPECT_EQ(a4.name, "A4縦");
  EXPECT_EQ(a4.gridColumns, 104);
  EXPECT_EQ(a4.gridLines, 60);
  EXPECT_EQ(a4.paper, "A4");
  EXPECT_FALSE(a4.landscape);
  // Columns and rows beyond the page format: the grid grows so that all fits.
  const PageForm narrow = ReadPageForm(settings, formats, 2);
  EXPECT_EQ(narrow.gridColumns, 2 + 2 + 120);
  EXPECT_EQ(narrow.gridLines, 2 + 2 * 40 + kPageExtraLines);

  const struct {
    int form;
    const char* message;
  } refusals[] = {
      {3, "用紙タイプ [ 行なし ] の印刷件数が設定されていないため、印刷できません。"},
      {4, "] に [ B9 ] の設定がありません。"},
      {5, "用紙タイプ 5 が印刷設定"},
  };
  for (const auto& r : refusals) {
    try {
      ReadPageForm(settings, formats, r.form);
      ADD_FAILURE() << r.form;
    } catch (const PrintFailure& f) {
      EXPECT_NE(std::string(f.what()).find(r.message), std::string::npos) << f.what();
    }
  }
}

TEST(PrintSettings, PageNumberText) {
  EXPECT_EQ(PageNumberText("No.&P", 12), "No.12");
  EXPECT_EQ(PageNumberText("", 12), "12");
  EXPECT_EQ(PageNumberText("- &P -", 3), "- 3 -");
  EXPECT_EQ(PageNumberText("頁", 3), "頁");
}

}  // namespace
}  // namespace kv::print_program
