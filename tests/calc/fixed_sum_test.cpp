// The running sums of the level calculation: reading cell texts.
#include "calc/fixed_sum.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

// The usual cells and the texts only the general reader takes (more than
// four decimals, an exponent, a whole part beyond 20 digits) read the same
// value: each text against itself with decimals added that change nothing.
TEST(FixedSumParse, CellsReadTheirValue) {
  struct Case {
    const char* text;
    const char* value;
  };
  const Case cases[] = {
      {"        1234", "1234"},
      {"  -12.5", "-12.5"},
      {"+7.25", "7.25"},
      {"\t.5", ".5"},
      {"0.0001", ".0001"},
      {"-0", "0"},
      {"", "0"},
      {"      ", "0"},
      {"++++++", "0"},  // an overflow mark
      {"------", "0"},
      {"-", "0"},
      {".", "0"},
      {"12abc", "12"},
      {"12.5.3", "12.5"},
      {"1 2", "1"},
      {"1.5E2", "150"},
      {"1.5e", "1.5"},
      {"1.23456", "1.2346"},
      {"1.23455", "1.2346"},  // halves to the even digit
      {"1.23445", "1.2344"},
      {"00000000000000000000000012", "12"},
      {"99999999999999999999", "99999999999999999999"},
      {"123456789012345678", "123456789012345678"},
      {"1234567890123456789.1234", "1234567890123456789.1234"},
      {"-98765432109876543210.05", "-98765432109876543210.05"},
      {"0.0502", ".0502"},
      {"  -007", "-7"},
      {"000.0500", ".05"},
      {"1234567890123456789", "1234567890123456789"},  // 19 digits: the most in 64 bits
      {"12345678901234567890", "12345678901234567890"},
      {"999999999999999.9999", "999999999999999.9999"},
      {"9999999999999999.9999", "9999999999999999.9999"},
      {"-18446744073709551616", "-18446744073709551616"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedSum::Parse(c.text).ToText(), c.value) << '"' << c.text << '"';
    const std::string text = c.text;
    if (text.find_first_of(".eE") != std::string::npos || text.find_first_of("0123456789") == std::string::npos)
      continue;
    EXPECT_EQ(FixedSum::Parse(text + ".000000").ToText(), c.value) << '"' << c.text << '"';
  }
  // Beyond 20 whole digits the value is held at the bound, read either way.
  EXPECT_EQ(FixedSum::Parse("123456789012345678901").ToText(), FixedSum::Parse("999999999999999999999").ToText());
}

// Sums written back as text: the shortest form, any size the sums hold.
TEST(FixedSumText, ShortestFormOfEverySize) {
  struct Case {
    const char* text;
    const char* written;
  };
  const Case cases[] = {
      {"10", "10"},
      {"-0.0001", "-.0001"},
      {"100.1", "100.1"},
      {"-100.0100", "-100.01"},
      {"18446744073709551615", "18446744073709551615"},
      {"18446744073709551616.5", "18446744073709551616.5"},
      {"-99999999999999999999.9999", "-99999999999999999999.9999"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FixedSum::Parse(c.text).ToText(), c.written) << c.text;
    const std::string signedText = FixedSum::Parse(c.text).ToSignedText();
    EXPECT_EQ(signedText, c.written[0] == '-' ? std::string(c.written) : " " + std::string(c.written)) << c.text;
  }
}

}  // namespace
}  // namespace kv
