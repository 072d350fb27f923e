// The installed print program DOZUR3.exe run on a three-level estimate of the
// test's own, in a program folder of the test's own, as the print job runs
// it: the PDF it writes is read back with pdfinfo and pdftotext (poppler-utils)
// and held against the page plan and the page numbers the page writer stored.
// A damaged level file stops it with a message and leaves no PDF.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "core/stored_number.h"
#include "platform/codepage.h"
#include "platform/page_no_write.h"
#include "print/job_file.h"
#include "print/test_print.h"
#include "support/temp_folder.h"
#include "tools/command_output.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

constexpr int kLen = 256;
constexpr int kRowsPerPage = 25;  // form 1 (A4縦) of the installation's settings
const std::vector<std::string> kExts{".Y1", ".Y2", ".Y3"};
const std::string kCompany = "株式会社テスト建設";

// One row: its name, amount and links.
struct Row {
  std::string name;  // display text
  long amount = 0;
  int child = kNoRecord;
  char printMark = ' ';
  char kind = ' ';
};

std::string Field(std::string text, size_t width, bool right) {
  text = ToSjis(text);
  if (text.size() < width) text = right ? std::string(width - text.size(), ' ') + text : text + std::string(width - text.size(), ' ');
  return text;
}

// A sheet's records from `first` on in its level file: its rows linked one
// after the other, then its closing record holding the total.
std::string SheetBytes(const std::vector<Row>& rows, int first, bool top) {
  std::string bytes;
  long total = 0;
  for (size_t i = 0; i <= rows.size(); ++i) {
    const bool closing = i == rows.size();
    const Row r = closing ? Row{"", total, kNoRecord, ' ', 'G'} : rows[i];
    if (!closing && r.kind == ' ') total += r.amount;
    const int own = first + static_cast<int>(i);
    std::string rec(kLen, ' ');
    rec[0] = !top && i == 0 ? '@' : ' ';
    rec[1] = r.printMark;
    rec[2] = r.kind;
    rec.replace(3, 4, StoredNumberField(own, true));
    rec.replace(7, 4, StoredNumberField(closing ? kNoRecord : own + 1, true));
    rec.replace(11, 4, StoredNumberField(r.child, true));
    std::string cols = Field(r.name, 30, false);
    if (!closing && r.kind == ' ') cols += Field("1.00", 10, true) + Field("式", 4, false) + Field(std::to_string(r.amount), 12, true);
    else cols += std::string(26, ' ');
    cols += Field(r.amount ? std::to_string(r.amount) : "", 14, true);
    rec.replace(19, cols.size(), cols);
    bytes += rec;
  }
  return bytes;
}

std::string LayoutLine(const std::string& heading, int width, const std::string& type, int decimals, const std::string& total) {
  return Field(heading, static_cast<size_t>(width), false) + "\t" + type + "\t" + std::to_string(decimals) + "\t" +
         std::to_string(width) + "\t\t" + total + "\t\t" + std::string(static_cast<size_t>(width), ' ') + "\t-------\r\n";
}

class PrintProgramRun : public ::testing::Test {
 protected:
  TempFolder prog;
  const stdfs::path work = prog / "WORK";
  const stdfs::path out = prog / "out";
  std::map<std::pair<int, int>, Row> rows;  // (level, record) -> row

