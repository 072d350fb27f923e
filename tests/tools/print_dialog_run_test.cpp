// The sample estimate opened as the program opens it and printed as a user
// prints it: File > 印刷設定 sets the page-number format "No.&P" and, in the
// detail dialog, six rows a page; File > 印刷 chooses "TheKorvane PDF", the
// level print from level 1 with all levels, page numbers and a company name,
// and the print button runs the job with the installed DOZUR3.exe beside a
// program folder of the test's own. The PDF is read back with pdfinfo and
// pdftotext (poppler-utils): the pages of the plan, every printed row with
// its amount on its page, the page number and the company name on every page,
// each sheet's first page numbered as its first row stores it, and the
// level-1 sheet broken where the editor draws its page lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/settings_text.h"
#include "core/stored_number.h"
#include "editor/level_estimate.h"
#include "editor/print_prep.h"
#include "platform/grid/grid_metrics.h"
#include "platform/grid/grid_model.h"
#include "platform/page_no_write.h"
#include "print/p1_setup.h"
#include "print/p2_setup.h"
#include "print/p3_setup.h"
#include "sheet/sheet_engine.h"
#include "sheet/sheet_painting.h"
#include "storage/file_command_fixture.h"
#include "storage/file_open.h"
#include "storage/row_record.h"
#include "tools/command_output.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

constexpr int kRowsPerPage = 6;
const std::string kCompany = "株式会社サンプル建設";

// An environment variable set for the test's lifetime.
struct ScopedEnv {
  std::string name;
  ScopedEnv(std::string n, const std::string& value) : name(std::move(n)) { ::setenv(name.c_str(), value.c_str(), 1); }
  ~ScopedEnv() { ::unsetenv(name.c_str()); }
};

std::string Trimmed(const std::string& s) { return std::string(TrimBlanks(s)); }

// Digits with their thousands separators, as the sheet shows an amount.
std::string Grouped(std::string digits) {
  for (int i = static_cast<int>(digits.size()) - 3; i > 0; i -= 3) digits.insert(static_cast<size_t>(i), ",");
  return digits;
}

