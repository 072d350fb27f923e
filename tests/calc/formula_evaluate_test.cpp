#include "calc/formula_evaluate.h"

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "calc/formula_fixture.h"

namespace kv::test {
namespace {

// Rows of both levels (see LayOutTwoLevels): a level-1 item row (B 3.5,
// C 12.5, D -40), its sheet's closing record (D 1000), and a level-2 row
// under it (B 7, C holding an overflow mark) with its closing record (C 500).
const std::string kRow1 = MakeRecord({{20, "名前"}, {39, "3.5"}, {50, "12.5"}, {63, "-40"}});
const std::string kTotal1 = MakeRecord({{62, "1000"}});
const std::string kRow2 = MakeRecord({{20, "項目"}, {49, "7"}, {50, "++++++++++"}});
const std::string kTotal2 = MakeRecord({{57, "500"}});

struct Case {
  const char* formula;
  int level;  // the context: 1 (kRow1, no parent) or 2 (kRow2 under kRow1)
  const char* result;
};

TEST(FormulaEvaluate, EveryFormFormulasTake) {
  const Case cases[] = {
      // Arithmetic and the text of results.
      {"2*3.5", 1, "7"},
      {"10/4", 1, "2.5"},
      {"1/2", 1, ".5"},
      {"10/3", 1, "3.3333"},
      {"2+3*4", 1, "14"},
      {"(2+3)*4", 1, "20"},
      {"5-5", 1, "0"},
      {"7/0", 1, "0"},
      {"1/-20", 1, "-.05"},
      {"1/3*3", 1, "1"},   // the quotient cut at 14 decimals, the sum rounded
      {"2/3*3", 1, "2"},
      {"0.1*0.2", 1, ".02"},
      {"0.00005+0.00005", 1, "0"},  // an operand below 0.0001 counts 0
      {"0.00015+0", 1, ".0002"},    // the sum to four decimals, a half to even
      {"0.00025+0", 1, ".0002"},
      {"2 *3", 1, "6"},            // the blank belongs to the number token
      {"12 5+1", 1, "126"},        // blanks inside a number are skipped
      {"-3", 1, "-3"},
      {"--3", 1, "3"},
      {"2*-3", 1, "-6"},
      {"2*--3", 1, "6"},
      {"2*-", 1, "0"},             // a sign alone reads 0
      {"", 1, "0"},
      {"   ", 1, "0"},
      {"1::2", 1, "0"},            // an empty statement ends the formula
      {"2(3)", 1, "5"},
      {"2(5-5)", 1, "2"},  // a zero group adds 0, it does not append a digit
      {"2()", 1, "2"},
      {"2*(5-5)+1", 1, "1"},
      // Parentheses and the signs that meet at a replaced group.
      {"2-(3)", 1, "-1"},
      {"2-(-3)", 1, "5"},
      {"2+(-3)", 1, "-1"},
      {"-(-(3))", 1, "3"},
      {"2*(-3)", 1, "-6"},
      {"((((1+2))))*2", 1, "6"},
      // Powers.
      {"2^3*2", 1, "16"},
      {"-2^2", 1, "4"},
      {"3-2^2", 1, "-1"},
      {"(2+3)^2", 1, "25"},
      {"2^-1", 1, ".5"},
      {"2^0.5", 1, "1.4142"},
      {"4^-0.5", 1, ".5"},
      {"0^0", 1, "1"},
      {"1.5^2", 1, "2.25"},
      {"[[C^2", 1, "CErr 未定義ﾃﾞｽ"},  // the base stops at the "[" before the letter
      {"(1/3)^2", 1, ".1111"},
      // Logarithms.
      {"LOG(1000)", 1, "3"},
      {"log(2)", 1, ".301"},
      {"LOG(0.5)", 1, "-.301"},
      {"LOG(0)+5", 1, "0"},
      {"LOG(10^2)", 1, "2"},
      {"LOG(100)^2", 1, "LOGErr 未定義ﾃﾞｽ"},
      {"LOG(-5)", 1, "Err 数式等のエラーです!"},
      {"LOG(10", 1, "Err 式の設定ｴﾗｰ"},
      {"LOG(10)+LOG(100)", 1, "LOG記号は式の中で１ｹの仕様です"},
      // Rounding marks, anywhere in the statement, at most one applied.
      {"@10/3", 1, "4"},
      {"!-2.5", 1, "-3"},
      {"~2.5", 1, "3"},
      {"~-2.5", 1, "-2"},
      {"@-2.5", 1, "-2"},
      {"!2.9", 1, "2"},
      {"~2.4", 1, "2"},
      {"~-2.6", 1, "-3"},
      {"2.1@", 1, "3"},
      {"@~2.4", 1, "3"},  // "@" before "~"
      {"!~2.6", 1, "2"},  // "!" before "~"
      {"@4", 1, "4"},
      {"@-0.4", 1, "0"},
      {"@2.1:2.5", 1, "2.5"},  // a mark belongs to its statement
      // Assignments.
      {"A=2.5:B=4:A*B", 1, "10"},
      {"A=5:", 1, "0"},
      {"A=5", 1, ""},
      {"Z=Z+1:Z", 1, "1"},  // a new name reads 0 in its own expression
      {"ｶｽﾞ=3:ｶｽﾞ*2", 1, "6"},
      {"A#=3:A#*2", 1, "6"},
      {"=5", 1, "Err ??\?=5|=5"},
      {"@=5", 1, "Err ??\?=5|@=5"},
      {"+A=5", 1, "Err変数定義間違ｲ"},
      {".A=5", 1, "Err変数定義間違ｲ"},
      {"@ A=5", 1, "Err変数定義間違ｲ"},
      {"X+1", 1, "XErr 未定義ﾃﾞｽ"},
      {"1-X", 1, "XErr 未定義ﾃﾞｽ"},
      {"2* 3", 1, " 3Err 未定義ﾃﾞｽ"},
      {"2 + 3", 1, " 3Err 未定義ﾃﾞｽ"},
      {"a=1:A", 1, "AErr 未定義ﾃﾞｽ"},  // names are compared exactly
      // References.
      {"[[C*2", 1, "25"},
      {"[[B+[[D", 1, "-36.5"},
      {"-[[D", 1, "40"},
      {"[#D/4", 1, "250"},
      {"[$B", 1, "0"},  // no parent row above level 1
      {"[$B*2", 2, "7"},  // the parent row, with the level above's positions
      {"[[B*2", 2, "14"},
      {"[[C+1", 2, "1"},  // an overflow mark reads 0
      {"[#C", 2, "500"},
      {"[$A", 2, "0"},    // a text reads 0
      {"[uQ+5", 1, "5"},
      {"[[C", 1, "12.5"},
      {"[[D", 2, "Err 数式等のエラーです!"},  // level 2 has no column D
      {"[[1", 1, "Err 数式等のエラーです!"},
      {"[[[", 1, "Err 数式等のエラーです!"},
      {"[[", 1, "Err 数式等のエラーです!"},
      {"[xA", 1, "Err 数式等のエラーです!"},
      {"[", 1, "Err 数式等のエラーです!"},
      // Every failure text.
      {"2*(3+1", 1, "Err()の数が違います"},
      {"(2))+(3)", 1, "Err()の数が違います"},
      {")2(", 1, "Err) ﾊ ﾀﾞﾒ"},
      {"*3", 1, "Err初ﾒﾉ*/ﾊ ﾀﾞﾒ"},
      {"2+(/3)", 1, "Err初ﾒﾉ*/ﾊ ﾀﾞﾒ"},
      {"2^2^2", 1, "＾記号は式の中で１ｹの仕様です"},
      {"2^(2^2)", 1, "＾記号は式の中で１ｹの仕様です"},
      {"(2+3^2", 1, "Err()の数が違います"},
      {"2)^2", 1, "Err 式の設定ｴﾗｰ"},
      {"2^(3", 1, "Err 式の設定ｴﾗｰ"},
      {"2^", 1, "Err 式の設定ｴﾗｰ"},
      {"2*^3", 1, "Err 式の設定ｴﾗｰ"},
      {"2^*3", 1, "Err 式の設定ｴﾗｰ"},
      {"2^-", 1, "Err 式の設定ｴﾗｰ"},
      {"^2", 1, "Err 数式等のエラーです!"},
      {"(2))+((3)", 1, "Err 数式等のエラーです!"},
      {"a)+(b", 1, "Err 数式等のエラーです!"},
      {"2**3", 1, "Err 数式等のエラーです!"},
      {"2*", 1, "Err 数式等のエラーです!"},
      {"1E400", 1, "Err 数式等のエラーです!"},
      {"99999999999999999999*99999999999999999999", 1, "Err 数式等のエラーです!"},
      {"922337203685478", 1, "Err 数式等のエラーです!"},  // beyond the fixed-point range
      {"2^1000000", 1, "Err 数式等のエラーです!"},
      {"0^-1", 1, "Err 数式等のエラーです!"},
      {"(-8)^0.5", 1, "Err 数式等のエラーです!"},
      // Full-width formulas compute as their half-width twins.
      {"２＋３", 1, "5"},
      {"2＋3", 1, "5"},
      {"（２＋３）＊４", 1, "20"},
      {"１０／４", 1, "2.5"},
      {"２＾３", 1, "8"},
      {"．５＋１", 1, "1.5"},
      {"－２", 1, "-2"},
      {"2　*3", 1, "6"},
      {"[[Ｃ", 1, "Err 数式等のエラーです!"},  // a full-width letter names no column
      // Double-byte characters whose second byte is "^", "[" or "@".
      {"タ=2:タ*3", 1, "6"},
      {"ー=4:ー+1", 1, "5"},
      {"メ@", 1, "メErr 未定義ﾃﾞｽ"},
  };
  for (const Case& c : cases) {
    ScriptedUi ui;
    ProgramState st(ui);
    LayOutTwoLevels(st);
    const LevelContext ctx = c.level == 1 ? LevelContext{1, {}, kTotal1} : LevelContext{2, kRow1, kTotal2};
    const std::string& row = c.level == 1 ? kRow1 : kRow2;
    EXPECT_EQ(FromSjis(FormulaEvaluate(st, ctx, row, ToSjis(c.formula))), c.result)
        << c.formula << " on level " << c.level;
  }
}

class FormulaVariables : public FormulaFixture {};

TEST_F(FormulaVariables, LiveForTheWholeRunAndAnswerWhatWasAssigned) {
  std::string assigned = "untouched";
  EXPECT_EQ(Eval("A=2.5", {}, &assigned), "");
  EXPECT_EQ(assigned, "+2.5");
  EXPECT_EQ(Eval("B=@2.5", {}, &assigned), "");
  EXPECT_EQ(assigned, " 3");
  EXPECT_EQ(Eval("C=-3", {}, &assigned), "");
  EXPECT_EQ(assigned, "-3");
  EXPECT_EQ(Eval("E=", {}, &assigned), "");
  EXPECT_EQ(assigned, "0");
  assigned = "untouched";
  EXPECT_EQ(Eval("A*B", {}, &assigned), "7.5");
  EXPECT_EQ(assigned, "untouched");
  // Another formula, another row: the variables are still there.
  EXPECT_EQ(Eval("A+C", kRow1), "-.5");
}

// A formula is answered anew whenever what it reads changed, though its
// text stays the same: a named variable, the cells of the row, the level.
TEST_F(FormulaVariables, TheSameTextFollowsWhatItReads) {
  const std::string rowB2 = MakeRecord({{39, "2"}});
  const std::string level2Row = MakeRecord({{49, "4"}});
  const LevelContext level2{2, kRow1, kTotal2};
  for (const char* k : {"2", "3"}) {
    const std::string value = k;
    Eval("K=" + value);
    EXPECT_EQ(Eval("K*2"), std::to_string(std::stoi(value) * 2));
    EXPECT_EQ(Eval("(K+1)*2"), std::to_string((std::stoi(value) + 1) * 2));
    EXPECT_EQ(Eval("[[B*K", rowB2), std::to_string(std::stoi(value) * 2));
  }
  EXPECT_EQ(Eval("[[B*2", kRow1), "7");
  EXPECT_EQ(Eval("[[B*2", rowB2), "4");
  EXPECT_EQ(Eval("[[B*2", kRow1), "7");
  EXPECT_EQ(FromSjis(FormulaEvaluate(st, level2, level2Row, "[[B*2")), "8");
  EXPECT_EQ(FromSjis(FormulaEvaluate(st, level2, kRow1, "[[B*2")), "1");  // level 2 reads ".5" at 40
  // An answer beyond the calculable range keeps its sign every time.
  for (int i = 0; i < 2; ++i) {
    st.FormulaRangeSign = 0;
    EXPECT_TRUE(IsFormulaError(FormulaEvaluate(st, {1, {}, {}}, {}, "-99999999*999999999*99")));
    EXPECT_EQ(st.FormulaRangeSign, -1);
    EXPECT_EQ(FormulaEvaluate(st, {1, {}, {}}, {}, "2*3"), "6");
    EXPECT_EQ(st.FormulaRangeSign, 0);
  }
}

TEST_F(FormulaVariables, AFailedStatementEndsTheFormulaAndKeepsEarlierAssignments) {
  EXPECT_EQ(Eval("A=1:X:A=2"), "XErr 未定義ﾃﾞｽ");
  EXPECT_EQ(Eval("A"), "1");
  EXPECT_EQ(Eval("A=1:LOG(0):A=2"), "0");
  EXPECT_EQ(Eval("A"), "1");
  // A new name whose expression fails stays, valued nothing.
  EXPECT_EQ(Eval("N=X"), "XErr 未定義ﾃﾞｽ");
  EXPECT_EQ(Eval("N+1"), "1");
  EXPECT_EQ(Eval("L=LOG(0)"), "0");
  EXPECT_EQ(Eval("L+2"), "2");
  // An old name whose expression fails keeps its value.
  EXPECT_EQ(Eval("A=X"), "XErr 未定義ﾃﾞｽ");
  EXPECT_EQ(Eval("A"), "1");
}

TEST_F(FormulaVariables, TwoHundredFiftyNamesAndNoMore) {
  for (int i = 1; i <= 250; ++i) ASSERT_EQ(Eval("V" + std::to_string(i) + "=" + std::to_string(i)), "");
  EXPECT_EQ(Eval("V251=1"), "Err変数定義ﾊ250個ﾏﾃﾞ");
  EXPECT_EQ(st.FormulaVariableTable.size(), 250u);
  EXPECT_EQ(Eval("V251"), "V251Err 未定義ﾃﾞｽ");
  EXPECT_EQ(Eval("V1=7:V1+V250"), "257");  // old names are still assignable
}

TEST_F(FormulaVariables, BelongToOneProgramState) {
  EXPECT_EQ(Eval("Q=5"), "");
  ScriptedUi otherUi;
  ProgramState other(otherUi);
  LayOutTwoLevels(other);
  EXPECT_EQ(FromSjis(FormulaEvaluate(other, LevelContext{}, {}, "Q")), "QErr 未定義ﾃﾞｽ");
}

TEST(FormulaEvaluate, ReadsTheColumnsOfTheContextLevel) {
  // The same letters name other bytes on level 2: a formula evaluated for a
  // level-2 row reads level 2's positions for "[[" and "[#", level 1's for
  // "[$", whatever level is on screen.
  ScriptedUi ui;
  ProgramState st(ui);
  LayOutTwoLevels(st);
  st.CurrentLevel = 1;
  const LevelContext ctx{2, kRow1, kTotal2};
  EXPECT_EQ(FormulaEvaluate(st, ctx, kRow2, "[[B*10+[$B+[#C"), "573.5");
  // The same text on level 1 reads level 1's columns.
  EXPECT_EQ(FormulaEvaluate(st, LevelContext{1, {}, kTotal1}, kRow1, "[[B*10+[#D"), "1035");
}

TEST(FormulaEvaluate, AnErrorIsNeverTakenForANumber) {
  // "2* 3" holds a 3 in its error text; a caller that tests the result first
  // stores a blank cell, never the 3.
  ScriptedUi ui;
  ProgramState st(ui);
  for (const char* formula : {"2* 3", "2 + 3", "X1", "1E400", "(2))+((3)", "2^2^2", "LOG(10)+LOG(100)", "=5", "*1",
                              ")1("})
    EXPECT_TRUE(IsFormulaError(FormulaEvaluate(st, {}, {}, ToSjis(formula)))) << formula;
  for (const char* formula : {"2*3", "-1", "0", "", "A=1", ".5"})
    EXPECT_FALSE(IsFormulaError(FormulaEvaluate(st, {}, {}, formula))) << formula;
}

TEST(FormulaEvaluate, EndsOnEveryMalformedTextInBoundedTime) {
  ScriptedUi ui;
  ProgramState st(ui);
  const std::string nested = std::string(10000, '(') + "1" + std::string(10000, ')');
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, nested), "1");
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, std::string(10000, '(') + std::string(10000, ')')), "0");
  const std::string err = ToSjis("Err 数式等のエラーです!");
  auto ones = [](int tokens) {
    std::string t = "1";
    for (int i = 1; i < tokens; ++i) t += "+1";
    return t;
  };
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, ones(250)), "250");
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, ones(251)), err);
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, "2*" + ones(246)), "247");  // 248 tokens with the product
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, "2*" + ones(247)), err);
  std::string longSum;
  for (int i = 0; i < 50000; ++i) longSum += "1+";
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, longSum), err);
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, std::string(100000, '7')), err);
  EXPECT_EQ(FormulaEvaluate(st, {}, {}, std::string(100000, ':')), "0");
  EXPECT_TRUE(IsFormulaError(FormulaEvaluate(st, {}, {}, "\x82")));
  EXPECT_TRUE(IsFormulaError(FormulaEvaluate(st, {}, {}, "1+\x82\x20")));
}

