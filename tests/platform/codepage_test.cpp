#include "platform/codepage.h"

#include <gtest/gtest.h>

namespace kv {
namespace {

struct RoundTrip {
  const char* utf8;
  const char* sjis;
  friend void PrintTo(const RoundTrip& r, std::ostream* os) { *os << r.utf8; }
};

class CodepageRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(CodepageRoundTrip, ConvertsBothWays) {
  const RoundTrip& c = GetParam();
  EXPECT_EQ(ToSjis(c.utf8), c.sjis);
  EXPECT_EQ(FromSjis(c.sjis), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CodepageRoundTrip,
    ::testing::Values(RoundTrip{"", ""}, RoundTrip{"ABC 123", "ABC 123"},
                      RoundTrip{"見積", "\x8C\xA9\x90\xCF"},
                      RoundTrip{"ｱｲｳ", "\xB1\xB2\xB3"},                 // half-width katakana: one byte each
                      RoundTrip{"小計ｼ", "\x8F\xAC\x8C\x76\xBC"},
                      RoundTrip{"①Ⅲ㈱", "\x87\x40\x87\x56\x87\x8A"},   // Windows extensions of CP932
                      RoundTrip{"～－", "\x81\x60\x81\x7C"}));         // the CP932 mappings of wave dash and minus

TEST(Codepage, UnencodableCharacterBecomesDefaultChar) {
  EXPECT_EQ(ToSjis("A😀B"), "A?B");
  EXPECT_EQ(ToSjis("見\xC3"), "\x8C\xA9?");  // malformed UTF-8 at the end
}

TEST(Codepage, BrokenShiftJisIsShownNotReadPastTheEnd) {
  // A lone lead byte at the end, and a lead byte with an invalid trail byte.
  EXPECT_EQ(FromSjis("AB\x8C"), std::string("AB") + std::string(kUtf8BrokenChar));
  EXPECT_EQ(FromSjis("\x81\x20X"), std::string(kUtf8BrokenChar) + " X");
}

TEST(Codepage, LeadBytes) {
  EXPECT_TRUE(IsSjisLeadByte(0x81));
  EXPECT_TRUE(IsSjisLeadByte(0x9F));
  EXPECT_TRUE(IsSjisLeadByte(0xE0));
  EXPECT_TRUE(IsSjisLeadByte(0xFC));
  EXPECT_FALSE(IsSjisLeadByte(0xA0));
  EXPECT_FALSE(IsSjisLeadByte(0xB1));  // half-width katakana
  EXPECT_FALSE(IsSjisLeadByte('A'));
}

}  // namespace
}  // namespace kv
