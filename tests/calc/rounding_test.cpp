#include "calc/rounding.h"

#include <gtest/gtest.h>

#include <string>

namespace kv {
namespace {

TEST(RoundByMethod, EveryMethodUnitAndSign) {
  struct Case {
    const char* value;
    int method;
    int keta;
    const char* rounded;
  };
  const Case cases[] = {
      // 四捨五入 at unit 1: a fraction of one half or more rounds up.
      {"12.4", kRoundHalfUp, 0, "12"},
      {"12.41", kRoundHalfUp, 0, "12"},  // not 13: 0.41 is below one half
      {"12.49", kRoundHalfUp, 0, "12"},
      {"12.5", kRoundHalfUp, 0, "13"},
      {"-12.5", kRoundHalfUp, 0, "-13"},
      {"-12.4", kRoundHalfUp, 0, "-12"},
      {"12", kRoundHalfUp, 0, "12"},
      {" 98.48", kRoundHalfUp, 0, "98"},  // a tax of 1231 at 8 %
      {"-0.3", kRoundHalfUp, 0, "0"},
      // ... and at larger units only the whole part counts.
      {"1234", kRoundHalfUp, 1, "1230"},
      {"1235", kRoundHalfUp, 1, "1240"},
      {"1234.9", kRoundHalfUp, 1, "1230"},
      {"-1235", kRoundHalfUp, 1, "-1240"},
      {"1250", kRoundHalfUp, 2, "1300"},
      // 切り捨て: the magnitude is cut.
      {"1239.99", kRoundDown, 1, "1230"},
      {"-1239", kRoundDown, 1, "-1230"},
      {"-12.7", kRoundDown, 0, "-12"},
      {"35712.2", kRoundDown, 0, "35712"},
      // 切り上げ: the magnitude rounds up; the input's decimals stay as zeros.
      {"12.001", kRoundUp, 0, "13.000"},
      {"12.000", kRoundUp, 0, "12.000"},
      {"12.30", kRoundUp, 0, "13.00"},
      {"1234.5", kRoundUp, 2, "1300.0"},
      {"1234", kRoundUp, 1, "1240"},
      {"1201", kRoundUp, 2, "1300"},
      {"1200", kRoundUp, 2, "1200"},
      {"0", kRoundUp, 0, "0"},
      {"-12.3", kRoundUp, 0, "-13.0"},  // the sign is kept
      {"-1201", kRoundUp, 2, "-1300"},
      {"abc", kRoundUp, 0, "0"},
      {"", kRoundDown, 0, "0"},
      // Any other method leaves the text as it is.
      {" 12.34 ", 3, 0, " 12.34 "},
      {"12.34", -1, 0, "12.34"},
      // keta is taken within 0..7.
      {"123456789", kRoundDown, 9, "120000000"},
      {"123456789", kRoundDown, 7, "120000000"},
      {"12.7", kRoundDown, -1, "12"},
      // A whole part beyond the fixed-point range is left for the column fit.
      {"99999999999999999999.5", kRoundHalfUp, 0, "99999999999999999999.5"},
      {"-1E20", kRoundUp, 0, "-1E20"},
      {"922337203685477.9", kRoundHalfUp, 0, "922337203685478"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoundByMethod(c.value, c.method, c.keta), c.rounded)
        << c.value << " method " << c.method << " keta " << c.keta;
}

TEST(RoundByMethod, WorkersTakeTheUnitDirectly) {
  EXPECT_EQ(RoundUpToUnit("1001", 500), "1500");
  EXPECT_EQ(RoundDownToUnit("1499", 500), "1000");
  EXPECT_EQ(RoundHalfUpToUnit("1250", 500), "1500");
  EXPECT_EQ(RoundHalfUpToUnit("1249", 500), "1000");
}

}  // namespace
}  // namespace kv
