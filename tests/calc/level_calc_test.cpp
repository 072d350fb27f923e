// One sheet computed: the running totals of the total rows, the tax and
// expense rows, the row definitions of the total rows, the total
// definitions, the composition ratios, and what is painted (or masked).
#include "calc/level_calc.h"

#include <gtest/gtest.h>

#include "calc/calc_cells.h"
#include "calc/formula_evaluate.h"
#include "calc/row_calc.h"
#include "calc_fixture.h"
#include "platform/grid/grid_api.h"

namespace kv::test {
namespace {

constexpr char kTax = '\xBC';      // ｼ
constexpr char kExpense = '\xB9';  // ｹ
constexpr char kMemo = '\xD2';     // ﾒ

// Columns: A name, B the formula column (quantity formulas; an expense
// row's "[@" rate), C its answer, D a unit price, E the amount (its sum
// goes to the closing record).
constexpr int kAmount = 5;

class LevelCalcTest : public CalcFixture {
 protected:
  void SetUp() override {
    Layout(1, {{"名称", "C", 6}, {"計算式", "S", 12}, {"数量", "A2", 10}, {"単価", "0", 10},
               {"金額", "0", 12, "[[C*[[D", "SUM"}});
    Build();
    st.SystemKind = 2;
    st.STax = *Currency::Parse(".08");
    st.STaxMethod = 1;
    st.STaxMethodKeta = 0;
    st.SKeihiMethod = 1;
    st.SKeihiMethodKeta = 0;
  }

  struct R {
    char kind;
    std::string amount;
    std::string formula = "";
    char mark = ' ';
  };

  void SheetOf(const std::vector<R>& rows) {
    std::vector<std::string> recs;
    for (const R& r : rows) recs.push_back(Row(1, r.kind, {{2, r.formula}, {kAmount, r.amount}}, r.mark));
    Sheet(recs);
  }
  std::vector<std::string> Amounts() const {
    std::vector<std::string> out;
    for (int r = 1; r <= st.UsedRows; ++r) out.push_back(Cell(r, 1, kAmount));
    return out;
  }
  void Calc() {
    st.CalcNoDisplay = true;  // as the level writer calls it
    LevelCalc(st, 1, st.SheetTotalRecord, 1, st.UsedRows);
    st.CalcNoDisplay = false;
  }
};

TEST_F(LevelCalcTest, RowKindsInSequenceGiveEveryTotal) {
  struct Case {
    const char* name;
    std::vector<R> rows;
    std::vector<std::string> amounts;  // after the calculation
    std::string closing;
    int systemKind = 2;
    const char* taxRate = ".08";
    int taxMethod = 1;
  };
  const std::string over(12, '+');
  const Case cases[] = {
      // # = 1000 + 2000 (the "U" row is left out); $ = 3000 + 3000;
      // ｼ = 6000 x 8 % = 480; % = 6000 + 480.
      {"worked example",
       {{' ', "1000"}, {' ', "2000"}, {' ', "500", "", 'U'}, {'#', ""}, {' ', "3000"}, {'$', ""}, {kTax, ""}, {'%', ""}},
       {"1000", "2000", "500", "3000", "3000", "6000", "480", "6480"},
       "6480"},
      // 1231 x 8 % = 98.48: half up gives 98, not 99.
      {"half up below a half", {{' ', "1231"}, {kTax, ""}}, {"1231", "98"}, "1329", 2, ".08", 2},
      // Rounding up keeps the sign: -98.48 gives -99.
      {"negative tax rounded up", {{' ', "-1231"}, {kTax, ""}}, {"-1231", "-99"}, "-1330", 2, ".08", 0},
      {"two # in a row", {{' ', "10"}, {'#', ""}, {'#', "5"}}, {"10", "10", ""}, "10"},
      {"$ since the last $", {{' ', "1"}, {' ', "2"}, {'#', ""}, {' ', "4"}, {'$', ""}}, {"1", "2", "3", "4", "7"}, "7"},
      {"ｳ resets all six", {{' ', "100"}, {'\xB3', ""}, {' ', "7"}, {'\xB2', ""}}, {"100", "100", "7", "7"}, "107"},
      {"tax below tax", {{' ', "1000"}, {kTax, ""}, {kTax, ""}}, {"1000", "100", "110"}, "1210", 2, ".1"},
      {"non-print tax still counted", {{' ', "1000"}, {kTax, "", "", 'U'}}, {"1000", "100"}, "1100", 2, ".1"},
      {"no rows", {}, {}, ""},
      {"~ and memo rows keep their cells",
       {{' ', "55"}, {'~', "9"}, {kMemo, "9"}, {'Q', "9"}, {'#', ""}},
       {"55", "9", "9", "9", "55"},
       "55"},
      {"overflow mark reads 0", {{' ', over}, {' ', "5"}, {'#', ""}}, {over, "5", "5"}, "5"},
      {"sum beyond the column", {{' ', "999999999999"}, {' ', "1"}, {'#', ""}}, {"999999999999", "1", over}, over},
      {"tax beyond every range", {{' ', "1000"}, {kTax, ""}}, {"1000", over}, "1000", 2, "900000000000000"},
      {"K is the tax row in kind 2", {{' ', "1000"}, {'K', ""}}, {"1000", "80"}, "1080"},
      {"K and ｹ passed over in kind 3", {{' ', "1000"}, {'K', "77"}, {kExpense, "66"}}, {"1000", "77", "66"}, "1000", 3},
  };
  for (const Case& c : cases) {
    st.SystemKind = c.systemKind;
    st.STax = *Currency::Parse(c.taxRate);
    st.STaxMethod = c.taxMethod;
    SheetOf(c.rows);
    st.SheetTotalRecord = Blank();
    Calc();
    EXPECT_EQ(Amounts(), c.amounts) << c.name;
    EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), c.closing) << c.name;
  }
}