// A formula of numbers alone answers the same, with the same sign of a value
// beyond the calculable range, however often and after however many other
// formulas it is evaluated (more of them than the answers kept).
TEST_F(FormulaFixture, FormulasOfNumbersAloneAnswerTheSameEveryTime) {
  const LevelContext ctx{1, {}, {}};
  const char* formulas[] = {"37*(5+.5)", "1/3", "-99999999999999*99999999999", "2*", "123456789012345678901234567890",
                            "1+1+1+1+1+1+1+1+1+1+1+1+1+1+1+1", "5-5"};
  for (const char* formula : formulas) {
    const std::string first = FormulaEvaluate(st, ctx, {}, formula);
    const int range = st.FormulaRangeSign;
    EXPECT_EQ(FormulaEvaluate(st, ctx, {}, "1+1"), "2");
    EXPECT_EQ(FormulaEvaluate(st, ctx, {}, formula), first) << formula;
    EXPECT_EQ(st.FormulaRangeSign, range) << formula;
  }
  EXPECT_TRUE(IsFormulaError(FormulaEvaluate(st, ctx, {}, "-99999999999999*99999999999")));
  EXPECT_EQ(st.FormulaRangeSign, -1);
  for (int round = 0; round < 2; ++round)
    for (int i = 1; i <= 6000; ++i)
      ASSERT_EQ(FormulaEvaluate(st, ctx, {}, std::to_string(i) + "*2"), std::to_string(2 * i)) << i << " round " << round;
}

