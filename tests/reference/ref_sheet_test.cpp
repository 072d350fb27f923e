// Reading and painting a level of the reference: the rows of its file or
// chain, the closing record taken out, faults reported once with what was
// read before them shown, and the headers, colours and numbers as painted.
#include "reference/ref_sheet.h"

#include <gtest/gtest.h>

#include "platform/grid/grid_api.h"
#include "reference/ref_fixture.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class RefSheet : public RefFixture {
 protected:
  void SetUp() override {
    RefFixture::SetUp();
    Load();
    // A reference "R" as if opened: its level files in WORK2.
    st.RefWorkFileBase = (Work2() / "R").string();
    st.RefFilePath = (app.path() / "DATA" / "R.YZH").string();
  }

  void Read(int level) {
    st.RefCurrentLevel = level;
    RefLevelRead(st, grid, level);
    RefSheetRedisplay(st, grid, 1, st.RefUsedRows);
  }
};

TEST_F(RefSheet, LevelOneInFileOrderAndADeeperChainWithItsTotals) {
  WriteRefLevel(1, {{' ', 0, 3, kNoRecord, "a"}, {' ', 0, 0, 3, "b"}, {'G', 0, kNoRecord, kNoRecord, std::string(10, ' ') + "     1234567"}}, "R");
  // Level 2: the chain 3 -> 1, with unrelated record 2 in the file.
  WriteRefLevel(2, {{' ', 0, 4, kNoRecord, "x1"}, {' ', 0, kNoRecord, kNoRecord, "other"}, {' ', 0, 1, kNoRecord, "x0"},
                    {'G', 0, kNoRecord, kNoRecord, std::string(10, ' ') + "          12"}},
                "R");
  Read(1);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(RecordByte(st.RefTotalRecord, kKindPos), 'G');
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "1,234,567");

  st.RefParentRows[1] = st.RefSheetRows[2];
  Read(2);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"x0", "x1"}));
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "12");
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(RefSheet, ASheetWithoutClosingRecordShowsNoTotalsOrObjectsOfTheSheetBefore) {
  std::string g = std::string(10, ' ') + "         777";
  WriteRefLevel(1, {{' ', 0, 0, 1, "a"}, {'G', 0, kNoRecord, kNoRecord, g}}, "R");
  WriteRefLevel(2, {{' ', 0, kNoRecord, kNoRecord, "lone"}}, "R");
  Read(1);
  // The closing record names an object file 12.
  st.RefTotalRecord.replace(15, 4, "  12");
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "777");
  st.RefParentRows[1] = st.RefSheetRows[1];
  Read(2);
  EXPECT_EQ(Shown(), (std::vector<std::string>{"lone"}));
  EXPECT_EQ(st.RefSheetObjNo, "");
  EXPECT_EQ(grid.CellText(2, st.Imax + 1), "");
  // Nothing of the longer sheet before stays in the grid.
  EXPECT_EQ(grid.CellText(1, 2), "");
}

TEST_F(RefSheet, DamageIsReportedOnceAndTheRowsBeforeItAreShown) {
  // A loop: 1 -> 2 -> 1.
  WriteRefLevel(1, {{' ', 0, 0, 1, "a"}, {'G'}}, "R");
  WriteRefLevel(2, {{' ', 0, 2, kNoRecord, "x"}, {' ', 0, 1, kNoRecord, "y"}}, "R");
  Read(1);
  st.RefParentRows[1] = st.RefSheetRows[1];
  ui.AnswerMsgBox(vbOK, "R.Y2");
  Read(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Shown(), (std::vector<std::string>{"x", "y"}));

  // A file that is not a whole number of records.
  {
    std::ofstream f(Work2() / "R.Y2", std::ios::app | std::ios::binary);
    f << "xx";
  }
  ui.AnswerMsgBox(vbOK, "R.Y2");
  Read(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefUsedRows, 0);

  // A breakdown into a level file that is not there.
  std::filesystem::remove(Work2() / "R.Y2");
  ui.AnswerMsgBox(vbOK, "R.Y2");
  Read(2);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefUsedRows, 0);
  EXPECT_EQ(grid.CellText(1, 1), "");
}

TEST_F(RefSheet, AtMostImaxRowsAreRead) {
  st.Imax = 5;
  std::vector<Rec> recs = Filler(8, "r");
  recs.push_back({'G'});
  WriteRefLevel(1, recs, "R");
  Read(1);
  EXPECT_EQ(st.RefUsedRows, 5);
  EXPECT_EQ(grid.RowCount(), 6);
  EXPECT_TRUE(ui.Prompts().empty());
}