  void SetUp() override {
    stdfs::create_directories(work);
    stdfs::create_directories(out);
    for (const char* f : {"DOZUR3.exe", "pixOut.exe", "KVUTL.INI", "KVSSYS.INI", "MTMPRNW.INI", "DAVIROV.INI"})
      stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / f, prog / f);
    WriteEstimate();
  }

  // Level 1: 30 rows, row 2 not printed, row 3 owning A (40 rows, two
  // pages) and row 7 owning B (3 rows) whose row 1 owns C (5 rows).
  void WriteEstimate() {
    std::vector<Row> top, a, b, c;
    for (int r = 1; r <= 30; ++r) top.push_back({"項目1-" + std::to_string(r), 1100000 + r * 101});
    top[1].printMark = 'U';
    top[1].name = "印刷しない行";
    top[2].child = 1;
    top[6].child = 42;
    for (int r = 1; r <= 40; ++r) a.push_back({"内訳A-" + std::to_string(r), 1200000 + r * 101});
    for (int r = 1; r <= 3; ++r) b.push_back({"内訳B-" + std::to_string(r), 1300000 + r * 101});
    b[0].child = 1;
    for (int r = 1; r <= 5; ++r) c.push_back({"明細C-" + std::to_string(r), 1400000 + r * 101});
    const auto keep = [&](int level, int first, const std::vector<Row>& sheet) {
      for (size_t i = 0; i < sheet.size(); ++i) rows[{level, first + static_cast<int>(i)}] = sheet[i];
    };
    keep(1, 1, top);
    keep(2, 1, a);
    keep(2, 42, b);
    keep(3, 1, c);
    prog.Write("WORK/EST.Y1", SheetBytes(top, 1, true));
    prog.Write("WORK/EST.Y2", SheetBytes(a, 1, false) + SheetBytes(b, 42, false));
    prog.Write("WORK/EST.Y3", SheetBytes(c, 1, false));
    std::string layout;
    for (int level = 1; level <= 3; ++level)
      layout += "DM=" + std::to_string(level) + "\r\n" + LayoutLine("名称", 30, "C", 0, "") + LayoutLine("数量", 10, "2", 2, "") +
                LayoutLine("単位", 4, "C", 0, "") + LayoutLine("単価", 12, "0", 0, "") + LayoutLine("金額", 14, "0", 0, "SUM");
    prog.Write("WORK/EST.Y$", layout);
    prog.Write("WORK/EST.INI", ToSjis("[Boot]\r\nCaptionColmun1=1\r\nCaptionColmun2=1\r\nZero=0\r\n[ﾒﾓ行]\r\nMAX=100\r\n"));

    std::string settings = ReadAll(prog / "DAVIROV.INI");
    const auto set = [&](const std::string& key, const std::string& value) {
      const std::string k = ToSjis(key) + "=";
      const size_t at = settings.find("\n" + k);
      ASSERT_NE(at, std::string::npos) << key;
      settings.replace(at + 1, settings.find('\r', at + 1) - at - 1, k + ToSjis(value));
    };
    set("CompanyName", kCompany);
    set("PageFormat", "No.&P");
    prog.Write("KVSYSTEM.INI", settings);
  }

  void WriteJob(int depth, int copies = 1) {
    const std::string job = "[WinPrint]\r\nPRINTER=TheKorvane PDF\r\nNUMERIC=16\r\nHEADER=OFF\r\nPRNFILE=" +
                            (work / "EST.Y1").string() + "\r\nKVTEXT=" + (work / "EST.Y$").string() +
                            "\r\nLEVEL=1\r\nPRN_REC_NO=1\r\nPRN_LEVEL=" + std::to_string(depth) +
                            "\r\nPAGE_NO=1\r\nPRN_FORM=1\r\nPRN_LOOP=" + std::to_string(copies) + "\r\nPAGE_S=0\r\nPAGE_E=0\r\nPRN_MULTILAYER=OFF\r\n";
    prog.Write("MP_INFO.dat", ToSjis(job));
  }

  // Runs the program as the print job does; its exit status.
  int Run(const std::string& program = "DOZUR3.exe") {
    const std::string command = "cd '" + prog.path().string() + "' && KV_PRINT_OUT='" + out.string() +
                                "' KV_PRINT_QUIET=1 QT_QPA_PLATFORM=offscreen ./" + program + " MP_INFO.DAT 2>'" +
                                (prog / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::vector<std::string> OutFiles() const {
    std::vector<std::string> names;
    for (const auto& e : stdfs::directory_iterator(out)) names.push_back(e.path().filename().string());
    return names;
  }
};

std::string Text(const std::string& pdf, int page) {
  return Capture("pdftotext -raw -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + pdf + "' -");
}

std::string Amount(long n) {
  std::string s = std::to_string(n);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<size_t>(i), ",");
  return s;
}

TEST_F(PrintProgramRun, PagesOfThePlanWithTheStoredNumbers) {
  ASSERT_EQ(PageNoWrite2(work / "EST", prog.path(), kLen, "16", kRowsPerPage, kExts), 4);
  WriteJob(2);
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  ASSERT_EQ(OutFiles(), std::vector<std::string>{"EST.pdf"});  // no temporary file left
  const std::string pdf = (out / "EST.pdf").string();

  const PagePlan plan = PagePlanOfFiles(work / "EST", kExts, {kLen, true, kRowsPerPage, false});
  ASSERT_EQ(plan.pageCount, 6);
  const std::string info = Capture("pdfinfo '" + pdf + "'");
  ASSERT_NE(info, "") << "pdfinfo (poppler-utils) must be installed";
  EXPECT_NE(info.find("Pages:           6\n"), std::string::npos) << info;

  std::vector<std::string> pages(7);
  for (int p = 1; p <= 6; ++p) {
    pages[size_t(p)] = Text(pdf, p);
    EXPECT_NE(pages[size_t(p)].find("No." + std::to_string(p) + "\n"), std::string::npos) << "page " << p;
    EXPECT_NE(pages[size_t(p)].find(kCompany), std::string::npos) << "page " << p;
  }
  // Every printed row on the page of the plan, with its amount; the
  // non-print row nowhere.
  for (const PagePlanSheet& s : plan.sheets)
    for (const PagePlanRow& r : s.rows) {
      const Row& row = rows.at({s.level, r.record});
      const std::string& page = pages[size_t(r.page)];
      if (row.printMark == 'U') {
        for (const std::string& any : pages) EXPECT_EQ(any.find(row.name), std::string::npos);
        continue;
      }
      EXPECT_NE(page.find(row.name + " "), std::string::npos) << row.name << " on page " << r.page;
      EXPECT_NE(page.find(Amount(row.amount)), std::string::npos) << row.name << " on page " << r.page;
    }
  // The level-1 pages break where the editor draws its page lines: after
  // every 25th row.
  EXPECT_NE(pages[1].find("項目1-25 "), std::string::npos);
  EXPECT_NE(pages[2].find("項目1-26 "), std::string::npos);
  // Each sheet's first page carries the number the page writer stored in its
  // first row.
  for (const PagePlanSheet& s : plan.sheets) {
    const std::string file = ReadAll(work / ("EST" + kExts[size_t(s.level - 1)]));
    const std::string field = file.substr(size_t(s.rows.front().record - 1) * kLen + 15, 4);
    const int stored = BaseStrToNum(field.substr(0, 3), field[3] == 'h');
    ASSERT_GE(stored, 1) << field;
    ASSERT_LE(stored, 6);
    EXPECT_EQ(stored, s.firstPage);
    const std::string& page = pages[size_t(stored)];
    EXPECT_NE(page.find(rows.at({s.level, s.rows.front().record}).name + " "), std::string::npos);
    EXPECT_NE(page.find("No." + std::to_string(stored) + "\n"), std::string::npos);
  }
  // The breakdown's title is the heading of its row; the top sheet's the
  // estimate's name.
  EXPECT_NE(pages[1].find("EST"), std::string::npos);
  EXPECT_NE(pages[6].find(":内訳B-1"), std::string::npos);
}

// Fewer levels print fewer pages and keep the numbers of those they leave out.
TEST_F(PrintProgramRun, FewerLevelsKeepTheNumbers) {
  WriteJob(1);
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  const std::string pdf = (out / "EST.pdf").string();
  EXPECT_NE(Capture("pdfinfo '" + pdf + "'").find("Pages:           5\n"), std::string::npos);
  EXPECT_NE(Text(pdf, 5).find("No.5\n"), std::string::npos);  // B, page 5; C (page 6) left out
  EXPECT_NE(Text(pdf, 5).find("内訳B-1 "), std::string::npos);
}

// A loop in a level file: the program says which file, ends with a non-zero
// status, and writes no PDF.
TEST_F(PrintProgramRun, DamagedFileWritesNoPdf) {
  std::string level3 = ReadAll(work / "EST.Y3");
  level3.replace(size_t(3) * kLen + 7, 4, StoredNumberField(1, true));  // C: record 4 back to record 1
  prog.Write("WORK/EST.Y3", level3);
  WriteJob(2);
  EXPECT_NE(Run(), 0);
  const std::string err = ReadAll(prog / "stderr.txt");
  EXPECT_NE(err.find((work / "EST.Y3").string()), std::string::npos) << err;
  EXPECT_TRUE(OutFiles().empty());
}

// A print stopped while it writes its PDF (the user ends the program, or
// the session closes) leaves no file behind.
TEST_F(PrintProgramRun, StoppedWhileWritingLeavesNoFile) {
  WriteJob(2, 400);  // long enough to be stopped half-way
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    if (::chdir(prog.path().c_str()) == 0) {
      ::setenv("KV_PRINT_OUT", out.c_str(), 1);
      ::setenv("KV_PRINT_QUIET", "1", 1);
      ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
      ::execl("./DOZUR3.exe", "DOZUR3.exe", "MP_INFO.DAT", static_cast<char*>(nullptr));
    }
    ::_exit(127);
  }
  bool writing = false;
  for (int i = 0; i < 12000 && !writing; ++i) {
    for (const std::string& name : OutFiles()) writing = writing || name.rfind(".EST.pdf.", 0) == 0;
    if (!writing) ::usleep(5000);
  }
  ::kill(pid, SIGTERM);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(writing) << "the program never began its PDF";
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_NE(WEXITSTATUS(status), 0);
  EXPECT_TRUE(OutFiles().empty());
}

