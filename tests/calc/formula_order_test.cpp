// The evaluation orders of the row and total definitions, built when a
// layout is loaded: a definition after the columns it refers to; a layout
// whose definitions refer to each other or chain deeper than ten is refused
// with the loader's message, the previous columns kept, the program running.
#include "calc/formula_order.h"

#include <gtest/gtest.h>

#include "state/layout_file.h"
#include "calc_fixture.h"
#include "support/temp_folder.h"

namespace kv::test {
namespace {

class FormulaOrderTest : public CalcFixture {
 protected:
  TempFolder dir;
  std::string base = (dir.path() / "EST").string();

  FormulaOrderTest() { st.LevelCount = 1; }

  // A layout file of one level: one line per column, "numeric" columns of
  // width 8 with the given row and total definitions.
  struct Def {
    std::string row;
    std::string total;
    std::string carry;
  };
  void WriteLayout(const std::vector<Def>& defs) {
    std::string text = "DM=1\n";
    for (size_t i = 0; i < defs.size(); ++i)
      text += "C" + std::to_string(i + 1) + "\t0\t0\t8\t" + defs[i].row + "\t" + defs[i].total + "\t" +
              defs[i].carry + "\t        \t       \n";
    WriteSjisFile(base + ".Y$", text);
  }

  // n definitions chained: column i refers to column i + 1.
  std::vector<Def> Chain(int n) {
    std::vector<Def> defs;
    for (int i = 1; i <= n; ++i) defs.push_back({"[[" + std::string(1, char('A' + i)) + "+1", "", ""});
    defs.push_back({});
    return defs;
  }
};

TEST_F(FormulaOrderTest, DefinitionComesAfterTheColumnsItReads) {
  // A = [[B*2 and B = [[C+1: B first.
  WriteLayout({{"[[B*2", "", ""}, {"[[C+1", "", ""}, {}});
  ASSERT_TRUE(LoadEditLayout(st, base));
  EXPECT_EQ(st.RowFormulaOrder[1], "BA");

  // Ten in a chain: one pass each.
  WriteLayout(Chain(10));
  ASSERT_TRUE(LoadEditLayout(st, base));
  EXPECT_EQ(st.RowFormulaOrder[1], "JIHGFEDCBA");
}

TEST_F(FormulaOrderTest, TotalOrderLeavesOutSumAndRatioCarries) {
  // Totals: B = [#C*2, C = [#D+1, D is a SUM column; E's carry holds RATIO.
  WriteLayout({{}, {"", "[#C*2", ""}, {"", "[#D+1", ""}, {"", "SUM", ""}, {"", "[#B", "->RATIO"}});
  ASSERT_TRUE(LoadEditLayout(st, base));
  EXPECT_EQ(st.TotalFormulaOrder[1], "CB");
  EXPECT_EQ(st.RowFormulaOrder[1], "");
}

// Deeper than ten, or a cycle (also one the totals make): refused with the
// layout loader's message; the columns loaded before stay, and so do their
// orders; the program goes on.
TEST_F(FormulaOrderTest, CycleOrElevenDeepIsRefusedAndThePreviousLayoutKept) {
  WriteLayout({{"[[B*2", "", ""}, {"[[C+1", "", ""}, {}});
  ASSERT_TRUE(LoadEditLayout(st, base));

  const std::vector<std::vector<Def>> refused = {
      Chain(11), {{"[[B", "", ""}, {"[[A", "", ""}}, {{"[[A+1", "", ""}}, {{"", "[#B", ""}, {"", "[#A", ""}}};
  for (const auto& layout : refused) {
    WriteLayout(layout);
    ui.AnswerMsgBox(vbOK, "互いを参照しているか、参照が深すぎます");
    EXPECT_FALSE(LoadEditLayout(st, base));
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.ColCount[1], 3);
    EXPECT_EQ(st.ColFormula[1][1], "[[B*2");
    EXPECT_EQ(st.RowFormulaOrder[1], "BA");
    EXPECT_FALSE(ui.EndedWith().has_value());
  }
}

// A reference naming no column of the level holds nothing up: the layout
// loads (the evaluation shows the error); so does one written straight after
// another ("[[B[[A"), which the scan does not see.
TEST_F(FormulaOrderTest, ReferencesNamingNoColumnDoNotHoldTheOrderUp) {
  WriteLayout({{"[[Z*2", "", ""}, {"[[1+[[A", "", ""}, {"[[B[[C", "", ""}});
  ASSERT_TRUE(LoadEditLayout(st, base));
  EXPECT_EQ(st.RowFormulaOrder[1], "ABC");
}

}  // namespace
}  // namespace kv::test
