// The installed print program on a classification master list, run as the
// master print runs it: the master beside its layout file, the job file of
// the list, KVSYSTEM.INI from the installation's settings. The PDF is read
// back with pdfinfo and pdftotext (poppler-utils): the item captions head
// every page, the records stand one a row in file order up to the last
// record, the form's rows a page, copies one after the other.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <filesystem>
#include <string>
#include <vector>

#include "classify/frm_siwa_prn.h"
#include "classify/siwake_master.h"
#include "core/ini_file.h"
#include "master_list.h"
#include "platform/codepage.h"
#include "print/job_file.h"
#include "print_failure.h"
#include "support/temp_folder.h"
#include "tools/command_output.h"

namespace kv::test {
namespace {

namespace stdfs = std::filesystem;

constexpr int kRowsPerPage = 25;  // form 1 (A4縦) of the installation's settings
const std::vector<int> kWidths{10, 40, 40, 60, 14, 14, 20};

std::string Code(int n) { return "C" + std::string(n < 10 ? "00" : "0") + std::to_string(n); }
std::string Name(int n) { return "仕訳名称" + std::to_string(n) + "番"; }

// A master of `rows` records, the last with " -99", and a stray record
// after it that is no row of the master.
std::string MasterBytes(int rows) {
  std::string bytes;
  for (int n = 1; n <= rows + 1; ++n) {
    const bool stray = n > rows;
    const std::string code = stray ? "STRAY" : Code(n);
    bytes += MasterRecordBuild(n, n < rows ? n + 1 : 0,
                               {code, ToSjis(stray ? "紛れ込み" : Name(n)), ToSjis("摘要"), "", "03-1234-5678", "", ""},
                               kWidths);
  }
  return bytes;
}

class MasterListRun : public ::testing::Test {
 protected:
  TempFolder prog;
  const stdfs::path out = prog / "out";

  void SetUp() override {
    stdfs::create_directories(out);
    for (const char* f : {"DOZUR3.exe", "KVUTL.INI", "KVSSYS.INI", "MTMPRNW.INI", "DAVIROV.INI"})
      stdfs::copy_file(stdfs::path(KORVANE_PROGRAM_DIR) / f, prog / f);
    // The settings copy as the master print makes it, with numbered pages.
    const stdfs::path settings = prog / "KVSYSTEM.INI";
    stdfs::copy_file(prog / "DAVIROV.INI", settings);
    IniPutString("Boot", "DataLen", "256", settings);
    IniPutString("PrintInformation", "PageFormat", "No.&P", settings);
    prog.Write("SIWAKE1.DAT", MasterBytes(30));
    prog.Write("SIWAKE1.DAT.Y$", MasterListLayoutText(kWidths));
  }

  void WriteJob(bool pageNumbers, int copies) {
    const std::string master = (prog / "SIWAKE1.DAT").string();
    prog.Write("MP_INFO.dat",
               MpInfoMasterListText({"TheKorvane PDF", master, master + ".Y$", pageNumbers, 1, copies}));
  }

