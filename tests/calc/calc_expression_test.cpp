#include "calc/calc_expression.h"

#include <gtest/gtest.h>

#include <string>

#include "state/program_state.h"
#include "platform/calc2.h"
#include "platform/codepage.h"
#include "support/scripted_ui.h"

namespace kv::test {
namespace {

class CalcExpressionTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};

  // The answer, or "fail:" and what was left in the result.
  std::string Run(const std::string& expression) {
    std::string result = "not replaced";
    const bool ok = CalcExpression(st, ToSjis(expression), result);
    return ok ? FromSjis(result) : "fail:" + FromSjis(result);
  }
};

TEST_F(CalcExpressionTest, StatementsTheCalculationSends) {
  struct Case {
    const char* expression;
    const char* answer;
  };
  // In order: later statements read the variables earlier ones set.
  const Case cases[] = {
      {"1250", "1250"},  // a whole answer loses its ".000000"
      {"12.5", "12.500000"},
      {"1250.5", "1250.500000"},
      {"-12", "-12"},
      {"-12.5", "-12.500000"},
      {".87", "0.870000"},
      {"5.", "5"},
      {"13000--12840", "25840"},
      {"1234.5*1.08", "1333.260000"},
      {"1231*8/100", "98.480000"},
      {" ( 2 + 3 ) * 4 ", "20"},
      {"2/3", "0.666667"},
      {"1/8", "0.125000"},
      {"0.0000005", "0"},  // six decimals, a half to the even digit
      {"0.0000015", "0.000002"},
      {"1/3*3", "1"},
      {"[[C=12.5", "12.500000"},
      {"[[D=[[C*2", "25"},
      {"[[D+1", "26"},
      {"A1=0", "0"},
      {"A1=A1+500", "500"},
      {"A1=A1+250.25", "750.250000"},
      {"A#=1000", "1000"},
      {"AX=400", "400"},
      {"(A#-AX)*5", "3000"},
      {"@M1=0", "0"},
      {"@M1=@M1+120", "120"},
      {"MG1=0", "0"},
      {"MG1=MG1+1000", "1000"},
      {"MR2=50", "50"},
      {"MG1+MR2", "1050"},
      {"MR2+-5", "45"},
      {"TAB=3", "3"},
      {"ｱｲ=2", "2"},
      {"ｱｲ*TAB", "6"},
      // Failures leave the result empty and store nothing.
      {"X+1", "fail:"},
      {"[[E=", "fail:"},
      {"[[E=X", "fail:"},
      {"[[E", "fail:"},
      {"1 2", "fail:"},
      {"1E5", "fail:"},
      {"1/0", "fail:"},
      {"", "fail:"},
      {"(1", "fail:"},
      {"1)", "fail:"},
      {"2*", "fail:"},
      {".", "fail:"},
      {"1.2.3", "fail:"},
      {"１+1", "fail:"},
      {"A1=", "fail:"},
      {"A1", "750.250000"},  // unchanged by the failed assignment
      {"99999999999999999999*99999999999999999999", "fail:"},
      {"1234567890123456789012345678901234567890", "fail:"},
  };
  for (const Case& c : cases) EXPECT_EQ(Run(c.expression), c.answer) << c.expression;
}

TEST_F(CalcExpressionTest, VariablesLiveUntilCalcInitAndBelongToTheirProgramState) {
  EXPECT_EQ(Run("Q=5"), "5");
  ScriptedUi otherUi;
  ProgramState other(otherUi);
  std::string result;
  EXPECT_FALSE(CalcExpression(other, "Q", result));
  EXPECT_EQ(Run("Q*2"), "10");
  CalcInit(st);
  EXPECT_EQ(Run("Q"), "fail:");
}

TEST(Calc2, NeverWritesPastTheCallersBufferAndNeverReadsPastTheExpression) {
  Calc2Variables vars;
  std::string small(11, '#');
  EXPECT_EQ(Calc2(vars, "1250", small), 0);  // "1250.000000" and its NUL need 12 bytes
  EXPECT_EQ(small, std::string(11, '#'));
  std::string fits(12, '#');
  EXPECT_EQ(Calc2(vars, "1250", fits), 1);
  EXPECT_EQ(fits, std::string("1250.000000\0", 12));
  // The expression ends where its view ends, whatever follows in memory.
  const std::string text = "12+3*4";
  std::string result(64, ' ');
  EXPECT_EQ(Calc2(vars, std::string_view(text).substr(0, 4), result), 1);
  EXPECT_EQ(result.substr(0, 10), std::string("15.000000\0", 10));
  // Deep parentheses are refused, not followed.
  EXPECT_EQ(Calc2(vars, std::string(100000, '(') + "1" + std::string(100000, ')'), result), 0);
  EXPECT_EQ(Calc2(vars, std::string(100, '(') + "1" + std::string(100, ')'), result), 1);
}

TEST(Calc2, SetNumberStoresWhatTheAssignmentStoresAndLeavesOtherTextsToIt) {
  // Plain numbers: the variable then reads as after the statement.
  for (const char* number : {"12", "-12.5", ".87", "5.", "0", "-0", "007.50", "-.25", "99999999999.9999",
                             "123456789012345678901234567890"}) {
    Calc2Variables direct, parsed;
    std::string a(64, ' '), b(64, ' ');
    ASSERT_TRUE(Calc2SetNumber(direct, "[[D", number)) << number;
    ASSERT_EQ(Calc2(parsed, std::string("[[D=") + number, b), 1) << number;
    ASSERT_EQ(Calc2(direct, "[[D*3-1", a), 1) << number;
    ASSERT_EQ(Calc2(parsed, "[[D*3-1", b), 1) << number;
    EXPECT_EQ(a, b) << number;
  }
  // Other texts are refused and store nothing.
  for (const char* text : {"", "-", ".", "+5", "--5", "1,234", "1e3", " 5", "5 ", "1.2.3", "2*3",
                           "1234567890123456789012345678901"}) {
    Calc2Variables vars;
    EXPECT_FALSE(Calc2SetNumber(vars, "[[D", text)) << text;
    EXPECT_TRUE(vars.values.empty()) << text;
  }
  // A stored variable is replaced.
  Calc2Variables vars;
  std::string result(64, ' ');
  ASSERT_TRUE(Calc2SetNumber(vars, "[[D", "4"));
  ASSERT_TRUE(Calc2SetNumber(vars, "[[D", "-7"));
  ASSERT_EQ(Calc2(vars, "[[D", result), 1);
  EXPECT_EQ(result.substr(0, 10), std::string("-7.000000\0", 10));
}

}  // namespace
}  // namespace kv::test
