// One row computed: the quantity formulas of "S" columns into their "A"
// columns and the row definitions (RowCalc), the recalculation after one
// cell changed (RowFormulaCalc), the composition ratio and the item-row test.
#include "calc/row_calc.h"

#include <gtest/gtest.h>

#include "calc/calc_cells.h"
#include "calc/calc_expression.h"
#include "calc_fixture.h"
#include "platform/grid/grid_api.h"

namespace kv::test {
namespace {

class RowCalcTest : public CalcFixture {
 protected:
  LevelContext Level1() const { return {1, {}, st.SheetTotalRecord}; }

  // The library's value of "[[X".
  std::string Variable(char letter) {
    std::string result;
    EXPECT_TRUE(CalcExpression(st, std::string("[[") + letter, result));
    return result;
  }
};

// Each "A" column takes the result of the nearest non-empty "S" column to
// its left; an "A" column before any "S" keeps its text; an error is never
// read as a number ("2* 3" names the variable " 3", and the digit in its
// error text is not stored).
TEST_F(RowCalcTest, FormulaTextsGoIntoTheAnswerColumnsToTheirRight) {
  Layout(1, {{"A0", "A", 8}, {"S1", "S", 12}, {"A1", "A", 8}, {"S2", "S", 12}, {"A2", "A1", 8}});
  Build();
  struct Case {
    std::string s1, s2;
    std::string a1, a2;  // after the calculation
  };
  const Case cases[] = {
      {"2*3", "", "6", "6.0"},       // S2 empty: A2 takes S1's result
      {"2*3", "1.5+1", "6", "2.5"},  // each its own
      {"5-5", "", "", ""},           // zero: the zero form
      {"2* 3", "", "", ""},          // an error: blank, not 3
      {"", "", "old1", "old2"},      // nothing to evaluate: kept
  };
  for (const Case& c : cases) {
    std::string rec = Row(1, ' ', {{1, "keep"}, {2, c.s1}, {3, "old1"}, {4, c.s2}, {5, "old2"}});
    RowCalc(st, Level1(), rec);
    EXPECT_EQ(Cell(rec, 1, 1), "keep") << c.s1;
    EXPECT_EQ(Cell(rec, 1, 3), c.a1) << c.s1 << " / " << c.s2;
    EXPECT_EQ(Cell(rec, 1, 5), c.a2) << c.s1 << " / " << c.s2;
  }
  // Only item rows are computed.
  for (char kind : {'#', '\xBC', '\xD2', 'Q', 'G'}) {
    const std::string rec = Row(1, kind, {{2, "2*3"}, {3, "old1"}});
    std::string copy = rec;
    RowCalc(st, Level1(), copy);
    EXPECT_EQ(copy, rec) << kind;
  }
}

// Definitions in their order, each reading what the ones before stored:
// A = [[B*2 after B = [[C+1. The ratio column's definition is not evaluated.
TEST_F(RowCalcTest, DefinitionsReadTheValuesStoredBeforeThem) {
  Layout(1, {{"A", "0", 8, "[[B*2"}, {"B", "0", 8, "[[C+1"}, {"C", "0", 8}, {"R", "2", 8, "RATIO    A"}});
  Build();
  std::string rec = Row(1, ' ', {{1, "1"}, {2, "1"}, {3, "4"}, {4, "keep"}});
  RowCalc(st, Level1(), rec);
  EXPECT_EQ(Cell(rec, 1, 2), "5");
  EXPECT_EQ(Cell(rec, 1, 1), "10");
  EXPECT_EQ(Cell(rec, 1, 4), "keep");
}

// The ratio's definition is "RATIO" anywhere in it, in any case; any other
// definition is evaluated over the cell.
TEST_F(RowCalcTest, RatioDefinitionsAreKnownInAnyCase) {
  const struct {
    const char* def;
    bool ratio;
  } cases[] = {{"RATIO    A", true}, {"  ratio", true}, {"RRaTiO", true}, {"x+RATIO", true},
               {"RATI", false},      {"1+2", false},    {"RAT+IO", false}};
  for (const auto& c : cases) {
    Layout(1, {{"A", "0", 8}, {"B", "2", 8, c.def}});
    Build();
    std::string rec = Row(1, ' ', {{1, "1"}, {2, "keep"}});
    RowCalc(st, Level1(), rec);
    EXPECT_EQ(Cell(rec, 1, 2) == "keep", c.ratio) << c.def;
  }
}

// Changing C recomputes B, then A, and paints them on the level shown; the
// library's variables follow the stored values.
TEST_F(RowCalcTest, ChangeIsPropagatedThroughTheDefinitionsThatReadIt) {
  Layout(1, {{"A", "0", 8, "[[B*2", "SUM"}, {"B", "0", 8, "[[C+1"}, {"C", "0", 8}, {"D", "0", 8, "[[A-1"}});
  Build();
  ShowGrid();
  std::string rec = Row(1, ' ', {{3, "4999"}});
  RowFormulaCalc(st, Level1(), 7, rec, 3, true);
  EXPECT_EQ(Cell(rec, 1, 2), "5000");
  EXPECT_EQ(Cell(rec, 1, 1), "10000");
  EXPECT_EQ(Cell(rec, 1, 4), "9999");
  EXPECT_EQ(GetTextData32(grid, 1, 7), "10,000");
  EXPECT_EQ(GetTextData32(grid, 4, 7), "9,999");
  EXPECT_EQ(Variable('A'), "10000");

  // Not the level shown, or no painting asked: nothing painted.
  SetTextData32(grid, 1, 7, "");
  rec = Row(1, ' ', {{3, "1"}});
  st.CurrentLevel = 2;
  RowFormulaCalc(st, Level1(), 7, rec, 3, true);
  st.CurrentLevel = 1;
  RowFormulaCalc(st, Level1(), 7, rec, 3, false);
  EXPECT_EQ(GetTextData32(grid, 1, 7), "");
  EXPECT_EQ(Cell(rec, 1, 1), "4");
}

// A zero result and an overflowed one reach the definitions that read them
// as 0, and the library's variable is "0", not the blanks or the "+" run of
// the stored cell.
TEST_F(RowCalcTest, ZeroAndOverflowReachTheirDependentsAsZero) {
  Layout(1, {{"A", "0", 8, "[[B+5"}, {"B", "0", 3, "[[C*1"}, {"C", "0", 8}});
  Build();
  for (const char* c : {"0", "1000"}) {
    std::string rec = Row(1, ' ', {{1, "12"}, {2, "7"}, {3, c}});
    RowFormulaCalc(st, Level1(), 1, rec, 3, false);
    EXPECT_EQ(Cell(rec, 1, 2), std::string(c) == "0" ? "" : "+++");
    EXPECT_EQ(Cell(rec, 1, 1), "5") << c;
    EXPECT_EQ(Variable('B'), "0") << c;
  }
}

// A value beyond the calculable range (99,999,999 x 999,999,999) is no
// blank: its column takes the overflow mark, the user is to be told, and
// what reads it goes on with 0; full and incremental calculation agree.
TEST_F(RowCalcTest, AValueBeyondTheCalculableRangeTakesTheOverflowMark) {
  Layout(1, {{"A", "0", 20, "[[B*[[C"}, {"B", "0", 10}, {"C", "0", 10}, {"D", "0", 8, "[[A+1"}, {"S", "S", 20},
             {"T", "A", 8}});
  Build();
  const struct {
    const char* b;
    const char* s;
    std::string mark;
  } cases[] = {{"99999999", "99999999*999999999", std::string(20, '+')},
               {"-99999999", "-99999999*999999999", std::string(20, '-')}};
  for (const auto& c : cases) {
    std::string full = Row(1, ' ', {{2, c.b}, {3, "999999999"}, {5, c.s}});
    st.CalcRangeExceeded = false;
    RowCalc(st, Level1(), full);
    EXPECT_TRUE(st.CalcRangeExceeded) << c.b;
    EXPECT_EQ(Cell(full, 1, 1), c.mark);
    EXPECT_EQ(Cell(full, 1, 4), "1");
    EXPECT_EQ(Cell(full, 1, 6), std::string(8, c.mark[0]));

    std::string edited = Row(1, ' ', {{2, c.b}, {3, "999999999"}, {4, "7"}, {5, c.s}});
    st.CalcRangeExceeded = false;
    RowFormulaCalc(st, Level1(), 1, edited, 3, false);
    EXPECT_TRUE(st.CalcRangeExceeded) << c.b;
    EXPECT_EQ(Cell(edited, 1, 1), c.mark);
    EXPECT_EQ(Cell(edited, 1, 4), "1");
  }
  // Within the range nothing is said.
  std::string rec = Row(1, ' ', {{2, "99999999"}, {3, "999999"}});
  st.CalcRangeExceeded = false;
  RowCalc(st, Level1(), rec);
  EXPECT_FALSE(st.CalcRangeExceeded);
  EXPECT_EQ(Cell(rec, 1, 1), "99999899000001");
}

// Formulas are kept between evaluations by their text: the same text in
// columns of other widths and decimals is fitted to each, a row with other
// cells gets its own answer, a changed definition is evaluated anew, and a
// value beyond the calculable range is reported at every row.
TEST_F(RowCalcTest, KeptFormulasAnswerForEachColumnRowAndDefinition) {
  Layout(1, {{"A", "0", 8, "[[C*[[D"},
             {"B", "A2", 6, "[[C*[[D"},
             {"C", "1", 8},
             {"D", "0", 8},
             {"E", "0", 6, "10/3"},
             {"F", "A2", 8, "10/3"},
             {"G", "0", 6, "99999999*999999999*99"}});
  Build();
  struct Case {
    const char* c;
    const char* d;
    const char* a;
    const char* b;
  };
  const Case cases[] = {
      {"1.5", "7", "10", "10.50"},
      {"1.5", "7", "10", "10.50"},  // the same cells again
      {"200", "7", "1400", "++++++"},
      {"-2.5", "3", "-7", "-7.50"},
  };
  for (const Case& c : cases) {
    std::string rec = Row(1, ' ', {{3, c.c}, {4, c.d}});
    st.CalcRangeExceeded = false;
    RowCalc(st, Level1(), rec);
    EXPECT_EQ(Cell(rec, 1, 1), c.a) << c.c << " x " << c.d;
    EXPECT_EQ(Cell(rec, 1, 2), c.b) << c.c << " x " << c.d;
    EXPECT_EQ(Cell(rec, 1, 5), "3");
    EXPECT_EQ(Cell(rec, 1, 6), "3.33");
    EXPECT_EQ(Cell(rec, 1, 7), "++++++");
    EXPECT_TRUE(st.CalcRangeExceeded) << c.c << " x " << c.d;
  }
  // The definitions changed, the same row again.
  st.ColFormula[1][1] = "[[C+[[D";
  st.ColFormula[1][5] = "10/4";
  st.ColFormula[1][6] = "10/4";
  std::string rec = Row(1, ' ', {{3, "1.5"}, {4, "7"}});
  RowCalc(st, Level1(), rec);
  EXPECT_EQ(Cell(rec, 1, 1), "8");
  EXPECT_EQ(Cell(rec, 1, 2), "10.50");
  EXPECT_EQ(Cell(rec, 1, 5), "2");
  EXPECT_EQ(Cell(rec, 1, 6), "2.50");
}

// A failing definition leaves its column in the zero form and stops there:
// what reads it keeps its value.
TEST_F(RowCalcTest, FailingDefinitionStopsItsBranch) {
  Layout(1, {{"A", "0", 8, "[[B+5"}, {"B", "0", 8, "[[C+NOSUCH"}, {"C", "0", 8}});
  Build();
  std::string rec = Row(1, ' ', {{1, "12"}, {2, "7"}, {3, "1"}});
  RowFormulaCalc(st, Level1(), 1, rec, 3, false);
  EXPECT_EQ(Cell(rec, 1, 2), "");
  EXPECT_EQ(Cell(rec, 1, 1), "12");
}

// The full calculation and the one after an edit evaluate a definition the
// same way, rounding marks and divisions included.
TEST_F(RowCalcTest, FullAndIncrementalCalculationAgree) {
  Layout(1, {{"A", "4", 10, "[[C*2/3"}, {"B", "0", 8, "@[[C/3"}, {"C", "0", 8}});
  Build();
  std::string full = Row(1, ' ', {{3, "1"}});
  RowCalc(st, Level1(), full);
  std::string edited = Row(1, ' ', {{3, "1"}});
  RowFormulaCalc(st, Level1(), 1, edited, 3, false);
  EXPECT_EQ(Cell(full, 1, 2), "1");
  EXPECT_EQ(full, edited);
}

// Whether a row RowCalc has just computed is settled for a change of column
// C (the formula column's answer): every definition RowCalc evaluates is
// pure and reads only columns final before it, and the propagation from C
// reaches none but those.
TEST_F(RowCalcTest, SettledRowsNeedPureDefinitionsInAnOrderThatReadsOnlyFinalColumns) {
  struct Case {
    const char* what;
    std::string amountDef, halfDef;  // columns E and F
    std::string order;               // "" keeps the order built
    bool settled;
  };
  const Case cases[] = {
      {"amount from quantity and price", "[[C*[[D", "", "", true},
      {"a chain in its order", "[[C*[[D", "[[E/2", "", true},
      {"the parent row and the closing record", "[[C*[$D-[#D", "", "", true},
      {"a definition read before it is computed", "[[C*[[D", "[[E/2", "FE", false},
      {"a definition reading its own column", "[[C*[[D+[[E", "", "E", false},
      {"a named variable", "[[C*RATE", "", "", false},
      {"parentheses (not taken apart)", "([[C)*[[D", "", "", false},
      {"a reached definition RowCalc leaves out", "[[C*[[D", "[[E/2", "E", false},
      {"an unreached definition RowCalc leaves out", "[[C*[[D", "[[D*2", "E", true},
  };
  for (const Case& c : cases) {
    // A given order is set over definitions the order builder would refuse.
    const bool given = !c.order.empty();
    Layout(1, {{"A", "C", 6}, {"B", "S", 12}, {"C", "A2", 10}, {"D", "0", 10}, {"E", "0", 12, given ? "" : c.amountDef},
               {"F", "0", 12, given ? "" : c.halfDef}});
    Build();
    if (given) {
      st.ColFormula[1][5] = c.amountDef;
      st.ColFormula[1][6] = c.halfDef;
      st.RowFormulaOrder[1] = c.order;
    }
    EXPECT_EQ(RowRecalcSettled(st, 1, 3), c.settled) << c.what;
  }
  Layout(1, {{"A", "C", 6}, {"B", "S", 12}, {"C", "A2", 10}, {"D", "0", 10}, {"E", "0", 12, "[[C*[[D"}});
  Build();
  st.SystemKind = 1;  // the equipment edition rounds what it propagates
  EXPECT_FALSE(RowRecalcSettled(st, 1, 3));
  st.SystemKind = 0;
  st.CustomerVariant = true;
  EXPECT_FALSE(RowRecalcSettled(st, 1, 3));
}

// An answer column a definition overwrites before anything reads it need not
// take the formula-text answer first: not when a definition before it, or a
// formula text to its right, reads it.
TEST_F(RowCalcTest, AnswersOverwrittenUnreadLeaveTheRowAsRowCalcDoes) {
  auto check = [&](const char* what, const Cells& cells, std::uint64_t unread, const std::string& order = "") {
    Build();
    if (!order.empty()) st.RowFormulaOrder[1] = order;
    EXPECT_EQ(AnswersOverwrittenUnread(st, 1), unread) << what;
    std::string full = Row(1, ' ', cells);
    std::string shortened = full;
    RowCalc(st, Level1(), full);
    RowCalcNotingAnswer(st, Level1(), shortened, 0, AnswersOverwrittenUnread(st, 1));
    EXPECT_EQ(shortened, full) << what;
    EXPECT_NE(Cell(full, 1, 2), "") << what;
  };
  Layout(1, {{"A", "S", 12}, {"B", "A", 10}, {"C", "0", 10}, {"D", "A", 10, "[[B*[[C"}});
  check("overwritten unread", {{1, "2*3"}, {3, "7"}}, std::uint64_t{1} << 4);
  Layout(1, {{"A", "S", 12}, {"B", "A", 10, "[[D*2"}, {"C", "S", 12}, {"D", "A", 10}});
  check("a formula text right of it reads it", {{1, "5"}, {3, "[[B+1"}}, 0);
  Layout(1, {{"A", "S", 12}, {"B", "A", 10, "[[C+1"}, {"C", "A", 10, "[[D*2"}, {"D", "0", 10}});
  check("in the order built both are overwritten unread", {{1, "5"}, {4, "3"}}, 0b1100);
  check("a definition before it reads it", {{1, "5"}, {4, "3"}}, 0b0100, "BC");
}

// A cell read without its blanks at either end, whatever the column's width
// and wherever its text stands (the blanks are passed over in runs).
TEST_F(RowCalcTest, CellsTrimmedOfTheirBlanks) {
  for (int width = 1; width <= 20; ++width) {
    Layout(1, {{"A", "C", 3}, {"B", "0", width}});
    for (int at = 0; at < width; ++at) {
      for (const std::string text : {"", "7", "1 5", "-12.50"}) {
        std::string rec = Blank();
        const std::string cell = (std::string(static_cast<size_t>(at), ' ') + text).substr(0, static_cast<size_t>(width));
        rec.replace(static_cast<size_t>(st.ColStart[1][2]) - 1, cell.size(), cell);
        const size_t first = cell.find_first_not_of(' ');
        const std::string expected =
            first == std::string::npos ? "" : cell.substr(first, cell.find_last_not_of(' ') - first + 1);
        EXPECT_EQ(CellTrimmed(st, rec, 1, 2), expected) << "width " << width << " at " << at << " \"" << text << '"';
      }
    }
  }
}

// "[[B[[A" refers to its own column unseen by the order: the propagation
// does not evaluate a column again while it is on the chain, so it ends.
TEST_F(RowCalcTest, HiddenSelfReferenceEnds) {
  Layout(1, {{"A", "0", 8, "[[B[[A"}, {"B", "0", 8}});
  Build();
  std::string rec = Row(1, ' ', {{2, "42"}});
  RowFormulaCalc(st, Level1(), 1, rec, 2, false);
  EXPECT_EQ(Cell(rec, 1, 1), "42");
}

// Customer variant: a result of column 8 goes into column 11 when column 10
// holds "1", else into 12; the other is blanked. A level without those
// columns is left alone beyond its own.
TEST_F(RowCalcTest, CustomerVariantSplitsColumnEight) {
  st.CustomerVariant = true;
  Layout(1, {{"A", "0", 6}, {"B", "C", 2}, {"C", "C", 2}, {"D", "C", 2}, {"E", "C", 2}, {"F", "C", 2},
             {"G", "C", 2}, {"H", "0", 8, "[[A*2"}, {"I", "C", 2}, {"J", "C", 2}, {"K", "0", 8}, {"L", "0", 8}});
  Build();
  ShowGrid();
  for (const char* sw : {"1", ""}) {
    std::string rec = Row(1, ' ', {{1, "21"}, {10, sw}, {11, "old"}, {12, "old"}});
    RowFormulaCalc(st, Level1(), 3, rec, 1, true);
    const bool first = std::string(sw) == "1";
    EXPECT_EQ(Cell(rec, 1, 8), "42");
    EXPECT_EQ(Cell(rec, 1, 11), first ? "42" : "") << sw;
    EXPECT_EQ(Cell(rec, 1, 12), first ? "" : "42") << sw;
    EXPECT_EQ(GetTextData32(grid, first ? 11 : 12, 3), "42");
    EXPECT_EQ(GetTextData32(grid, first ? 12 : 11, 3), std::string(20, ' '));
  }

  // A narrower column 11 or 12 takes the value fitted to it: the overflow
  // mark when it does not fit, never its last digits.
  Layout(1, {{"A", "0", 8}, {"B", "C", 2}, {"C", "C", 2}, {"D", "C", 2}, {"E", "C", 2}, {"F", "C", 2},
             {"G", "C", 2}, {"H", "0", 8, "[[A*2"}, {"I", "C", 2}, {"J", "C", 2}, {"K", "0", 4}, {"L", "1", 8}});
  Build();
  const struct {
    const char* a;
    const char* sw;
    int col;
    const char* stored;
  } narrow[] = {{"12345", "1", 11, "++++"}, {"-12345", "1", 11, "----"}, {"2000", "1", 11, "4000"},
                {"12345", "", 12, "24690.0"}, {"99999999", "", 12, "++++++++"}};
  for (const auto& c : narrow) {
    std::string r = Row(1, ' ', {{1, c.a}, {10, c.sw}});
    RowFormulaCalc(st, Level1(), 3, r, 1, false);
    EXPECT_EQ(Cell(r, 1, c.col), c.stored) << c.a;
  }

  Layout(1, {{"A", "0", 6}, {"B", "C", 2}, {"C", "C", 2}, {"D", "C", 2}, {"E", "C", 2}, {"F", "C", 2},
             {"G", "C", 2}, {"H", "0", 8, "[[A*2"}, {"I", "C", 2}, {"J", "C", 2}, {"K", "0", 8}});
  Build();
  std::string rec = Row(1, ' ', {{1, "21"}});
  const std::string tail = rec.substr(57);  // bytes 58.. lie past column K
  RowFormulaCalc(st, Level1(), 3, rec, 1, false);
  EXPECT_EQ(Cell(rec, 1, 11), "");
  EXPECT_EQ(rec.substr(57), tail);
}

TEST_F(RowCalcTest, RatioIsTheRowsShareOfTheTotal) {
  Layout(1, {{"V", "0", 8}, {"R", "2", 8, "RATIO    A"}});
  struct Case {
    std::string value;
    std::string total;
    std::string ratio;
  };
  for (const Case& c : {Case{"250", "1000", "25.00"}, Case{"1", "3", "33.33"}, Case{"250", "0", ""},
                        Case{"", "1000", ""}, Case{"-50", "200", "-25.00"}, Case{"++++", "1000", ""}}) {
    st.SheetRows[4] = Row(1, ' ', {{1, c.value}, {2, "old"}});
    RatioCellCalc(st, 4, 1, 2, 1, FixedSum::Parse(c.total));
    EXPECT_EQ(Cell(4, 1, 2), c.ratio) << c.value << " of " << c.total;
  }
}

TEST_F(RowCalcTest, ItemRowTest) {
  for (char kind : {'#', '$', '%', '\xB1', '\xB2', '\xB3', 'S', '\xD2', 'Q'})
    EXPECT_FALSE(IsItemRow(Row(1, kind, {}))) << kind;
  for (char kind : {' ', '\xBC', '\xB9', 'Z', 'G'}) EXPECT_TRUE(IsItemRow(Row(1, kind, {}))) << kind;
  EXPECT_FALSE(IsItemRow(Row(1, ' ', {}, 'U')));
}

}  // namespace
}  // namespace kv::test
