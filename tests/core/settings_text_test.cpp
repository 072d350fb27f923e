#include "core/settings_text.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

TEST(WholeNumberValue, LeadingNumberRoundedHalfToEven) {
  struct Case {
    const char* text;
    int value;
  } cases[] = {
      {"7", 7},   {"  12", 12}, {"120abc", 120}, {"abc", 0},  {"", 0},    {" -99", -99},
      {"2.5", 2}, {"3.5", 4},   {"-2.5", -2},    {"2.51", 3}, {"1F", 1},  {"2.50000001", 3},
      {"+4", 4},  {"0.4", 0},   {"1E3", 1000},   {"0.5", 0},  {"1.5", 2}, {"99999999999", 2147483647},
  };
  for (const auto& c : cases) EXPECT_EQ(WholeNumberValue(c.text), c.value) << c.text;
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
