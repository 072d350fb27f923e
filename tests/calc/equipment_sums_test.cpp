// The equipment steps' running sums added natively give what the statement
// "name=name+amount" (and "name=amount" to start a sum) gives through the
// expression service: the same success, the same stored values, the same
// answers read back.
#include <gtest/gtest.h>

#include "calc/calc_expression.h"
#include "calc/equipment/equipment_cells.h"
#include "calc/equipment/equipment_sums.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv::test {
namespace {

class EquipmentSumsTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  ProgramState st{ui};

  // The variables after `start` (statements), then one sum step.
  void Start(const std::vector<std::string>& statements) {
    CalcInit(st);
    std::string r;
    for (const std::string& s : statements) ASSERT_TRUE(CalcExpression(st, s, r)) << s;
  }

  // Every variable and the answer it reads back with.
  std::map<std::string, std::string> Answers() {
    std::map<std::string, std::string> out;
    for (const auto& [name, value] : st.Calc2Vars.values) {
      std::string r;
      CalcExpression(st, name, r);
      out[name] = value.ToFixedText(30) + " | " + r;
    }
    return out;
  }
};

TEST_F(EquipmentSumsTest, NativeSumsMatchTheStatements) {
  const std::string big = "99999999999999999999999999999999999999";  // 38 digits
  const std::vector<std::string> start = {"A#=1250", "AX=-12.5", "TAF=0", "MG1=0.000001", "B=" + big, "C=1/3",
                                          "[[A=7"};
  // "@MQ" and "[[B" were never set; "[[A" is a column variable, kept apart from the others.
  const std::vector<std::string> names = {"A#", "AX", "TAF", "MG1", "B", "C", "@MQ", "[[A", "[[B", "A-", "1A", ""};
  const std::vector<std::string> amounts = {
      "5",      "-5",    "+5",      "0",       "-0",         ".5",     "5.",   "-.25",     "12340",
      "0.0000005", "1234567.891234567890123456789", "000120", big, "-" + big, "1" + big,
      "1e3",    "1,000", "",        "-",       ".",          "--5",    "+-5",  "1.2.3",    " 5",
      "5 ",     "A#",    "(5)",     "5*2",     "ｱ",          "1/0"};
  for (const std::string& name : names) {
    for (const std::string& amount : amounts) {
      SCOPED_TRACE("name \"" + name + "\", amount \"" + amount + "\"");
      std::string r;

      Start(start);
      const bool viaStatement = CalcExpression(st, name + "=" + name + "+" + amount, r);
      const auto expected = Answers();
      Start(start);
      EXPECT_EQ(EquipSumAdd(st, name, amount), viaStatement);
      EXPECT_EQ(Answers(), expected);

      Start(start);
      const bool startedViaStatement = CalcExpression(st, name + "=" + name + "+" + amount, r) ||
                                       CalcExpression(st, name + "=" + amount, r);
      const auto startedExpected = Answers();
      Start(start);
      EXPECT_EQ(EquipSumAddOrStart(st, name, EquipAmount::Of(amount)), startedViaStatement);
      EXPECT_EQ(Answers(), startedExpected);
    }
  }
}

TEST_F(EquipmentSumsTest, ALongRunOfAmountsEndsExactlyWhereTheStatementsEnd) {
  // Decimals that binary arithmetic cannot hold, signs mixed, a sum crossing zero.
  std::vector<std::string> amounts;
  for (int i = 0; i < 300; ++i)
    amounts.push_back((i % 3 == 0 ? "-" : "") + std::to_string(i) + "." + std::to_string(i % 10) + "1");
  Start({"S=0"});
  std::string r;
  for (const std::string& a : amounts) ASSERT_TRUE(CalcExpression(st, "S=S+" + a, r));
  const auto expected = Answers();
  Start({"S=0"});
  for (const std::string& a : amounts) ASSERT_TRUE(EquipSumAdd(st, "S", a));
  EXPECT_EQ(Answers(), expected);
}

TEST_F(EquipmentSumsTest, ARunningSumHoldingWholeAmountsBackEndsWhereTheStatementsEnd) {
  // Whole amounts (held back) among decimals and texts the service reads
  // itself (each adds what was held first), a held total past the range of
  // a 64-bit number, and a sum started by its first amount.
  const std::string nearMax = "900000000000000000";  // 18 digits
  const std::vector<std::string> amounts = {"5",    "-7",    "+12", "000120", "2.5", "-3",     nearMax, nearMax,
                                            nearMax, nearMax, nearMax, nearMax, nearMax, nearMax, nearMax, nearMax,
                                            nearMax, nearMax, "5*2", "40",   "-.25", "1234567890123456789", "8"};
  for (const std::string& name : {"S", "@MX", "NEW"}) {
    SCOPED_TRACE(name);
    std::string r;
    Start({"S=0.5", "@MX=0"});
    for (const std::string& a : amounts)
      if (!CalcExpression(st, std::string(name) + "=" + name + "+" + a, r)) CalcExpression(st, std::string(name) + "=" + a, r);
    const auto expected = Answers();

    Start({"S=0.5", "@MX=0"});
    {
      EquipSum sum(name);
      for (const std::string& a : amounts) ASSERT_TRUE(sum.AddOrStart(st, EquipAmount::Of(a))) << a;
      ASSERT_TRUE(sum.Flush(st));
    }
    EXPECT_EQ(Answers(), expected);

    // Without the flush, the amounts held back are added when the sum ends.
    Start({"S=0.5", "@MX=0"});
    {
      EquipSum sum(name);
      for (const std::string& a : amounts) ASSERT_TRUE(sum.AddOrStart(st, EquipAmount::Of(a))) << a;
    }
    EXPECT_EQ(Answers(), expected);
  }
}

TEST(EquipmentRowNumberTest, ARowAmountIsANumberExactlyWhenItsTextReadsAsOne) {
  const std::string huge(60, '9');  // beyond the exact decimals: a number all the same
  for (const std::string& text :
       std::vector<std::string>{"5", "-5", "+5", "0", ".5", "5.", "-.25", "000120", "1234567.891", huge, "-" + huge,
                                huge + ".5", "", "-", "+", ".", "1e3", "1,000", "--5", "+-5", "1.2.3", " 5", "5 ",
                                "A#", "(5)", "\x82\x54"}) {
    SCOPED_TRACE("\"" + text + "\"");
    const EquipAmount* amount = EquipRowNumber(7, text);
    EXPECT_EQ(amount != nullptr, !text.empty() && IsNumberText(text));
    if (amount != nullptr) EXPECT_EQ(amount->text, text);
  }
}

}  // namespace
}  // namespace kv::test