TEST(PrintDialogRun, TheSampleEstimateThroughTheDialogsAndTheJobIntoAPdf) {
  const stdfs::path sample = stdfs::path(KORVANE_PROGRAM_DIR) / "DATA" / "サンプル見積.YZH";
  ASSERT_TRUE(stdfs::exists(sample));
  TempFolder shared;
  stdfs::create_directories(shared.path() / "DATA");
  const stdfs::path file = shared.path() / "DATA" / "サンプル見積.YZH";
  stdfs::copy_file(sample, file);
  const stdfs::path out = shared.path() / "out";
  stdfs::create_directories(out);

  Program p("MACHINE-A");
  ProgramState& st = p.st;
  ScriptedUi& ui = p.ui;
  ASSERT_TRUE(stdfs::exists(stdfs::path(st.AppPath) / "DOZUR3.exe"));
  ui.printers = {"Test Printer", std::string(kPdfPrinterName)};
  UiGridFontMetrics metrics{ui};
  GridModel grid;
  grid.SetFontMetrics(&metrics);
  SheetEngine engine{grid, nullptr};
  st.sheetEngine = &engine;
  ui.AnswerOpenDialog(file.string());
  FileOpen(st);
  ASSERT_EQ(st.CurrentFilePath, file.string());
  ASSERT_EQ(st.CurrentLevel, 1);
  ASSERT_GE(st.LevelCount, 3);

  // 印刷設定 on the PDF printer: the page-number format, then six rows a
  // page in the detail dialog.
  ui.AnswerModal("frmP2SetUp", [&] {
    P2SetUpForm f(st);
    f.Form_Load();
    f.Form_Activate();
    const auto& names = f.cobPrinter.items;
    const auto pdf = std::find(names.begin(), names.end(), std::string(kPdfPrinterName));
    ASSERT_NE(pdf, names.end());
    f.cobPrinter_Click(static_cast<int>(pdf - names.begin()));
    f.Text1.text = "No.&P";
    ui.AnswerModal("frmP3SetUp", [&] {
      P3SetUpForm d(st);
      d.Form_Load();
      d.Form_Activate();
      d.Text1[kDetailRows].text = std::to_string(kRowsPerPage);
      d.cmdOK_Click();
    });
    f.cmdSet_Click();
    f.cmdOK_Click();
    EXPECT_TRUE(f.Unloaded());
  });
  ASSERT_TRUE(PrintSetUpRun(st));
  ASSERT_EQ(st.CurrentPrinterName, kPdfPrinterName);
  ASSERT_EQ(st.PrintRows[size_t(st.PrnTypeNo)], kRowsPerPage);

  // 印刷: the estimate is saved first (the set-up changed it), then the
  // dialog prints.
  const ScopedEnv target("KV_PRINT_OUT", out.string());
  const ScopedEnv quiet("KV_PRINT_QUIET", "1");
  ui.AnswerMsgBox(vbOK, "編集中のﾌｧｲﾙを保存後に印刷をします");
  bool printed = false;
  ui.AnswerModal("frmP1SetUp", [&] {
    P1SetUpForm f(st);
    f.Form_Load();
    f.Form_Activate();
    EXPECT_EQ(f.cobPrinterName.Selected(), kPdfPrinterName);
    f.Option3_Click(0);
    f.Option1_Click(0);
    f.chkPageFlag.value = 1;
    f.txtKaisyaName.text = kCompany;
    f.cmndPrint_Click();
    printed = f.Unloaded();
  });
  ASSERT_TRUE(PrintRun(st));
  ui.ExpectAllAnswered();
  ASSERT_TRUE(printed);
  EXPECT_FALSE(st.PrintRunning);

  std::vector<std::string> pdfs;
  for (const auto& e : stdfs::directory_iterator(out)) pdfs.push_back(e.path().filename().string());
  ASSERT_EQ(pdfs.size(), 1u) << "the PDF alone, no temporary file";
  const std::string pdf = (out / pdfs.front()).string();
  EXPECT_EQ(pdfs.front(), stdfs::path(st.WorkFileBase).stem().string() + ".pdf");

  std::vector<std::string> exts;
  for (int l = 1; l <= st.LevelCount; ++l) exts.push_back(st.LevelExt[size_t(l)]);
  const PagePlan plan =
      PagePlanOfFiles(st.WorkFileBase, exts, {st.DataLen, IsHexBase(st.H_Link), kRowsPerPage, false});
  ASSERT_GE(plan.pageCount, 4);
  const std::string info = Capture("pdfinfo '" + pdf + "'");
  ASSERT_NE(info, "") << "pdfinfo (poppler-utils) must be installed";
  const size_t pagesAt = info.find("\nPages:");
  ASSERT_NE(pagesAt, std::string::npos) << info;
  EXPECT_EQ(std::atoi(info.c_str() + pagesAt + 7), plan.pageCount) << info;
  std::vector<std::string> pages(size_t(plan.pageCount) + 1);
  for (int n = 1; n <= plan.pageCount; ++n) {
    pages[size_t(n)] = Capture("pdftotext -raw -f " + std::to_string(n) + " -l " + std::to_string(n) + " '" + pdf + "' -");
    EXPECT_NE(pages[size_t(n)].find("No." + std::to_string(n) + "\n"), std::string::npos) << "page " << n;
    EXPECT_NE(pages[size_t(n)].find(kCompany), std::string::npos) << "page " << n;
  }

  // Every item row on the page of the plan with its name and amount.
  int checked = 0;
  for (const PagePlanSheet& s : plan.sheets) {
    const std::string bytes = ReadAll(st.WorkFileBase + st.LevelExt[size_t(s.level)]);
    const auto record = [&](int n) { return bytes.substr(size_t(n - 1) * size_t(st.DataLen), size_t(st.DataLen)); };
    for (const PagePlanRow& r : s.rows) {
      const std::string rec = record(r.record);
      if (rec[kKindPos - 1] != kKindItem) continue;
      const std::string name = Trimmed(FieldText(st, rec, kLayoutName, s.level));
      const std::string amount = Trimmed(FieldText(st, rec, kLayoutAmount, s.level));
      if (name.empty()) continue;
      ++checked;
      const std::string& page = pages[size_t(r.page)];
      EXPECT_NE(page.find(name), std::string::npos) << name << " on page " << r.page;
      if (!amount.empty()) {
        EXPECT_NE(page.find(Grouped(amount)), std::string::npos) << name << " on page " << r.page;
      }
    }
    // The number printed on the sheet's first page is the one its first row stores.
    const std::string first = record(s.rows.front().record);
    const int stored = std::stoi(PrintRequestOf(first));
    EXPECT_EQ(stored, s.firstPage) << "sheet of level " << s.level << " at record " << s.firstRecord << " ["
                                   << first.substr(0, 19) << "] rows " << s.rows.size() << " first row "
                                   << s.rows.front().record;
    EXPECT_NE(pages[size_t(stored)].find("No." + std::to_string(stored) + "\n"), std::string::npos);
  }
  EXPECT_GE(checked, 40);

  // The level-1 sheet's pages break under the rows the editor marks.
  ASSERT_EQ(st.CurrentLevel, 1);
  PageLinesDraw(st, grid);
  const PagePlanSheet& top = plan.sheets.front();
  ASSERT_EQ(top.level, 1);
  ASSERT_GT(top.pageCount, 1);
  for (size_t i = 0; i + 1 < top.rows.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    EXPECT_EQ(grid.PageBreak(row), top.rows[i + 1].page != top.rows[i].page) << "row " << row;
  }
}

}  // namespace
}  // namespace kv::test
