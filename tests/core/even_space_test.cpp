#include "core/even_space.h"

#include <gtest/gtest.h>

#include "platform/codepage.h"
#include "state/cell_even_space.h"
#include "state/program_state.h"
#include "support/scripted_ui.h"

namespace kv {
namespace {

// Cell texts are Shift-JIS; the cases are written as display text.
struct Case {
  int width;
  const char* text;
  const char* spaced;
};

void ExpectSpaced(const Case* begin, const Case* end) {
  for (const Case* c = begin; c != end; ++c) {
    std::string t = ToSjis(c->text);
    EXPECT_TRUE(EvenSpaceCellText(t, c->width)) << c->text;
    EXPECT_EQ(FromSjis(t), c->spaced) << "w" << c->width << " \"" << c->text << '"';
    EXPECT_LE(static_cast<int>(t.size()), c->width) << c->text;
  }
}

TEST(EvenSpaceCellText, SpreadsCharactersEvenly) {
  const Case cases[] = {
      {20, "見積書", "　見     積     書　"},     // room 10, two gaps of 5
      {20, "見 積　書", "　見     積     書　"},  // blanks of the text do not count
      {20, "見積", "　見            積　"},
      {12, "見積書", "　見積書　"},               // 6 bytes reach w - 6: framed only
      {10, "見積書類", "見積書類"},               // 8 bytes reach w - 3: unchanged
      {10, "字", "    字    "},                   // one character is centred
      {11, "字", "     字    "},
      {9, "A", "   A     "},
  };
  ExpectSpaced(std::begin(cases), std::end(cases));
}

TEST(EvenSpaceCellText, KeepsTogetherWhatBelongsTogether) {
  const Case cases[] = {
      // A half-width voiced mark stays with its kana.
      {14, "ｱｶﾞ", "　ｱ       ｶﾞ　"},
      // Digits are joined only when no gap is left otherwise.
      {13, "1234字", "　1234   字　"},
      {16, "12字34字", "　12 字 34 字　"},   // after joining runs no extra blank
      // Long-vowel marks join the character before them.
      {19, "スーパーマン", "　スー パー マ ン　"},
      {20, "スーパーマン", "　スー パー マ  ン　"},  // one blank left over: before the last piece
      // Latin letters are joined after the digits.
      {15, "ABCDEF字", "　ABCDEF   字　"},
      // One piece of several characters: no gap at all.
      {12, "ｶﾞ", "　ｶﾞ　"},
  };
  ExpectSpaced(std::begin(cases), std::end(cases));
}

TEST(EvenSpaceCellText, LeftOverBlankNeverSplitsAPiece) {
  // Room for one more blank: it goes before the last piece "ｶﾞ", not between
  // the kana and its voiced mark.
  const Case cases[] = {{15, "ｱｲｶﾞ", "　ｱ   ｲ    ｶﾞ　"}};
  ExpectSpaced(std::begin(cases), std::end(cases));
}

TEST(EvenSpaceCellText, MoreThanThirtyPiecesStayAsTheyAre) {
  std::string t = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde";  // 31 pieces
  EXPECT_TRUE(EvenSpaceCellText(t, 40));
  EXPECT_EQ(t, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");
  std::string thirty = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcd";
  EvenSpaceCellText(thirty, 40);
  EXPECT_EQ(FromSjis(thirty), "　ABCDEFGHIJKLMNOPQRSTUVWXYZabcd　");
}

TEST(EvenSpaceCellText, BrokenBytesAreNotReadPastTheEnd) {
  std::string t = ToSjis("見積") + "\x82";  // a lone lead byte at the end
  EXPECT_TRUE(EvenSpaceCellText(t, 20));
  EXPECT_EQ(t.size(), 20u);
}

TEST(EvenSpaceCellText, MarksTheSheetModifiedWhenTheTextIsNotBlank) {
  test::ScriptedUi ui;
  ProgramState st(ui);
  std::string blank = ToSjis("  　 ");
  EvenSpaceCellText(st, blank, 20);
  EXPECT_EQ(blank, ToSjis("  　 "));
  EXPECT_FALSE(st.SheetModified);

  std::string unchanged = ToSjis("見積書類");
  EvenSpaceCellText(st, unchanged, 10);
  EXPECT_EQ(unchanged, ToSjis("見積書類"));
  EXPECT_TRUE(st.SheetModified);  // also when the text stays as it was
}

}  // namespace
}  // namespace kv
