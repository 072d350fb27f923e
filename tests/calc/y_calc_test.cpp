// Ｙ計算 on a small sheet: A 名称, B 数量 (two decimals), C 単価 (whole
// numbers, 8 bytes), D 金額 = [[B*[[C with a SUM total.
#include <gtest/gtest.h>

#include <optional>

#include "calc/calc_fixture.h"
#include "calc/y_calc.h"
#include "sheet/undo_clear.h"

namespace kv::test {
namespace {

constexpr int kQty = 2, kPrice = 3, kAmount = 4;

class YCalcTest : public CalcFixture {
 protected:
  void SetUp() override {
    Layout(1, {{"名称", "C", 6}, {"数量", "2", 10}, {"単価", "0", 8}, {"金額", "0", 10, "[[B*[[C", "SUM"}});
    Build();
    ShowGrid();
    st.ReCalcFlag = true;
  }

  // Selects column `col` of rows first..last and answers the rate prompt.
  void Select(int col, int first, int last) { grid.SetSelection(col, first, col, last); }
  void Rate(const std::string& rate, bool ok = true) {
    ui.AnswerModal("Z_InputBox", [this, rate, ok] {
      EXPECT_EQ(st.InputTitle, "Ｙ計算");
      EXPECT_EQ(st.InputText, "*");
      st.InputText = rate;
      st.InputOk = ok;
    });
  }
};

TEST_F(YCalcTest, RateAndRoundingGiveTheStoredTexts) {
  struct Case {
    const char* cell;
    const char* rate;
    int col;
    std::optional<std::string> unit;  // the rounding digit; none: No to the question
    const char* stored;
  };
  const Case cases[] = {
      {"100", "/.87", kPrice, std::nullopt, "114"},  // 114.94.. in a whole-number column
      {"1234", "*1", kPrice, "1", "1230"},
      {"1235", "*1", kPrice, "1", "1240"},
      {"1250", "*1", kPrice, "10", "1300"},
      {"12345", "*1", kPrice, "1000", "10000"},
      {"4", "*1", kPrice, "10", ""},                         // rounded to 0: blank
      {"99999990", "*1", kPrice, "10", "++++++++"},          // gains a digit: overflow mark
      {"500", "*3", kPrice, std::nullopt, "1500"},
      {"1.5", "*2", kQty, std::nullopt, "3.00"},             // decimals: no question
      {"1", "/0.00001", kPrice, std::nullopt, "100000"},      // a small divisor is no 0
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.cell) + c.rate);
    Sheet({Row(1, ' ', {{1, "a"}, {kQty, "2"}, {c.col, c.cell}})});
    Select(c.col, 1, 1);
    Rate(c.rate);
    if (c.col == kPrice) {
      ui.AnswerMsgBox(c.unit ? vbYes : vbNo, "数値を丸めますか？");
      if (c.unit) ui.AnswerInput(*c.unit);
    }
    YKeisanRun(st);
    ui.ExpectAllAnswered();
    EXPECT_EQ(Cell(1, 1, c.col), c.stored);
  }
}

TEST_F(YCalcTest, OnlyItemRowsChangeAndTheTotalsFollowInOneUndoStep) {
  Sheet({Row(1, ' ', {{kQty, "2"}, {kPrice, "100"}}), Row(1, '#', {{kPrice, "7"}}),
         Row(1, ' ', {{kQty, "1"}}), Row(1, ' ', {{kQty, "3"}, {kPrice, "10"}})});
  const auto before = st.SheetRows;
  // A whole-column selection is cut to the used rows.
  Select(kPrice, 1, st.Imax);
  Rate("*1.1");
  ui.AnswerMsgBox(vbYes, "数値を丸めますか？");
  ui.AnswerInput("1");
  YKeisanRun(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Cell(1, 1, kPrice), "110");
  EXPECT_EQ(Cell(1, 1, kAmount), "220");
  EXPECT_EQ(Cell(2, 1, kPrice), "7");  // the total row keeps its text
  EXPECT_EQ(Cell(3, 1, kPrice), "");   // empty stays empty
  EXPECT_EQ(Cell(4, 1, kPrice), "10");  // 11 rounded at the ones
  EXPECT_EQ(Cell(4, 1, kAmount), "30");
  EXPECT_EQ(Cell(st.SheetTotalRecord, 1, kAmount), "250");
  EXPECT_TRUE(st.SheetModified);
  UndoRestore(st, grid);
  for (int r = 1; r <= 4; ++r) EXPECT_EQ(st.SheetRows[size_t(r)], before[size_t(r)]) << r;
}

TEST_F(YCalcTest, WrongColumnsAndRatesAreRefused) {
  Sheet({Row(1, ' ', {{1, "a"}, {kPrice, "100"}})});
  const std::string row = st.SheetRows[1];
  grid.SetAutoScroll(true);
  Select(1, 1, 1);
  ui.AnswerMsgBox(vbOK, "数値入力の欄を指定して下さい");
  YKeisanRun(st);
  Select(kAmount, 1, 1);
  ui.AnswerMsgBox(vbOK, "計算結果出力欄は無効です");
  YKeisanRun(st);
  // A rate dividing by 0 would blank every cell: refused before anything changes.
  for (const char* rate : {"1.05", "*abc", "*1.23456789", "/0", "/0.00", "/(1-1)", "*2/0", "/-0"}) {
    Select(kPrice, 1, 1);
    Rate(rate);
    ui.AnswerMsgBox(vbOK, "正しく入力して下さい");
    YKeisanRun(st);
  }
  Select(kPrice, 1, 1);
  Rate("*2", false);  // cancelled
  YKeisanRun(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(st.SheetRows[1], row);
  EXPECT_TRUE(grid.AutoScroll());
}

TEST_F(YCalcTest, WrongRoundingDigitsAreAskedAgainAndCancelKeepsTheRate) {
  Sheet({Row(1, ' ', {{kPrice, "1234"}})});
  Select(kPrice, 1, 1);
  Rate("*2");
  ui.AnswerMsgBox(vbYes, "数値を丸めますか？");
  ui.AnswerInput("20");
  ui.AnswerMsgBox(vbOK, "10,100,1000 等の入力をして下さい");
  ui.AnswerInput("100000");
  ui.AnswerMsgBox(vbOK, "丸めは10000迄です");
  ui.AnswerInput("abc");
  ui.AnswerMsgBox(vbOK, "10,100,1000 等の入力をして下さい");
  ui.AnswerInput("");
  ui.AnswerMsgBox(vbCancel, "10,100,1000 等の入力をして下さい");
  YKeisanRun(st);
  ui.ExpectAllAnswered();
  EXPECT_EQ(Cell(1, 1, kPrice), "2468");
}

}  // namespace
}  // namespace kv::test
