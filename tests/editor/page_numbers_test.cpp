// Refreshing the page numbers of the open estimate: when it is done at all
// (untitled, the estimate file's folder missing, read-only or on a network),
// which numbering runs (the special print form or the plain one), the busy
// pointer around it, and the status bar's page panel showing what was
// written once the sheet is read back.
#include "editor/page_numbers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "platform/fs.h"
#include "sheet/status_bar.h"
#include "storage/disk_space.h"
#include "storage/level_fixture.h"
#include "storage/level_read.h"

namespace kv::test {
namespace {

class PageNumbersTest : public LevelFixture {
 protected:
  // Level 1: rows 1..5 and a closing record; row 1 owns a breakdown of three
  // rows, row 3 is marked "x". Two rows a page.
  void SetUp() override {
    LevelFixture::SetUp();
    std::filesystem::create_directories(app.path() / "DATA");
    Estimate("EST");
    st.PrnTypeNo = 1;
    st.PrintRows[1] = 2;
  }
  void Estimate(const std::string& name) {
    WriteLevel(1, {{' ', 0, 2, 1, "T1"}, {' ', 0, 3, kNoRecord, "T2"}, {' ', 0, 4, kNoRecord, "T3", 'x'},
                   {' ', 0, 5, kNoRecord, "T4"}, {' ', 0, 6, kNoRecord, "T5"}, {'G', 0, kNoRecord}},
               name);
    WriteLevel(2, {{' ', 0, 2, kNoRecord, "B1", '@'}, {' ', 0, 3, kNoRecord, "B2"}, {' ', 0, 4, kNoRecord, "B3"},
                   {'G', 0, kNoRecord}},
               name);
  }
  std::string Field(int level, const std::string& base = "EST") const {
    return ReadLevel(level, base).at(0).substr(15, 4);
  }
  static DiskProbe Probe(std::optional<fs::DriveKind> kind) {
    DiskProbe probe = SystemDiskProbe();
    if (kind) probe.kind = [k = *kind](const std::filesystem::path&) { return k; };
    return probe;
  }
};

struct GateCase {
  const char* name;
  std::string work;                     // work name
  std::string estimateFolder;           // folder of CurrentFilePath under the program folder
  std::optional<fs::DriveKind> kind;    // the file system's kind (none: as it is)
  bool special;
  int orvi;
  std::string top, breakdown;  // fields afterwards ("" : untouched)
};

TEST_F(PageNumbersTest, WhenAndHowTheNumbersAreWritten) {
  const GateCase cases[] = {
      {"named estimate on a local disk", "EST", "DATA", std::nullopt, false, 0, "  1P", "  4P"},
      {"network file system", "EST", "DATA", fs::DriveKind::Remote, false, 0, "  1P", "  4P"},
      {"untitled", "無題", "DATA", std::nullopt, false, 0, "", ""},
      {"estimate folder missing", "EST", "GONE", std::nullopt, false, 0, "", ""},
      {"read-only file system", "EST", "DATA", fs::DriveKind::CdRom, false, 0, "", ""},
      {"no root", "EST", "DATA", fs::DriveKind::NoRoot, false, 0, "", ""},
      // The special form leaves row 3 ("x") out: the top sheet takes two pages, not three.
      {"special print form chosen", "EST", "DATA", std::nullopt, true, 1, "  1P", "  3P"},
      {"special print, plain form chosen", "EST", "DATA", std::nullopt, true, 0, "  1P", "  4P"},
      {"special form without the special print option", "EST", "DATA", std::nullopt, false, 1, "  1P", "  4P"},
  };
  for (const GateCase& c : cases) {
    SCOPED_TRACE(c.name);
    ScriptedUi caseUi;
    ProgramState s{caseUi};
    Estimate(c.work);
    const std::string top = Field(1, c.work), below = Field(2, c.work);
    s.AppPath = st.AppPath;
    s.WorkFileBase = st.AppPath + "/WORK/" + c.work;
    s.CurrentFilePath = st.AppPath + "/" + c.estimateFolder + "/" + c.work + ".YZH";
    s.DataLen = st.DataLen;
    s.H_Link = st.H_Link;
    s.LevelCount = 3;
    s.LevelExt = st.LevelExt;
    s.PrnTypeNo = 1;
    s.PrintRows[1] = 2;
    s.SpecialPrintSpec = c.special;
    s.OrviKenPrn = c.orvi;

    PageNumbersWrite(s, Probe(c.kind));

    const bool written = !c.top.empty();
    EXPECT_EQ(Field(1, c.work), written ? c.top : top);
    EXPECT_EQ(Field(2, c.work), written ? c.breakdown : below);
    EXPECT_EQ(caseUi.BusyOnCount(), written ? 1 : 0);
    EXPECT_FALSE(caseUi.Busy());
  }
}

// The status bar's page panel counts from the number written into the
// sheet's first row once the sheet is read back: the top sheet's rows 1-2
// on page 1, 3-4 on page 2, 5 on page 3; the breakdown starts on page 4.
TEST_F(PageNumbersTest, StatusBarShowsTheNumbersWritten) {
  PageNumbersWrite(st);

  st.CurrentLevel = 1;
  ASSERT_TRUE(LevelRowsRead(st, 1));
  EXPECT_EQ(StatusPageText(st, 1), " 1P");
  EXPECT_EQ(StatusPageText(st, 2), " 1P");
  EXPECT_EQ(StatusPageText(st, 3), " 2P");
  EXPECT_EQ(StatusPageText(st, 4), " 2P");
  EXPECT_EQ(StatusPageText(st, 5), " 3P");

  SetParent(2, 1);
  st.CurrentLevel = 2;
  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(StatusPageText(st, 1), " 4P");
  EXPECT_EQ(StatusPageText(st, 3), " 5P");

  // Three rows a page: the breakdown moves to page 3.
  st.PrintRows[1] = 3;
  PageNumbersWrite(st);
  ASSERT_TRUE(LevelRowsRead(st, 2));
  EXPECT_EQ(StatusPageText(st, 1), " 3P");
}

}  // namespace
}  // namespace kv::test
