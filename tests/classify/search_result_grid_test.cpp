#include "classify/search_result_grid.h"

#include <gtest/gtest.h>

#include <string>

#include "core/sjis_text.h"
#include "platform/grid/grid_api.h"
#include "platform/grid/grid_model.h"
#include "state/column_numbers.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv::test {
namespace {

std::string J(const char* text) { return ToAnsiBytes(text); }

TEST(SrchText2DanMake, LaysATwoLineCellOutInOneCell) {
  struct Case {
    const char* name;
    std::string text;
    int width;
    std::string want;
  };
  const std::string a = J("あ");
  const Case cases[] = {
      {"a long first line wraps at half the width", "ABCDEFGHIJKL", 20, "ABCDEFGHI\r\nJKL"},
      {"a double-byte character at the wrap moves down whole", "ABCDEFGH" + a + "IJ", 20,
       "ABCDEFGH \r\n" + a + "IJ"},
      {"the cell's own two lines stay, without blanks added", "AB\r\nCD", 20, "AB\r\nCD"},
      {"the wrapped rest runs into the second line", "ABCDEFGHIJKL\r\nXY", 20, "ABCDEFGHI\r\nJKLXY"},
      {"a long second line is cut to half the width", "AB\r\nCDEFGHIJKLMN", 20, "AB\r\nCDEFGHIJK"},
      {"width 21: half 9.5 rounds to 10", "ABCDEFGHIJKLM", 21, "ABCDEFGHIJ\r\nKLM"},
      {"width 23: half 10.5 rounds to 10", "ABCDEFGHIJKLM", 23, "ABCDEFGHIJ\r\nKLM"},
      {"a short line loses its blanks", "ABC       ", 20, "ABC"},
      {"blanks only", "          ", 20, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SrchText2DanMake(c.text, c.width), c.want);
  }
}

TEST(SrchText2DanMake, NeverHoldsMoreThan128Bytes) {
  // Half of 300 is 149: the wrap itself lies beyond the cell's 128 bytes.
  EXPECT_EQ(SrchText2DanMake(std::string(200, 'A'), 300), std::string(128, 'A'));
  // A double-byte character across byte 128 is left out, never cut in half.
  const std::string text = std::string(127, 'A') + J("あ") + "B";
  EXPECT_EQ(SrchText2DanMake(text, 400), std::string(127, 'A'));
}

// A level of four columns: a name, a two-line name, an amount and a code.
class ResultGridTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};
  GridModel grid;

  void SetUp() override {
    st.DataLen = 128;
    st.FontName = "ＭＳ 明朝";
    st.LevelCount = 2;
    const char* types[] = {"C", "W", "0", "I1"};
    const int starts[] = {20, 30, 50, 62}, widths[] = {10, 20, 12, 6};
    for (int l = 1; l <= 2; ++l) {
      st.ColCount[l] = 4;
      std::string caption(128, ' ');
      const char* captions[] = {"  名称", "摘要", "   金額", "コード"};
      for (int c = 1; c <= 4; ++c) {
        st.ColType[l][c] = types[c - 1];
        st.ColStart[l][c] = starts[c - 1];
        st.ColWidth[l][c] = widths[c - 1];
        const std::string cap = J(captions[c - 1]);
        caption.replace(static_cast<size_t>(starts[c - 1] - 1), cap.size(), cap);
      }
      st.LevelCaption[l] = caption;
      st.FormatMasks[l] = MakeColumnMasks(st, l);
    }
  }

  std::string Record(const std::string& name, const std::string& wide, const std::string& amount) const {
    std::string rec(128, ' ');
    rec.replace(19, name.size(), name);
    rec.replace(29, wide.size(), wide);
    rec.replace(static_cast<size_t>(49 + 12 - amount.size()), amount.size(), amount);
    return rec;
  }
};

TEST_F(ResultGridTest, SetUpLaysOutTheColumnsOfTheLevel) {
  SetUpResultSheet(st, grid, 1, 90, false, kResultGridRows);
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(grid.RowCount(), kResultGridRows);
  EXPECT_EQ(grid.Zoom(), 90);
  EXPECT_TRUE(st.HasWideColumn);
  // Captions lose their leading blanks; the two-line column's is fitted to
  // one line of it.
  EXPECT_EQ(GetTextData32(grid, 1, 0).substr(0, 6), "名称");
  EXPECT_EQ(GetTextData32(grid, 3, 0).substr(0, 6), "金額");
  EXPECT_EQ(grid.ColumnTextModeOf(2), 3);
  EXPECT_EQ(grid.ColAlign(3), 2);
  EXPECT_EQ(grid.ColAlign(1), 0);
  EXPECT_EQ(grid.SelectionColour(), 8);
  EXPECT_NE(grid.EditMode(), 9);  // typing never opens a cell
  EXPECT_TRUE(grid.Visible());
  EXPECT_TRUE(grid.Redraw());
  SetUpResultSheet(st, grid, 1, 100, true, kResultGridRows);
  EXPECT_EQ(grid.SelectionColour(), 11);
}

TEST_F(ResultGridTest, RowsShowNumbersWithSeparatorsAndTwoLineNames) {
  SetUpResultSheet(st, grid, 1, 100, false, kResultGridRows);
  AddResultRow(st, grid, 1, 3, 3, Record(J("型枠"), "ABCDEFGHIJKL", "1234567"));
  EXPECT_EQ(GetTextData32(grid, 1, 3), "型枠      ");
  EXPECT_EQ(GetTextData32(grid, 2, 3), "ABCDEFGHI\r\nJKL");
  EXPECT_EQ(GetTextData32(grid, 3, 3).find("1,234,567") != std::string::npos, true) << GetTextData32(grid, 3, 3);
}

TEST_F(ResultGridTest, ANewSetUpShowsNoRowsOfTheSearchBefore) {
  SetUpResultSheet(st, grid, 1, 100, false, kResultGridRows);
  for (int r = 1; r <= 3; ++r) AddResultRow(st, grid, 1, r, r, Record("OLD", "OLD", "1"));
  SetUpResultSheet(st, grid, 1, 100, false, kResultGridRows);
  AddResultRow(st, grid, 1, 1, 1, Record("NEW", "", "2"));
  EXPECT_EQ(GetTextData32(grid, 1, 1).substr(0, 3), "NEW");
  for (int r = 2; r <= 3; ++r)
    for (int c = 1; c <= 4; ++c) EXPECT_EQ(GetTextData32(grid, c, r), "") << c << "," << r;
}

}  // namespace
}  // namespace kv::test