// Products and sums of cells answered straight from their digits give what
// the general evaluation gives, over every combination of cell texts (signs,
// decimals, blanks, marks, widths, values beyond the calculable range); the
// shortcut leaves to it what it cannot do exactly.
TEST_F(FormulaFixture, ProductSumsAnswerAsTheGeneralEvaluation) {
  const LevelContext ctx{1, {}, {}};
  const char* formulas[] = {"[[B*[[C",     "[[B*[[C*[[D",    "[[B*1.1-[[D", "-[[B*[[C",   "[[B*-[[C+[[D",
                            "[[B+[[C-[[D", "2*[[B",          "[[B*[[C*.0001", "[[D*[[D*[[D", "--[[B*[[C",
                            "[[B*[[C ",    "[[B*[[C+[[D*.5+1+2", "[[B/[[C",  "[[B*[[C+K",   "[[B*[[Z",
                            "[[B*",        "[[B**[[C",       "[[B*1e2",      "[[b*[[c"};
  const char* cells[] = {"3.5",          "12.5",          "-40",      "",         "0",
                         "-0",           ".5",            "0.00001",  "-.0001",   "99999999999",
                         "123456789012", "-99999.9999",   "1 2",      "++++++++", "12-",
                         "1e3",          "1.23456789012", "-.00005",  "0.00015",  "999999999999"};
  auto record = [](const char* b, const char* c, const char* d) {
    // Each right-aligned in its 12 bytes, as stored.
    auto at = [](int pos, std::string text) { return std::pair<int, std::string>{pos + 12 - int(text.size()), text}; };
    return MakeRecord({at(30, b), at(42, c), at(54, d)});
  };
  int answered = 0;
  for (const char* formula : formulas)
    for (const char* b : cells)
      for (const char* c : cells)
        for (const char* d : {"-40", "", "0.00001", "999999999999"}) {
          const std::string rec = record(b, c, d);
          st.FormulaRangeSign = 7;
          const std::optional<std::string> fast = ProductSumAnswer(st, ctx, rec, formula);
          if (!fast) continue;
          ++answered;
          EXPECT_EQ(st.FormulaRangeSign, 0);
          const std::string general = FormulaEvaluate(st, ctx, rec, formula);
          EXPECT_EQ(*fast, general) << formula << " B=" << b << " C=" << c << " D=" << d;
          EXPECT_EQ(st.FormulaRangeSign, 0) << formula << " B=" << b << " C=" << c << " D=" << d;
        }
  EXPECT_GT(answered, 0);

  // The forms and cells it is meant for are answered by it.
  const std::string rec = record("3.5", "12.5", "-40");
  for (const auto& [formula, answer] : {std::pair<const char*, const char*>{"[[B*[[C", "43.75"},
                                        {"[[B*[[C*[[D", "-1750"},
                                        {"[[B*1.1-[[D", "43.85"},
                                        {"-[[B*[[C+[[D", "-83.75"}}) {
    const std::optional<std::string> fast = ProductSumAnswer(st, ctx, rec, formula);
    ASSERT_TRUE(fast.has_value()) << formula;
    EXPECT_EQ(*fast, answer) << formula;
  }
  for (const char* other : {"[[B/[[C", "[[B*[[C+K", "([[B)*[[C", "K=[[B*[[C"})
    EXPECT_FALSE(ProductSumAnswer(st, ctx, rec, other).has_value()) << other;
}

}  // namespace
}  // namespace kv::test