// Expense rows of system kinds 2 and 4: the sum so far times the rate after
// "[@", rounded by the expense method; a rate of one character passes the
// row over (its value stays and is not added); an overflowed result is
// stored as it is and reads 0.
TEST_F(LevelCalcTest, ExpenseRowsApplyTheirRateToTheSum) {
  struct Case {
    const char* name;
    int systemKind;
    char kind;
    std::string rate;
    int keta;
    std::string base;
    std::string expense;
    std::string closing;
  };
  const std::string over(12, '+');
  const Case cases[] = {
      {"kind 2", 2, kExpense, "[@*1.08", 0, "1000", "1080", "2080"},
      {"rounded down to tens", 2, kExpense, "[@*1.085", 1, "1000", "1080", "2080"},
      {"kind 4, old code", 4, 'K', "[@*.5", 0, "1000", "500", "1500"},
      {"short rate", 2, kExpense, "[@5", 0, "1000", "77", "1000"},
      {"no rate", 4, kExpense, "", 0, "1000", "77", "1000"},
      {"overflow", 2, kExpense, "[@*2", 3, "999999999999", over, "999999999999"},
  };
  for (const Case& c : cases) {
    st.SystemKind = c.systemKind;
    st.SKeihiMethodKeta = c.keta;
    SheetOf({{' ', c.base}, {c.kind, "77", c.rate}});
    st.SheetTotalRecord = Blank();
    Calc();
    EXPECT_EQ(Cell(2, 1, kAmount), c.expense) << c.name;
    EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), c.closing) << c.name;
  }
}