TEST_F(RefSheet, AMissingLevelOneFileIsAskedAboutAndCancelFallsBackInsideWork2) {
  // Retry while the file is still missing, then Cancel.
  ui.AnswerMsgBox(vbRetry, "指定のﾌｧｲﾙまたはFDが存在しません!").AnswerMsgBox(vbCancel).AnswerMsgBox(vbOK, "一旦終了し");
  Read(1);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.RefWorkFileBase, st.AppPath + "/WORK2/無題");
  EXPECT_EQ(st.RefFilePath, st.RefWorkFileBase);
  EXPECT_EQ(st.RefUsedRows, 0);
  // The untitled reference reads as empty without a question, and no level
  // file is made for it.
  Read(1);
  EXPECT_EQ(ui.Prompts().size(), 3u);
  EXPECT_FALSE(std::filesystem::exists(Work2() / "無題.Y1"));
  EXPECT_FALSE(std::filesystem::exists(app.path() / "無題.Y1"));
}

TEST_F(RefSheet, NumbersAreGroupedByThreeWithTheirDecimalsAsStored) {
  struct Case {
    const char* stored;
    int decimals;
    const char* shown;
  };
  const Case cases[] = {
      {"      12345", 0, "12,345"},   {"   -1234567.25", 2, "-1,234,567.25"}, {"  -0.5", 1, "-0.5"},
      {"  999", 0, "999"},            {"1234567890123", 0, "1,234,567,890,123"}, {" 1000.000", 3, "1,000.000"},
      {"12345678901234567", 0, "12345678901234567"},
  };
  for (const Case& c : cases) EXPECT_EQ(RefNumberText(c.stored, c.decimals), c.shown) << c.stored;
}

TEST_F(RefSheet, RowsArePaintedByTheirMarksAndKinds) {
  st.Imax = 1000;
  std::vector<Rec> recs = Filler(999, "f");
  // Row 1000 a plain row; the rows painted below sit at the start.
  recs.push_back({' ', 0, kNoRecord, kNoRecord, "last"});
  recs[0] = {' ', 0, kNoRecord, 5, "owner"};               // a breakdown
  recs[1] = {'#', 0, kNoRecord, kNoRecord, "total", ' '};  // a total row
  recs[2] = {'Q', 0, kNoRecord, kNoRecord, std::string(10, ' ') + "      1234.5", ' '};
  recs[3] = {' ', 0, kNoRecord, kNoRecord, "np", 'U'};  // non-print
  recs[4] = {' ', 0, kNoRecord, kNoRecord, "lv", 'I'};  // non-print level
  recs[5] = {'1', 0, kNoRecord, kNoRecord, J("メモの行です"), ' '};
  recs[6] = {'k', 0, kNoRecord, kNoRecord, "tax", ' '};
  recs[7] = {' ', 0, kNoRecord, kNoRecord, std::string(10, ' ') + "       12345"};
  WriteRefLevel(1, recs, "R");
  Read(1);
  struct Row {
    int row;
    const char* header;
    int headerColour;
    int colour;  // of column A
    const char* a;
    const char* b;
  };
  const Row rows[] = {
      {1, "  1 ", 14, 0, "owner", ""},      {2, "  2#", 0, 3, "total", ""},
      {3, "  3Q", 0, 4, "", "      1234.5"}, {4, "  . ", 0, 2, "np", ""},
      {5, "  5 ", 0, 5, "lv", ""},          {6, "  61", 0, 0, "メモの行です", ""},
      {7, "  7k", 0, 3, "tax", ""},         {8, "  8 ", 0, 0, "", "12,345"},
      {1000, "000 ", 0, 0, "last", ""},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.row);
    EXPECT_EQ(grid.CellText(0, r.row), r.header);
    EXPECT_EQ(grid.CellColour(0, r.row), r.headerColour);
    EXPECT_EQ(grid.CellColour(1, r.row), r.colour);
    std::string a = grid.CellText(1, r.row);
    while (!a.empty() && a.back() == ' ') a.pop_back();
    EXPECT_EQ(a, r.a);
    EXPECT_EQ(grid.CellText(2, r.row), r.b);
  }
  EXPECT_TRUE(grid.MemoRow(6));
  EXPECT_FALSE(grid.MemoRow(7));
}

TEST_F(RefSheet, AHiddenColumnIsTwoWideWithoutCaptionAndTheRowsBelowAreGrey) {
  st.MaskDef[1][2][0] = 'M';
  st.XMASK[1] = 0;
  WriteRefLevel(1, {{' ', 0, 0, kNoRecord, "a"}, {'G'}}, "R");
  Read(1);
  EXPECT_EQ(grid.ColWidth(2), 2);
  EXPECT_EQ(grid.CellText(2, 0), "");
  EXPECT_EQ(grid.CellText(1, 0), "名称      ");
  EXPECT_EQ(grid.CellColour(0, 2), 7);
  EXPECT_EQ(grid.CellText(0, st.Imax + 1), "計 ");
}

}  // namespace
}  // namespace kv::test
