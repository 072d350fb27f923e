#include "core/stored_number.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "state/program_state.h"
#include "state/stored_number_base.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

struct ReadCase {
  const char* field;
  bool hex;
  int expected;
};

TEST(StoredNumber, BaseStrToNumReadsFields) {
  const ReadCase cases[] = {
      // Hexadecimal: none forms, either case, 16-bit unsigned values.
      {" -99", true, -99}, {"    ", true, -99}, {"", true, -99}, {"FFFF", true, -99},
      {"EEEE", true, -99}, {"   A", true, 10},  {"   a", true, 10}, {"7FFF", true, 32767},
      {"7D00", true, 32000}, {"8000", true, 32768}, {"FFFE", true, 65534}, {"  1F", true, 31},
      {"FF9D", true, 65437},  // what -99 written through NumToBaseStr would read back as
      {"  G1", true, 0},      // no hexadecimal digit at all
      {" 1 ", true, 1},
      // Decimal: a blank field reads 0, the leading number only.
      {"    ", false, 0}, {"", false, 0},   {" -99", false, -99}, {"  12", false, 12},
      {"9999", false, 9999}, {"  1F", false, 1},  // hexadecimal digits read up to the first letter
      {" +7 ", false, 7},  {"2.5", false, 2},   {"3.5", false, 4},  {"2.51", false, 3},
      {"-0.4", false, 0},  {"abc", false, 0},   {"99999999999", false, 2147483647},
  };
  for (const auto& c : cases)
    EXPECT_EQ(BaseStrToNum(c.field, c.hex), c.expected) << '"' << c.field << "\" hex " << c.hex;
}

TEST(StoredNumber, NumToBaseStr) {
  EXPECT_EQ(NumToBaseStr(10, false), " 10");
  EXPECT_EQ(NumToBaseStr(10, true), "A");
  EXPECT_EQ(NumToBaseStr(0, false), " 0");
  EXPECT_EQ(NumToBaseStr(0, true), "0");
  EXPECT_EQ(NumToBaseStr(-5, false), "-5");
  EXPECT_EQ(NumToBaseStr(32000, true), "7D00");
  EXPECT_EQ(NumToBaseStr(65535, true), "FFFF");
  // -99 in hexadecimal is its 16-bit two's complement, which does not read
  // back as none: "none" must be written as " -99".
  EXPECT_EQ(NumToBaseStr(-99, true), "FF9D");
  EXPECT_EQ(BaseStrToNum(NumToBaseStr(-99, true), true), 65437);
  EXPECT_THROW(NumToBaseStr(65536, true), std::out_of_range);
  EXPECT_THROW(NumToBaseStr(-32769, true), std::out_of_range);
}

TEST(StoredNumber, StoredNumberFieldRoundTrips) {
  EXPECT_EQ(StoredNumberField(5, false), "   5");
  EXPECT_EQ(StoredNumberField(123, false), " 123");
  EXPECT_EQ(StoredNumberField(9999, false), "9999");
  EXPECT_EQ(StoredNumberField(10, false), "  10");
  EXPECT_EQ(StoredNumberField(10, true), "   A");
  EXPECT_EQ(StoredNumberField(32000, true), "7D00");
  EXPECT_EQ(StoredNumberField(kNoRecord, true), " -99");
  EXPECT_EQ(StoredNumberField(kNoRecord, false), " -99");
  for (bool hex : {false, true})
    for (int n : {1, 9, 10, 255, 4096, 9800, 9999})
      EXPECT_EQ(BaseStrToNum(StoredNumberField(n, hex), hex), n) << n << " hex " << hex;
  // Numbers that would be stored wrongly are refused, never truncated.
  EXPECT_THROW(StoredNumberField(10000, false), std::out_of_range);  // " 10000" loses a digit
  EXPECT_THROW(StoredNumberField(65535, true), std::out_of_range);   // "FFFF" reads as none
  EXPECT_THROW(StoredNumberField(-1, true), std::out_of_range);
}

TEST(StoredNumber, BaseComesFromTheNumberBaseSetting) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  st.H_Link = "16";
  EXPECT_EQ(BaseStrToNum("   A", st), 10);
  EXPECT_EQ(BaseStrToNum("    ", st), -99);
  EXPECT_EQ(NumToBaseStr(10, st), "A");
  EXPECT_EQ(StoredNumberField(10, st), "   A");
  st.H_Link = "10";
  EXPECT_EQ(BaseStrToNum("    ", st), 0);
  EXPECT_EQ(NumToBaseStr(10, st), " 10");
  st.H_Link = "1";  // anything but "16" is decimal
  EXPECT_EQ(BaseStrToNum("  1F", st), 1);
}

}  // namespace
}  // namespace kv
