#include "platform/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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

// The cached, character-at-a-time conversions give what iconv gives over the
// whole text, for every character and every broken sequence. Each case runs
// twice: the first fills the cache, the second reads it.
std::string Utf8Of(char32_t cp) {
  std::string s;
  if (cp < 0x80) {
    s += static_cast<char>(cp);
  } else if (cp < 0x800) {
    s += static_cast<char>(0xC0 | cp >> 6);
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    s += static_cast<char>(0xE0 | cp >> 12);
    s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | cp >> 18);
    s += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
    s += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
    s += static_cast<char>(0x80 | (cp & 0x3F));
  }
  return s;
}

TEST(Codepage, ToSjisEqualsIconvForEveryCharacter) {
  for (int pass = 0; pass < 2; ++pass) {
    for (char32_t cp = 1; cp < 0x10000; ++cp) {
      const std::string t = "a" + Utf8Of(cp) + "b" + Utf8Of(cp);
      ASSERT_EQ(ToSjis(t), ToSjisByIconv(t)) << "U+" << std::hex << static_cast<uint32_t>(cp);
    }
  }
}

TEST(Codepage, ToSjisEqualsIconvForMixedAndBrokenTexts) {
  const std::vector<std::string> texts = {
      "鉄筋コンクリート工事\t基礎\n地中梁 Fc24\t1.5\r\n",
      "A😀B見積😀",                        // beyond U+FFFF: no Shift-JIS form
      "x\xC3",                              // cut at the end
      "\xE3\x81",                          // cut three-byte sequence
      "\xE3" "AB見",                       // lead byte without its trail bytes
      "\x80\xBF\xC0\xC1\xF5\xFF見",     // bytes that open nothing
      "\xC0\xAF\xE0\x80\xAF",           // overlong forms
      "\xED\xA0\x80\xED\xBF\xBF",      // encoded surrogates
      "\xF4\x90\x80\x80\xF0\x9F\x98", // beyond U+10FFFF, cut four-byte
      "♪♫ⅰ①～－￢∥―ｶﾅ\x7F",                // unencodable and Windows mappings
  };
  for (int pass = 0; pass < 2; ++pass)
    for (const std::string& t : texts) EXPECT_EQ(ToSjis(t), ToSjisByIconv(t)) << t;
}

TEST(Codepage, FromSjisEqualsIconvForEveryByteAndPair) {
  for (int pass = 0; pass < 2; ++pass) {
    for (int a = 1; a < 0x100; ++a) {
      const std::string one(1, static_cast<char>(a));
      ASSERT_EQ(FromSjis("x" + one), FromSjisByIconv("x" + one)) << std::hex << a;
      for (int b = 0; b < 0x100; ++b) {
        const std::string t = one + static_cast<char>(b) + "A" + one;
        ASSERT_EQ(FromSjis(t), FromSjisByIconv(t)) << std::hex << a << " " << b;
      }
    }
  }
}

}  // namespace
}  // namespace kv
