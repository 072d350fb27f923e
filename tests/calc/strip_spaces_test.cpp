#include "calc/strip_spaces.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"

namespace kv {
namespace {

TEST(StripSpaces, DropsHalfAndFullWidthBlanksOnly) {
  std::string text = ToSjis("  ＡＢ　ＣＤ  E F  ");
  StripSpaces(text);
  EXPECT_EQ(FromSjis(text), "ＡＢＣＤEF");
  // "メ" ends in the byte 0x81 and "@" is 0x40: together they are no blank.
  text = ToSjis(" メ@ 戟@");
  StripSpaces(text);
  EXPECT_EQ(FromSjis(text), "メ@戟@");
  text = "   ";
  StripSpaces(text);
  EXPECT_EQ(text, "");
}

}  // namespace
}  // namespace kv