// The quantity formulas of item rows are computed and the definitions that
// read their answer follow; the total rows get their row definitions and
// the closing record its total definitions, which read the sums of this
// very calculation ("[#").
TEST_F(LevelCalcTest, FormulasAndTotalDefinitions) {
  Layout(1, {{"名称", "C", 6}, {"計算式", "S", 12}, {"数量", "A2", 10}, {"単価", "0", 10},
             {"金額", "0", 12, "[[C*[[D", "SUM"}, {"半額", "1", 10, "[[E/2", "[#E/2"}, {"倍額", "0", 12, "", "[#F*4"}});
  Build();
  Sheet({Row(1, ' ', {{2, "12.5*4"}, {4, "1200"}}), Row(1, ' ', {{2, "2*(3+1)"}, {4, "1500"}}),
         Row(1, ' ', {{3, "3"}, {4, "850"}, {5, "2550"}, {6, "1"}}), Row(1, '#', {{7, "9"}})});
  Calc();
  EXPECT_EQ(Cell(1, 1, 3), "50.00");
  EXPECT_EQ(Cell(1, 1, kAmount), "60000");
  EXPECT_EQ(Cell(1, 1, 6), "30000.0");
  EXPECT_EQ(Cell(2, 1, 3), "8.00");
  EXPECT_EQ(Cell(2, 1, kAmount), "12000");
  // A row without a quantity formula waits for the full recalculation.
  EXPECT_EQ(Cell(3, 1, 6), "1");
  EXPECT_EQ(Cell(4, 1, kAmount), "74550");
  EXPECT_EQ(Cell(4, 1, 6), "37275.0");
  EXPECT_EQ(Cell(4, 1, 7), "");  // an empty row definition stores blanks
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 6), "37275.0");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 7), "149100");

  // While every level is recalculated every item row's definitions are too.
  st.RecalcAllRunning = true;
  Calc();
  EXPECT_EQ(Cell(3, 1, 6), "1275.0");
}

// Each row's share of the referenced column's closing value; total rows get
// one but do not add to the closing ratio; non-print, memo and memo-type
// rows get none (a memo-type row's text runs over the columns and stays).
TEST_F(LevelCalcTest, CompositionRatios) {
  Layout(1, {{"名称", "C", 6}, {"計算式", "S", 12}, {"数量", "A2", 10}, {"単価", "0", 10},
             {"金額", "0", 12, "", "SUM"}, {"比率", "2", 8, "RATIO    E"}});
  Build();
  std::string memo = Row(1, '1', {});
  const std::string text = ToSjis("一行目のメモは金額欄と比率欄をまたいで最後まで続きます。");
  memo.replace(19, text.size(), text);
  Sheet({Row(1, ' ', {{kAmount, "250"}}), Row(1, ' ', {{kAmount, "500"}, {6, "9"}}, 'U'),
         Row(1, ' ', {{kAmount, "750"}}), Row(1, '#', {}), memo, Row(1, kMemo, {{6, "9"}})});
  Calc();
  EXPECT_EQ(Cell(1, 1, 6), "25.00");
  EXPECT_EQ(Cell(2, 1, 6), "9");
  EXPECT_EQ(Cell(3, 1, 6), "75.00");
  EXPECT_EQ(Cell(4, 1, 6), "100.00");
  EXPECT_EQ(st.SheetRows[5], memo);
  EXPECT_EQ(Cell(6, 1, 6), "9");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 6), "100.00");

  // 1 / 3 each: the closing ratio is the sum of the stored ones.
  Sheet({Row(1, ' ', {{kAmount, "1"}}), Row(1, ' ', {{kAmount, "1"}}), Row(1, ' ', {{kAmount, "1"}})});
  Calc();
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 6), "99.99");

  // A ratio definition that names no column of the level computes nothing.
  for (const char* def : {"RATIO", "RATIO    Z"}) {
    st.ColFormula[1][6] = def;
    Sheet({Row(1, ' ', {{kAmount, "1"}, {6, "7"}})});
    st.SheetTotalRecord = Blank();
    Calc();
    EXPECT_EQ(Cell(1, 1, 6), "7") << def;
    EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 6), "") << def;
  }
}

