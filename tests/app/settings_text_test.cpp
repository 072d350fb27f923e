#include "app/settings_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(WholeNumberValue, LeadingNumberRoundedHalfToEven) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"7", 7},      {"  12", 12},    {"120abc", 120}, {"abc", 0},  {"", 0},   {" -99", -99},
      {"2.5", 2},    {"3.5", 4},      {"-2.5", -2},    {"2.51", 3}, {"1F", 1}, {"2.50000001", 3},
      {"+4", 4},     {"0.4", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeNumberValue(c.text), c.value) << c.text;
}

TEST(LeadingFixed4, DecimalsKeptToFourPlaces) {
  EXPECT_EQ(LeadingFixed4("8.5"), 85000);
  EXPECT_EQ(LeadingFixed4("10"), 100000);
  EXPECT_EQ(LeadingFixed4(" 0.00005"), 0);   // half to even
  EXPECT_EQ(LeadingFixed4("0.00015"), 2);
  EXPECT_EQ(LeadingFixed4("-1.25%"), -12500);
  EXPECT_FALSE(LeadingFixed4("x"));
  EXPECT_FALSE(LeadingFixed4(""));
}

TEST(Fixed4Text, ShortestText) {
  EXPECT_EQ(Fixed4Text(85000), "8.5");
  EXPECT_EQ(Fixed4Text(100000), "10");
  EXPECT_EQ(Fixed4Text(0), "0");
  EXPECT_EQ(Fixed4Text(-5), "-0.0005");
  EXPECT_EQ(Fixed4Text(12345), "1.2345");
}

TEST(StripQuotes, OneTrailingThenOneLeading) {
  EXPECT_EQ(StripQuotes("\"画面３\""), "画面３");
  EXPECT_EQ(StripQuotes("\" a \""), " a ");
  EXPECT_EQ(StripQuotes("\"\""), "");
  EXPECT_EQ(StripQuotes("\""), "");
  EXPECT_EQ(StripQuotes("abc\""), "abc");
  EXPECT_EQ(StripQuotes(""), "");
}

}  // namespace
}  // namespace kv
