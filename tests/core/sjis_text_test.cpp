#include "core/sjis_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "core/is_unicode_str.h"
#include "platform/codepage.h"

namespace kv {
namespace {

using namespace std::string_literals;

const std::string kBroken(kUtf8BrokenChar);

TEST(SjisText, ConversionsAndMeasures) {
  EXPECT_EQ(ToAnsiBytes("見積ｱ"), "\x8C\xA9\x90\xCF\xB1");
  EXPECT_EQ(ToAnsiStr("見積ｱ"), ToAnsiBytes("見積ｱ"));
  EXPECT_EQ(ToUnicodeStr("\x8C\xA9\x90\xCF\xB1"), "見積ｱ");
  EXPECT_EQ(AnsiByteLen("漢ｱA"), 4);  // half-width katakana is one byte
  EXPECT_EQ(AnsiByteLen(""), 0);
  // The two forms of one text measure differently only when told apart.
  EXPECT_EQ(LenBSjis(Utf8{"漢字"}), 4);
  EXPECT_EQ(LenBSjis(ToAnsiBytes("漢字")), 4);
  EXPECT_EQ(LenBSjis(std::string_view("\x8C\xA9\x90")), 3);  // bytes are counted as they are
}

TEST(SjisText, IsUnicodeStrTellsDisplayTextFromBytes) {
  const struct {
    std::string value;
    bool display;
  } cases[] = {
      {"見積ｱ", true},
      {"ABC 123", true},  // ASCII is both forms
      {"", true},
      {"\x8C\xA9\x90\xCF\xB1", false},  // the byte form of 見積ｱ
      {"\xB1", false},                 // half-width katakana byte
      {"ab\x82", false},               // a lead byte alone
      {"😀", false},                    // no Shift-JIS form
  };
  for (const auto& c : cases) EXPECT_EQ(IsUnicodeStr(c.value), c.display) << c.value;
}

struct MidAnsiCase {
  int start;
  std::optional<int> length;
  std::string expected;
};

TEST(SjisText, MidAnsiReadsFieldsByBytePosition) {
  const std::string record = ToAnsiBytes("AB漢字CD");
  const MidAnsiCase cases[] = {
      {3, 2, "漢"},      {3, std::nullopt, "漢字CD"}, {7, 10, "CD"},  // length past the end
      {8, 1, "D"},       {9, std::nullopt, ""},       {9, 1, ""},     // start past the end
      {0, 2, ""},        {1, 0, ""},
      {1, 3, "AB" + kBroken},  // a field edge through a character: shown, not read past
  };
  for (const auto& c : cases) {
    std::string got = c.length ? MidAnsi(record, c.start, *c.length) : MidAnsi(record, c.start);
    EXPECT_EQ(got, c.expected) << "start " << c.start << " length " << c.length.value_or(-1);
  }
}

TEST(SjisText, LeftByBytesKeepsDoubleByteCharactersWhole) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  } cases[] = {
      {"漢A", 1, ""},     {"漢A", 2, "漢"},   {"漢A", 3, "漢A"},  {"漢A", 9, "漢A"},
      {"漢A", 0, ""},     {"漢A", -1, ""},    {"ｱｲ漢", 3, "ｱｲ"},  {"ｱｲ漢", 4, "ｱｲ漢"},
      {"A😀B", 2, "A😀"},  // no Shift-JIS form: stored as "?", one byte; the text is kept as given
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LeftByBytes(c.text, c.n), c.expected) << c.text << " " << c.n;
    EXPECT_EQ(LeftByBytesAnsi(ToAnsiBytes(c.text), c.n), ToAnsiBytes(c.expected)) << c.text << " " << c.n;
  }
}

TEST(SjisText, LeftByBytesAnsiDropsBrokenLeadByte) {
  EXPECT_EQ(LeftByBytesAnsi("AB\x8C", 3), "AB");          // lone lead byte at the end
  EXPECT_EQ(LeftByBytesAnsi("A\x81 C", 2), "A");          // lead byte with an invalid trail byte
  EXPECT_EQ(LeftByBytesAnsi("A\x81 C", 4), "A\x81 C");    // kept inside: decoding shows it
}

struct CutCase {
  const char* text;
  int n;
  const char* expected;
  friend void PrintTo(const CutCase& c, std::ostream* os) { *os << '"' << c.text << "\" " << c.n; }
};

class CutToBytesTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutToBytesTest, CutsToExactlyNBytes) {
  const CutCase& c = GetParam();
  EXPECT_EQ(CutToBytes(Utf8{c.text}, c.n), c.expected);
  EXPECT_EQ(CutToBytes(ToAnsiBytes(c.text), c.n), ToAnsiBytes(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CutToBytesTest,
    ::testing::Values(CutCase{"AB漢", 3, "AB "}, CutCase{"AB漢", 4, "AB漢"},   // fits: unchanged
                      CutCase{"ABC", 5, "ABC"},                              // not padded
                      CutCase{"漢字", 3, "漢 "}, CutCase{"漢字", 1, " "},
                      CutCase{"ｱｲｳ", 2, "ｱｲ"}, CutCase{"ABC", 0, ""}, CutCase{"", 3, ""}));

TEST(SjisText, CutToBytesOnBrokenBytesNeverEndsInALeadByte) {
  EXPECT_EQ(CutToBytes(std::string_view("A\x81 BC"), 2), "A ");
  EXPECT_EQ(CutToBytes(std::string_view("AB\x8C"), 2), "AB");
  EXPECT_EQ(CutToBytes(std::string_view("AB\x8C"), 3), "AB\x8C");  // fits: left as it is
}

// MidBSjis: expected piece, length afterwards, rest afterwards (rest starts
// as "untouched" so a rest left alone shows).
struct MidCase {
  std::string text;  // display text
  int start;
  std::optional<int> length;
  std::string piece;
  int lengthAfter;
  std::string rest;
  friend void PrintTo(const MidCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" " << c.start << " " << c.length.value_or(-1);
  }
};

const std::string kUntouched = "untouched";

class MidBSjisTest : public ::testing::TestWithParam<MidCase> {};

TEST_P(MidBSjisTest, CutsWithRepair) {
  const MidCase& c = GetParam();
  for (bool bytes : {false, true}) {
    SCOPED_TRACE(bytes ? "byte form" : "display text");
    int length = c.length.value_or(0);
    std::string rest = kUntouched;
    int* lengthArg = c.length ? &length : nullptr;
    std::string piece;
    if (bytes) {
      std::string b = ToAnsiBytes(c.text);
      piece = ToUnicodeStr(MidBSjis(std::string_view(b), c.start, lengthArg, &rest));
      if (rest != kUntouched) rest = ToUnicodeStr(rest);
    } else {
      piece = MidBSjis(Utf8{c.text}, c.start, lengthArg, &rest);
    }
    EXPECT_EQ(piece, c.piece);
    if (c.length) {
      EXPECT_EQ(length, c.lengthAfter);
    }
    EXPECT_EQ(rest, c.rest);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MidBSjisTest,
    ::testing::Values(
        // A double-byte character cut in half moves whole into the next piece.
        MidCase{"漢字AB", 1, 3, "漢 ", 2, "字AB"},
        MidCase{"漢字AB", 3, std::nullopt, "字AB", 0, ""},  // nothing follows the piece
        MidCase{"漢字AB", 1, 4, "漢字", 4, "AB"},
        MidCase{"漢字AB", 1, std::nullopt, "漢字AB", 0, kUntouched},  // whole text: rest left alone
        // Blanks at the cut move to the front of the rest.
        MidCase{"AB  CD", 1, 4, "AB  ", 4, "  CD"},
        // The text ends first: the whole text and a blank, length one less.
        MidCase{"AB", 1, 5, "AB ", 4, ""},
        MidCase{"ｱｲｳ", 1, 2, "ｱｲ", 2, "ｳ"},
        MidCase{"AB\0"s, 1, 3, "AB ", 2, kUntouched},                  // a NUL at the end is repaired
        MidCase{"AB", 3, 2, "", 2, kUntouched},                         // start past the end
        MidCase{"AB", 1, 0, "", 0, kUntouched},                         // no length
        MidCase{"AB", 0, 2, "", 2, kUntouched}));                       // start below 1

TEST(SjisText, MidBSjisPiecesJoinBackToTheText) {
  // The cell-text writer's use: fixed-width pieces, each starting where the
  // previous one said.
  const std::string text = ToAnsiBytes("ｱ漢字かなカナ混じりABC文字列ｴ");
  std::string joined;
  int start = 1;
  while (start <= static_cast<int>(text.size())) {
    int length = 5;
    std::string piece = MidBSjis(std::string_view(text), start, &length);
    ASSERT_TRUE(length == 5 || length == 4);
    int remaining = static_cast<int>(text.size()) - start + 1;
    if (remaining > 5) {
      EXPECT_EQ(piece.size(), 5u);
    }
    joined += piece.substr(0, static_cast<size_t>(std::min(length, remaining)));
    start += length;
  }
  EXPECT_EQ(joined, text);
}

TEST(SjisText, MidBSjisOnBrokenBytesStaysInside) {
  int length = 3;
  EXPECT_EQ(MidBSjis(std::string_view("AB\x8C"), 1, &length), "AB ");
  EXPECT_EQ(length, 2);
  EXPECT_EQ(MidBSjis(std::string_view("AB\x8C"), 1), "AB ");
}

TEST(SjisText, SqueezeFitChars) {
  struct Case {
    const char* text;
    int n;
    const char* expected;
  } cases[] = {
      {" A B C D ", 3, "ABC"},  {" A B C D ", 10, "A B C D"}, {" A B C D ", 7, "A B C D"},
      {" A B C D ", 6, "ABCD"}, {" A B C D ", 0, "_"},        {"   ", 0, ""},
      {"", -1, ""},
      {" 漢 字 か ", 2, "漢字"},  {"　漢 字", 2, "　漢"},  // the full-width blank is an ordinary character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SqueezeFitChars(Utf8{c.text}, c.n), c.expected) << c.text << " " << c.n;
    EXPECT_EQ(SqueezeFitChars(ToAnsiBytes(c.text), c.n), ToAnsiBytes(c.expected)) << c.text << " " << c.n;
  }
}

TEST(SjisText, CutAtNul) {
  EXPECT_EQ(CutAtNul("ABC\0"s), "ABC");
  EXPECT_EQ(CutAtNul("AB\0C"s), "AB");
  EXPECT_EQ(CutAtNul("ABC"), "ABC");
  EXPECT_EQ(CutAtNul(""), "");
  std::string buffer = "漢字\0\0\0"s;
  CutAtNulInPlace(buffer);
  EXPECT_EQ(buffer, "漢字");
  buffer = "AB\0"s;  // a NUL in the last position is cut too
  CutAtNulInPlace(buffer);
  EXPECT_EQ(buffer, "AB");
}

struct DanCase {
  std::string text;
  int mode;
  std::string line1;
  std::string line2;
  int position;
  friend void PrintTo(const DanCase& c, std::ostream* os) { *os << '"' << c.text << "\" mode " << c.mode; }
};

class Text2DanSplitTest : public ::testing::TestWithParam<DanCase> {};

TEST_P(Text2DanSplitTest, SplitsOrJoins) {
  const DanCase& c = GetParam();
  DanLines d = Text2DanSplit(Utf8{c.text}, c.mode);
  EXPECT_EQ(d.line1, c.line1);
  EXPECT_EQ(d.line2, c.line2);
  EXPECT_EQ(d.position, c.position);
  DanLines b = Text2DanSplit(ToAnsiBytes(c.text), c.mode);
  EXPECT_EQ(b.line1, ToAnsiBytes(c.line1));
  EXPECT_EQ(b.line2, ToAnsiBytes(c.line2));
  EXPECT_EQ(b.position, c.position);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Text2DanSplitTest,
    ::testing::Values(DanCase{"上段\r\n下段", kDanJoin, "上段下段", "", 5},
                      DanCase{"上段\r\n下段", kDanSplit, "上段", "下段", 5},
                      DanCase{"\r\n下段", kDanSplit, "", "下段", 1},
                      DanCase{"A \r\n B\r\nC", kDanSplit, "A ", " B", 3},  // blanks kept, third line dropped
                      DanCase{"A\r\nB\r\nC", kDanJoin, "AB", "", 2},
                      DanCase{"ABC", kDanSplit, "ABC", "", 0},
                      DanCase{"ABC", kDanJoin, "ABC", "", 0},
                      DanCase{"   ", kDanSplit, "", "", 0},
                      DanCase{"", kDanSplit, "", "", 0},
                      DanCase{"上段\r\n下段", 3, "", "", 0}));

}  // namespace
}  // namespace kv