// The detail dialog's test print: an empty sheet whose one record has no
// number of its own prints one page with the captions, the totals line and
// the page number.
TEST_F(PrintProgramRun, TestPrintOfAnEmptySheet) {
  prog.Write("TESTPRN.Y1", TestPrintRecord(kLen));
  stdfs::copy_file(work / "EST.Y$", prog / "TESTPRN.Y$");
  prog.Write("MP_INFO.dat", MpInfoTestText({"TheKorvane PDF", prog.path().string(), 1, 2}));
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  const std::string pdf = (out / "TESTPRN.pdf").string();
  EXPECT_NE(Capture("pdfinfo '" + pdf + "'").find("Pages:           1\n"), std::string::npos);
  const std::string text = Text(pdf, 1);
  EXPECT_NE(text.find("名称 数量 単位 単価 金額"), std::string::npos) << text;
  EXPECT_NE(text.find("No.1\n"), std::string::npos) << text;
}

// The pictures of a sheet's object file are printed when the image program
// prepared them for this job, and not by a later job it did not prepare.
TEST_F(PrintProgramRun, PicturesOnlyForTheJobTheImageProgramPrepared) {
  const std::string png("\x89\x50\x4E\x47\x0D\x0A\x1A\x0A\x00\x00\x00\x0D\x49\x48\x44\x52\x00\x00\x00\x01\x00\x00\x00\x01\x08"
                        "\x06\x00\x00\x00\x1F\x15\xC4\x89\x00\x00\x00\x0D\x49\x44\x41\x54\x78\xDA\x63\x64\xF8\xCF\x50\x0F\x00"
                        "\x03\x86\x01\x80\x5A\x34\x7D\x6B\x00\x00\x00\x00\x49\x45\x4E\x44\xAE\x42\x60\x82",
                        70);
  // One picture over rows 4-6 of level 1 (page 1), in object file 3.
  std::string mod = std::string("$$4DO-SHEET$$", 13) + std::string(1, '\0') + std::string("\x01\x00", 2);
  for (int v : {1, 4, 2, 6, 0, 0, 1000, 800, 1}) mod.append(reinterpret_cast<const char*>(&v), 4);
  mod.append(6, '\0');
  const int size = static_cast<int>(png.size());
  mod.append(reinterpret_cast<const char*>(&size), 4);
  prog.Write("WORK/EST$3.MOD", mod + png);
  std::string level1 = ReadAll(work / "EST.Y1");
  level1.replace(size_t(30) * kLen + 15, 4, "   3");  // the closing record names the object file
  prog.Write("WORK/EST.Y1", level1);
  WriteJob(0);

  const auto images = [&] { return Capture("pdfimages -list '" + (out / "EST.pdf").string() + "'"); };
  const auto imageLines = [](const std::string& list) {
    int n = 0;
    for (size_t at = list.find("\n   1 "); at != std::string::npos; at = list.find("\n   1 ", at + 1)) ++n;
    return n;
  };
  ASSERT_EQ(Run("pixOut.exe"), 0) << ReadAll(prog / "stderr.txt");
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  EXPECT_GE(imageLines(images()), 1) << images();
  EXPECT_FALSE(stdfs::exists(prog / "PIXOUT"));

  ASSERT_EQ(Run("pixOut.exe"), 0);
  WriteJob(0);  // the next job, without the image program
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  EXPECT_EQ(imageLines(images()), 0) << images();
  EXPECT_FALSE(stdfs::exists(prog / "PIXOUT"));
}

}  // namespace
}  // namespace kv::test
