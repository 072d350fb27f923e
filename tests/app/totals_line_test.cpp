// The totals line painted at start-up: totals with separators, "#" while
// automatic recalculation is off, hidden total columns and the first line of
// the two-line columns.
#include "app/totals_line.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "state/program_state.h"
#include "state/settings_fixture.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class TotalsLineTest : public ::testing::Test {
 protected:
  TotalsLineTest() : st(ui) {
    test::SetDefaultItemLayout(st);
    test::SetLevelColumns(st, 1,
                          {{"名称", "W", 10},
                           {"数量", "A2", 10, "", "SUM"},
                           {"金額", "A", 12, "", "SUM", "", "", "  M   "},
                           {"単位", "C", 6}});
    st.DataLen = 256;
    // Total record: name "工事合計", quantity 1234.5, amount 9876543.
    std::string r(256, ' ');
    const std::string name = ToSjis("工事合計");
    r.replace(19, name.size(), name);
    r.replace(29, 10, "    1234.5");
    r.replace(39, 12, "     9876543");
    r.replace(51, 6, "  m2  ");
    st.SheetTotalRecord = r;
  }
  test::ScriptedUi ui;
  ProgramState st;
};

TEST_F(TotalsLineTest, TotalsWithSeparatorsWhileRecalculating) {
  st.ReCalcFlag = true;
  st.XMASK[1] = 0;
  const auto t = TotalsLineTexts(st, 1);
  ASSERT_EQ(t.size(), 5u);
  // (10 - 2) / 2 = 4 bytes of the two-line column: "工事".
  EXPECT_EQ(t[1], "工事");
  // The fraction blank-padded to the decimals and the point.
  EXPECT_EQ(t[2], "1,234.5 ");
  EXPECT_EQ(t[3], "9,876,543 ");
  EXPECT_EQ(t[4], "  m2  ");
}

TEST_F(TotalsLineTest, HashesWhileRecalculationIsOffAndStoredTextWhereTheTotalIsHidden) {
  st.ReCalcFlag = false;
  st.XMASK[1] = 2;  // the amount column is hidden in screen 2
  std::string r = st.SheetTotalRecord;
  r.replace(29, 10, std::string(10, ' '));
  st.SheetTotalRecord = r;
  const auto t = TotalsLineTexts(st, 1);
  EXPECT_EQ(t[2], std::string(10, ' '));  // blank total stays blank
  EXPECT_EQ(t[3], "     9876543");        // not a shown total column: its stored text
  st.XMASK[1] = 0;
  EXPECT_EQ(TotalsLineTexts(st, 1)[3], std::string(12, '#'));
}

TEST_F(TotalsLineTest, HalfWidthOfTwoLineColumnsRoundsHalvesToEven) {
  // Widths 9 and 11: (9 - 2) / 2 = 3.5 -> 4, (11 - 2) / 2 = 4.5 -> 4; a
  // double-byte character cut in half gives a blank.
  test::SetLevelColumns(st, 2, {{"a", "W", 9}, {"b", "W", 11}});
  std::string r(256, ' ');
  r.replace(19, 9, "ABCDEFGHI");
  const std::string kanji = ToSjis("ｱ漢字");  // 1 + 2 + 2 bytes
  r.replace(28, kanji.size(), kanji);
  st.SheetTotalRecord = r;
  const auto t = TotalsLineTexts(st, 2);
  EXPECT_EQ(t[1], "ABCD");
  EXPECT_EQ(t[2], "ｱ漢 ");
}

}  // namespace
}  // namespace kv