  int Run() {
    const std::string command = "cd '" + prog.path().string() + "' && KV_PRINT_OUT='" + out.string() +
                                "' KV_PRINT_QUIET=1 QT_QPA_PLATFORM=offscreen ./DOZUR3.exe MP_INFO.DAT 2>'" +
                                (prog / "stderr.txt").string() + "'";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string Pdf() const { return (out / "SIWAKE1.pdf").string(); }
  int Pages() const {
    const std::string info = Capture("pdfinfo '" + Pdf() + "'");
    const size_t at = info.find("Pages:");
    return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
  }
  std::string Text(int page) const {
    return Capture("pdftotext -raw -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" + Pdf() + "' -");
  }
};

TEST_F(MasterListRun, CaptionsAndRowsOnTheirPagesCopyAfterCopy) {
  WriteJob(true, 2);
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  ASSERT_EQ(Pages(), 4);
  for (int page = 1; page <= 4; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    const std::string text = Text(page);
    const int sheetPage = (page - 1) % 2 + 1;
    for (const char* caption : {"ｺｰﾄﾞ", "摘", "住", "担"}) EXPECT_NE(text.find(caption), std::string::npos) << caption;
    EXPECT_NE(text.find("No." + std::to_string(sheetPage) + "\n"), std::string::npos) << text;
    for (int n = 1; n <= 30; ++n) {
      const bool here = (n - 1) / kRowsPerPage + 1 == sheetPage;
      EXPECT_EQ(text.find(Code(n) + " " + Name(n)) != std::string::npos, here) << Code(n);
    }
    EXPECT_EQ(text.find("STRAY"), std::string::npos);
  }
}

TEST_F(MasterListRun, WithoutPageNumbers) {
  WriteJob(false, 1);
  ASSERT_EQ(Run(), 0) << ReadAll(prog / "stderr.txt");
  ASSERT_EQ(Pages(), 2);
  for (int page = 1; page <= 2; ++page) EXPECT_EQ(Text(page).find("No."), std::string::npos);
}

// A layout file the list cannot use stops the print with a message naming
// it; no PDF is left.
TEST_F(MasterListRun, AnUnusableLayoutWritesNoPdf) {
  prog.Write("SIWAKE1.DAT.Y$", ToSjis("DM=1\r\nｺｰﾄﾞ\tC\t0\r\n"));
  WriteJob(true, 1);
  EXPECT_NE(Run(), 0);
  EXPECT_NE(ReadAll(prog / "stderr.txt").find((prog / "SIWAKE1.DAT.Y$").string()), std::string::npos);
  EXPECT_TRUE(stdfs::is_empty(out));
}

}  // namespace
}  // namespace kv::test

namespace kv::print_program {
namespace {

TEST(MasterListLayout, ItemsOrARefusal) {
  const std::vector<MasterListItem> items =
      ParseMasterListLayout(ToSjis("DM=1\r\nｺｰﾄﾞ\tC\t0\t10\t\t\t\r\n  名    称  \tC\t0\t40\t\t\t\r\n"), "L.Y$");
  ASSERT_EQ(items.size(), 2u);
  EXPECT_EQ(items[0].caption, ToSjis("ｺｰﾄﾞ"));
  EXPECT_EQ(items[0].width, 10);
  EXPECT_EQ(items[1].caption, ToSjis("  名    称  "));
  EXPECT_EQ(items[1].width, 40);

  const char* refused[] = {
      "",                                                // nothing
      "DM=2\r\nA\tC\t0\t10\r\n",                         // not one level
      "DM=1\r\n",                                        // no item
      "DM=1\r\nA\tC\t0\r\n",                             // no width
      "DM=1\r\nA\tC\t0\t0\r\n",                          // width 0
      "DM=1\r\nA\tC\t0\t-1\r\n",                         // a width the settings did not have
      "DM=1\r\nA\tC\t0\t200\r\nB\tC\t0\t38\r\n",         // past the record's end
  };
  for (const char* text : refused) EXPECT_THROW(ParseMasterListLayout(text, "L.Y$"), PrintFailure) << text;
  EXPECT_NO_THROW(ParseMasterListLayout("DM=1\r\nA\tC\t0\t200\r\nB\tC\t0\t37\r\n", "L.Y$"));
}

TEST(MasterListRecords, UpToTheLastRecordOrTheEnd) {
  const std::vector<int> widths{4, 6};
  const std::string r1 = MasterRecordBuild(1, 2, {"A", "a"}, widths), r2 = MasterRecordBuild(2, 0, {"B", "b"}, widths),
                    r3 = MasterRecordBuild(3, 0, {"C", "c"}, widths);
  EXPECT_EQ(MasterListRecords(r1 + r2 + r3), (std::vector<std::string>{r1, r2}));
  // Without a last record the file's end ends the list; a cut record is
  // filled with blanks.
  const std::vector<std::string> cut = MasterListRecords(r1 + r1.substr(0, 30));
  ASSERT_EQ(cut.size(), 2u);
  EXPECT_EQ(cut[1], r1.substr(0, 30) + std::string(226, ' '));
  EXPECT_TRUE(MasterListRecords("").empty());
}

TEST(MasterListPages, RowsPerPageNumbersAndCopies) {
  struct Case {
    int rows, perPage, firstNumber, copies;
    std::vector<int> numbers;             // of the pages in print order
    std::vector<int> rowsOnFirstAndLast;  // rows placed on the first and the last page
  };
  const Case cases[] = {
      {0, 25, 1, 1, {1}, {0, 0}},             // an empty master: its frame alone
      {50, 25, 1, 1, {1, 2}, {25, 25}},
      {51, 25, 3, 1, {3, 4, 5}, {25, 1}},     // numbered from the job's first number
      {30, 25, 0, 2, {0, 0, 0, 0}, {25, 5}},  // no numbers; the second copy after the first
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rows) + " rows");
    PrintJob job;
    job.firstPageNumber = c.firstNumber;
    job.copies = c.copies;
    const PrintRun run = PlanMasterList(c.rows, c.perPage, job);
    std::vector<int> numbers;
    for (const PrintPage& p : run.pages) numbers.push_back(p.number);
    EXPECT_EQ(numbers, c.numbers);
    const auto placed = [](const PrintPage& p) {
      int n = 0;
      for (const PageSlot& slot : p.places) n += slot.kind == SlotKind::Row;
      return n;
    };
    EXPECT_EQ((std::vector<int>{placed(run.pages.front()), placed(run.pages.back())}), c.rowsOnFirstAndLast);
    EXPECT_EQ(run.pages.front().totalsSheet, -1);
  }
  // Row r of the master on line (r - 1) % 25 of its page.
  const PrintRun run = PlanMasterList(30, 25, PrintJob{});
  EXPECT_EQ(run.pages[1].places[3].row, 28);
}

}  // namespace
}  // namespace kv::print_program