// A formula column last in its level has no column for its answer: the
// formulas are left alone.
TEST_F(LevelCalcTest, FormulaColumnWithoutAnAnswerColumn) {
  Layout(1, {{"名称", "C", 6}, {"金額", "0", 12, "", "SUM"}, {"計算式", "S", 12}});
  Build();
  Sheet({Row(1, ' ', {{2, "5"}, {3, "2*3"}})});
  const std::string before = st.SheetRows[1];
  Calc();
  EXPECT_EQ(st.SheetRows[1], before);
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, 2), "5");
}

// What is painted: the computed cells and the totals line of the level on
// screen, with thousands separators; nothing while painting is off or for
// another level. Rows beyond the sheet's limit are never touched.
TEST_F(LevelCalcTest, PaintsTheLevelOnScreenOnly) {
  ShowGrid();
  Sheet({Row(1, ' ', {{2, "12.5*4"}, {4, "1200"}}), Row(1, '#', {})});
  LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
  EXPECT_EQ(GetTextData32(grid, kAmount, 1), "60,000");
  EXPECT_EQ(GetTextData32(grid, kAmount, 2), "60,000");
  EXPECT_EQ(GetTextData32(grid, kAmount, 201), "60,000");

  for (int c = 1; c <= kAmount; ++c)
    for (int r : {1, 2, 201}) SetTextData32(grid, c, r, "");
  Calc();
  st.CurrentLevel = 2;
  LevelCalc(st, 1, st.SheetTotalRecord, 1, st.UsedRows);
  st.CurrentLevel = 1;
  for (int c = 1; c <= kAmount; ++c)
    for (int r : {1, 2, 201}) EXPECT_EQ(GetTextData32(grid, c, r), "") << c << "," << r;

  // A column hidden in the mask screen is stored, not shown.
  st.MaskDef[1][kAmount][0] = 'M';
  StoreColumnValue(st, 1, st.SheetRows[2], "1234", kAmount, 2);
  EXPECT_EQ(Cell(2, 1, kAmount), "1234");
  EXPECT_EQ(GetTextData32(grid, kAmount, 2), "");

  st.SheetRows[201] = Row(1, '#', {{kAmount, "77"}});
  LevelCalc(st, 1, st.SheetTotalRecord, 1, 5000);
  EXPECT_EQ(Cell(201, 1, kAmount), "77");
}

// Automatic recalculation off: nothing is computed; the total, tax and
// expense rows and the totals line show "#" across their total columns.
TEST_F(LevelCalcTest, TotalsMaskedWhileRecalculationIsOff) {
  ShowGrid();
  st.ReCalcFlag = false;
  Sheet({Row(1, ' ', {{kAmount, "10"}}), Row(1, '#', {{kAmount, "5"}}), Row(1, kTax, {}), Row(1, kExpense, {}),
         Row(1, 'Z', {}), Row(1, 'S', {})});
  const auto before = st.SheetRows;
  LevelRecalcAndShow(st, st.SheetTotalRecord, 1, st.UsedRows);
  EXPECT_EQ(st.SheetRows, before);
  const std::string mask(12, '#');
  for (int r : {2, 3, 4, 201}) EXPECT_EQ(GetTextData32(grid, kAmount, r), mask) << r;
  for (int r : {1, 5, 6}) EXPECT_EQ(GetTextData32(grid, kAmount, r), "") << r;
  EXPECT_EQ(GetTextData32(grid, 4, 2), "");  // no total in the price column

  for (int r : {2, 201}) SetTextData32(grid, kAmount, r, "");
  st.CalcNoDisplay = true;
  TotalRowsMask(st, st.UsedRows);
  TotalRowsMask(st, 0);
  st.CalcNoDisplay = false;
  TotalRowsMask(st, 0);
  for (int r : {2, 201}) EXPECT_EQ(GetTextData32(grid, kAmount, r), "") << r;
}

