// The non-print marks set and removed row by row in each marking mode, what
// the sums then take in, the cursor after a toggle, and the check of the
// classification code columns before a classification file is made.
#include "sheet/non_print_marks.h"

#include <gtest/gtest.h>

#include <string>

#include "edit_fixture.h"
#include "storage/row_record.h"

namespace kv::test {
namespace {

class NonPrintMarksTest : public EditFixture {
 protected:
  NonPrintMarksTest() { st.LevelCount = 1; }

  // Row 1 amount 100, row 2 amount 10 with `mark` and its child link
  // field as stored.
  void Rows(char mark, const char* link) {
    Sheet({Row(' ', {{kName, "a"}, {kQty, "1"}, {kPrice, "100"}, {kAmount, "100"}}), Row(' ', {{kName, "b"}, {kQty, "1"}, {kPrice, "10"}, {kAmount, "10"}})});
    st.SheetRows[2][1] = mark;
    st.SheetRows[2].replace(11, 4, link);
    RowDisplay(st, grid, 1, 2);
    calc.LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
    Cursor(kPrice, 2);
  }
  char Mark() const { return st.SheetRows[2][1]; }
  std::string Total() const { return Cell(0, kAmount); }
};

TEST_F(NonPrintMarksTest, TogglesByMode) {
  struct Case {
    bool levelMode;
    char mark;
    const char* link;
    char after;
    const char* total;  // after the toggle, automatic recalculation on
  };
  const Case cases[] = {
      {false, ' ', " -99", 'U', "100"},
      {false, 'I', "   5", 'U', "100"},
      {false, 'U', " -99", ' ', "110"},
      {true, ' ', "   5", 'I', "110"},
      {true, 'U', "   5", 'I', "110"},  // back into the sums at once
      {true, ' ', " -99", ' ', "110"},
      {true, ' ', "    ", ' ', "110"},  // a blank link is no breakdown
      {true, ' ', "   0", ' ', "110"},
      {true, 'U', " -99", 'U', "100"},
      {true, 'I', " -99", ' ', "110"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.levelMode ? "level " : "row ") + c.mark + c.link);
    Rows(c.mark, c.link);
    if (c.levelMode)
      NotPrintLvlLineToggle(st, grid, 2);
    else
      NotPrintLineToggle(st, grid, 2);
    EXPECT_EQ(Mark(), c.after);
    EXPECT_EQ(Total(), c.total);
    EXPECT_EQ(Shown(kAmount, 0 + st.Imax + 1), c.total);
    const int colour = c.after == 'U' ? 2 : c.after == 'I' ? 5 : 0;
    EXPECT_EQ(grid.CellColour(kName, 2), colour);
    EXPECT_EQ(Shown(0, 2).substr(0, 3), c.after == 'U' ? "  ." : "  2");
    // The cursor stands on the row in the column it had.
    EXPECT_EQ(st.CurrentCol, kPrice);
    EXPECT_EQ(grid.CurrentCol(), kPrice);
    EXPECT_EQ(grid.CurrentRow(), 2);
  }
}

TEST_F(NonPrintMarksTest, ARowBelowTheSheetOnlyBeeps) {
  Rows(' ', " -99");
  const auto before = st.SheetRows;
  NotPrintLineToggle(st, grid, 3);
  NotPrintLvlLineToggle(st, grid, st.Imax + 1);
  EXPECT_EQ(st.SheetRows, before);
  EXPECT_EQ(ui.CallsStartingWith("Beep").size(), 2u);
  EXPECT_EQ(grid.CurrentRow(), 2);
}

TEST_F(NonPrintMarksTest, WithoutAutomaticRecalculationTheTotalsWait) {
  Rows(' ', " -99");
  st.ReCalcFlag = false;
  NotPrintLineToggle(st, grid, 2);
  EXPECT_EQ(Mark(), 'U');
  EXPECT_EQ(Total(), "110");
}

TEST_F(NonPrintMarksTest, CheckSiwakeCodesReportsTheFirstMissingColumnOnce) {
  struct Case {
    int levels;
    const char* level1Types[2];
    const char* level2Types[2];
    const char* message;  // nullptr: passes
  };
  const Case cases[] = {
      {0, {"C", "C"}, {"C", "C"}, nullptr},
      {2, {"I1", "I2"}, {"I2", "I1x"}, nullptr},
      {2, {"I1", "C"}, {"C", "I2"}, "2階層目に仕訳コード１の項目が設定がされていません\n仕訳ﾌｧｲﾙ作成を中止します."},
      {2, {"I1", "C"}, {"I1", "I2"}, "1階層目に仕訳コード２の項目が設定がされていません\n仕訳ﾌｧｲﾙ作成を中止します."},
  };
  for (const Case& c : cases) {
    st.LevelCount = c.levels;
    for (int level : {1, 2}) {
      st.ColCount[size_t(level)] = 2;
      for (int col : {1, 2}) st.ColType[level][col] = (level == 1 ? c.level1Types : c.level2Types)[col - 1];
    }
    if (c.message != nullptr) ui.AnswerMsgBox(vbOK, c.message);
    EXPECT_EQ(CheckSiwakeCodes(st), c.message != nullptr);
    ui.ExpectAllAnswered();
    if (c.message != nullptr) {
      EXPECT_EQ(ui.Prompts().back().text, c.message);
    }
  }
}

}  // namespace
}  // namespace kv::test
