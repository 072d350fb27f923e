#include "state/column_defs.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "settings_fixture.h"
#include "state/program_state.h"
#include "support/recording_services.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

class ColumnDefsTest : public ::testing::Test {
 protected:
  ColumnDefsTest() : st(ui) {
    st.LevelCount = 3;
    st.DataLen = 256;
    test::SetDefaultItemLayout(st);
  }

  // Loads the columns the way the base text does: masks only while the
  // estimate has its own settings.
  void Load(int level, std::initializer_list<test::TestColumn> cols) {
    DefRecordTable records;
    int c = 0;
    for (const auto& col : cols) records[++c] = test::DefRecordOf(st, col);
    st.ColCount[level] = c;
    ColumnTypeParse(st, level, records);
  }

  test::ScriptedUi ui;
  ProgramState st;
};

TEST_F(ColumnDefsTest, ItemPositionsFollowTheLengths) {
  const int expected[] = {20, 40, 44, 47, 87, 127, 137};
  for (int i = 1; i <= 7; ++i) EXPECT_EQ(st.DefItemPos[i], expected[i - 1]) << i;
}

TEST_F(ColumnDefsTest, StartsWidthsTypesAndCaption) {
  Load(1, {{"名称", "W", 12, "", "", "", "合計"}, {"数量", "A2", 8}, {"単価単価単価", "0", 5}});
  EXPECT_EQ(st.ColCount[1], 3);
  EXPECT_EQ(st.ColStart[1][1], 20);
  EXPECT_EQ(st.ColStart[1][2], 32);
  EXPECT_EQ(st.ColStart[1][3], 40);
  EXPECT_EQ(st.ColWidth[1][3], 5);
  EXPECT_EQ(st.ColType[1][2], "A2");
  EXPECT_EQ(st.ColDecimals[1][2], 2);
  ASSERT_EQ(st.LevelCaption[1].size(), 256u);
  EXPECT_EQ(st.LevelCaption[1].substr(19, 12), ToSjis("名称") + std::string(8, ' '));
  // A heading longer than its column is cut at the width; the character
  // that would be split becomes a blank.
  EXPECT_EQ(st.LevelCaption[1].substr(39, 5), ToSjis("単価") + " ");
  EXPECT_EQ(st.LevelCaption[1].substr(44), std::string(256 - 44, ' '));
  // Default total text only in text columns.
  EXPECT_EQ(st.TotalRecordDefaults[1].substr(19, 12), ToSjis("合計") + std::string(8, ' '));
}

TEST_F(ColumnDefsTest, TypeCodeDecimals) {
  struct Case {
    const char* type;
    int decimals;
  } cases[] = {{"A2", 2}, {"2", 2}, {"I2", 2}, {"W", 0}, {"C", 0}, {"S", 0}, {"D1", 0}, {"3", 3}, {"A", 0}};
  for (const auto& c : cases) EXPECT_EQ(TypeCodeDecimals(c.type), c.decimals) << c.type;
}

TEST_F(ColumnDefsTest, MasksTakenOnlyWithTheEstimatesOwnSettings) {
  st.UsesCurrentSettings = true;
  Load(1, {{"A", "C", 4, "", "", "", "", "MM  M "}});
  EXPECT_EQ(st.MaskDef[1][1][0], ' ');
  st.UsesCurrentSettings = false;
  Load(1, {{"A", "C", 4, "", "", "", "", "MM  M "}});
  EXPECT_EQ(std::string(st.MaskDef[1][1].data(), 6), "MM  M ");
}

TEST_F(ColumnDefsTest, SumRatioAndFormulaColumns) {
  Load(1, {{"a", "C", 4},
           {"b", "S", 4},
           {"c", "A", 4, "", "SUM"},
           {"d", "S", 4, "[[C ratio"},
           {"e", "A", 4, "", "SUM"},
           {"f", "A", 4, "", "sum"},
           {"g", "A", 4, "", "SUM"},
           {"h", "A", 4, "RATIO[[C"}});
  Load(2, {{"a", "C", 4}});
  Load(3, {{"a", "C", 4}});
  test::RecordingCalc calc;
  st.calc = &calc;
  ASSERT_TRUE(SumColumnFind(st));
  EXPECT_EQ(st.ParentTotalCols[1], 3);
  EXPECT_EQ(st.ParentTotalCols2[1], 5);
  EXPECT_EQ(st.RatioColumn[1], 8);
  EXPECT_EQ(st.FormulaColumn[1], 2);
  EXPECT_EQ(st.FormulaColumn[2], 0);
  EXPECT_TRUE(st.LevelsDifferInCols);
  // Row orders of every level first, then the total orders.
  EXPECT_EQ(calc.calls, (std::vector<std::string>{"RowFormulaOrderBuild(1)", "RowFormulaOrderBuild(2)",
                                                  "RowFormulaOrderBuild(3)", "TotalFormulaOrderBuild(1)",
                                                  "TotalFormulaOrderBuild(2)", "TotalFormulaOrderBuild(3)"}));
}

TEST_F(ColumnDefsTest, CycleReportedByTheEngineFailsTheDerivation) {
  Load(1, {{"a", "A", 4, "[[B"}, {"b", "A", 4, "[[A"}});
  st.LevelCount = 1;
  test::RecordingCalc calc;
  calc.orderOk = false;
  st.calc = &calc;
  EXPECT_FALSE(SumColumnFind(st));
}

TEST(PutFieldBytes, NeverPastTheEndNorHalfACharacter) {
  std::string target(6, '.');
  PutFieldBytes(target, 5, "ABCD", 4);
  EXPECT_EQ(target, "....AB");
  target = "......";
  PutFieldBytes(target, 1, ToSjis("漢字"), 3);
  EXPECT_EQ(target, ToSjis("漢") + " ...");
  PutFieldBytes(target, 0, "X", 1);
  PutFieldBytes(target, 7, "X", 1);
  EXPECT_EQ(target, ToSjis("漢") + " ...");
}

}  // namespace
}  // namespace kv