// While every level is recalculated, the item rows come out as computing
// each row (RowCalc) and then its quantity formula's answer with everything
// it propagates would leave them, whether or not the second step can be
// left out: definitions read before they are computed, a named variable the
// quantity formula assigns, a formula reading the row's computed amount. The
// amount is an answer column too: the quantity formula's answer goes there
// first, then its definition.
TEST_F(LevelCalcTest, ItemRowsAsComputedRowByRowThenFromTheFormulaColumn) {
  struct Case {
    const char* what;
    std::string amountDef, halfDef;  // columns E and F
    std::string order;               // "" keeps the order built
    std::vector<std::string> formulas;
    std::string quantityDef = "";    // column C, the formula's answer column
  };
  const Case cases[] = {
      {"plain definitions", "[[C*[[D", "[[E/2", "", {"12.5*4", "", "2*(3+1)", "7", "-3.25", "-99999999999999*99999999999"}},
      {"read before computed", "[[C*[[D", "[[E/2", "FE", {"12.5*4", "", "2*(3+1)", "7"}},
      {"a named variable", "[[C*[[D*K", "", "", {"K=[[F+1:3", "K=2:5", "", "K=[[E:1.5"}},
      {"the formula reads the amount", "[[C*[[D", "[[E/2", "", {"[[E/100", "[[F+1", "", "2"}},
      {"beyond the range", "[[C*[[D*[[D*[[D*[[D", "", "", {"99999999", "1"}},
      {"a definition of the answer column", "[[C*[[D", "", "", {"12.5*4", "", "7"}, "[[D/100"},
  };
  for (const Case& c : cases) {
    Layout(1, {{"名称", "C", 6}, {"計算式", "S", 12}, {"数量", "A2", 10, c.quantityDef}, {"単価", "0", 10},
               {"金額", "A", 12, c.amountDef, "SUM"}, {"半額", "1", 12, c.halfDef}});
    Build();
    if (!c.order.empty()) st.RowFormulaOrder[1] = c.order;
    std::vector<std::string> recs;
    int price = 1200;
    for (const std::string& f : c.formulas) {
      recs.push_back(Row(1, ' ', {{2, f}, {3, "3"}, {4, std::to_string(price)}, {5, "17"}, {6, "4"}}));
      price = price * 7 % 100003 + 11;
    }
    recs.push_back(Row(1, '#', {}));
    Sheet(recs);
    st.SheetTotalRecord = Blank();
    st.FormulaVariableTable.clear();
    const LevelContext ctx{1, {}, st.SheetTotalRecord};
    for (int r = 1; r <= st.UsedRows; ++r) RowCalc(st, ctx, st.SheetRows[size_t(r)]);
    for (int r = 1; r <= st.UsedRows; ++r) {
      std::string& rec = st.SheetRows[size_t(r)];
      const std::string text = Cell(rec, 1, 2);
      if (rec[2] != ' ' || text.empty()) continue;
      const std::string answer = FormulaEvaluate(st, ctx, rec, ToSjis(text));
      StoreCell(st, rec, 1, 3, RefitToColumn(st, 1, 3, FitAnswer(st, 1, 3, answer)));
      RowFormulaCalc(st, ctx, r, rec, 3, false);
    }
    const std::vector<std::string> expected(st.SheetRows.begin() + 1, st.SheetRows.begin() + st.UsedRows);
    const auto variables = st.FormulaVariableTable;

    Sheet(recs);
    st.SheetTotalRecord = Blank();
    st.FormulaVariableTable.clear();
    st.RecalcAllRunning = true;
    Calc();
    st.RecalcAllRunning = false;
    for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(st.SheetRows[i + 1], expected[i]) << c.what << " row " << i + 1;
    ASSERT_EQ(st.FormulaVariableTable.size(), variables.size()) << c.what;
    for (size_t i = 0; i < variables.size(); ++i) EXPECT_EQ(st.FormulaVariableTable[i].value, variables[i].value) << c.what;
  }
}

}  // namespace
}  // namespace kv::test
