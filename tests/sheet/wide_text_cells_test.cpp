// The byte rules of two-line ("W") cells: cut positions, the one-line form,
// the grid layout of a stored text and the fitting of pasted texts.
#include "sheet/wide_text_cells.h"

#include "sheet/sheet_fields.h"
#include "sheet/sheet_fixture.h"

namespace kv::test {
namespace {

class WideTextCells : public SheetFixture {};

TEST(WideTextWidths, LineWidthsRoundHalvesToEven) {
  EXPECT_EQ(WColumnLineWidth(40), 19);
  EXPECT_EQ(WColumnLineWidth(41), 20);
  EXPECT_EQ(WColumnLineWidth(43), 20);
  EXPECT_EQ(WColumnLineWidth(21), 10);
  EXPECT_EQ(WColumnOneLineWidth(40), 18);
  EXPECT_EQ(WColumnOneLineWidth(41), 18);
  EXPECT_EQ(WColumnOneLineWidth(43), 20);
  EXPECT_EQ(WColumnLineWidth(1), 0);
}

TEST(DbcsCutPosTest, CutInsideOrBetweenCharacters) {
  int pos = -1;
  // "ab" + one double-byte character (bytes 3-4) + "c".
  EXPECT_TRUE(DbcsCutPos("ab漢c", 3, pos));
  EXPECT_EQ(pos, 2);
  EXPECT_FALSE(DbcsCutPos("ab漢c", 4, pos));
  EXPECT_EQ(pos, 2);
  EXPECT_FALSE(DbcsCutPos("ab漢c", 2, pos));
  EXPECT_EQ(pos, 1);
  // The text ends before n bytes.
  EXPECT_TRUE(DbcsCutPos("ab", 5, pos));
  EXPECT_EQ(pos, 2);
}

TEST(StrReplaceBTest, RemovesTheFirstTwoOnly) {
  EXPECT_EQ(StrReplaceB("a\rb\rc\rd", '\r'), "abc\rd");
  EXPECT_EQ(StrReplaceB("漢\r字", '\r'), "漢字");
}

TEST_F(WideTextCells, OneLineFormIsTheFirstLinePaddedOrTheFirstBytes) {
  EXPECT_EQ(WColumnTextFit(st, ToSjis("ABC\r\nDEF"), 1, 2), "ABC" + std::string(15, ' '));
  // A break stored as LF alone (pasted text) keeps the line's last character.
  EXPECT_EQ(WColumnTextFit(st, ToSjis("ABC\nDEF"), 1, 2), "ABC" + std::string(15, ' '));
  // A field stored without a line break: its first 18 bytes, never half a
  // character.
  EXPECT_EQ(WColumnTextFit(st, std::string(17, 'x') + ToSjis("漢字"), 1, 2),
            std::string(17, 'x') + " ");
  // A first line longer than 18 bytes comes whole.
  EXPECT_EQ(WColumnTextFit(st, std::string(19, 'y') + "\r\nZ", 1, 2), std::string(19, 'y'));
  // Any other column: as it is.
  EXPECT_EQ(WColumnTextFit(st, "ABC\r\nDEF", 1, 1), "ABC\r\nDEF");
}

TEST_F(WideTextCells, GridLayoutOfAStoredText) {
  const std::string blanks(40, ' ');
  EXPECT_EQ(CellTextSplit(st, "ABC   ", 2, 1), "ABC" + blanks);
  EXPECT_EQ(CellTextSplit(st, "ABC\r\n" + std::string(25, 'd'), 2, 1),
            "ABC\r\n" + std::string(19, 'd') + blanks);
  // Line 1 too long: broken after 19 bytes, line 2 of the cell not shown.
  EXPECT_EQ(CellTextSplit(st, std::string(25, 'e') + "\r\nX", 2, 1),
            std::string(19, 'e') + "\r\n" + std::string(6, 'e') + std::string(13, ' '));
  // A double-byte character at the break begins the second line.
  const std::string text = std::string(18, 'f') + ToSjis("漢字");
  EXPECT_EQ(CellTextSplit(st, text, 2, 1), std::string(18, 'f') + "\r\n" + ToSjis("漢字"));
}

TEST_F(WideTextCells, PastedTextFitsTheCurrentCell) {
  st.CurrentCol = 2;  // "W", width 40: lines of 19 bytes
  const std::string thirty = "abcdefghijklmnopqrstuvwxyz0123";
  std::string text = thirty;
  EXPECT_EQ(CellTextFit(st, text), thirty.substr(0, 19) + "\n" + thirty.substr(19));

  // A double-byte character on bytes 19-20 begins line 2.
  text = std::string(18, 'a') + "漢字b";
  EXPECT_EQ(CellTextFit(st, text), std::string(18, 'a') + " \n漢字b");

  // LF alone: the caller's text gets its CR; the result keeps LF alone.
  text = "ABC\nDEF";
  EXPECT_EQ(CellTextFit(st, text), "ABC\nDEF");
  EXPECT_EQ(text, "ABC\r\nDEF");
  text = "ABC\r\nDEF";
  EXPECT_EQ(CellTextFit(st, text), "ABC\nDEF");

  // A first line too long for the break: the lines run on, line 2 cut to 19.
  text = std::string(25, 'x') + "\r\n" + std::string(25, 'y');
  EXPECT_EQ(CellTextFit(st, text), std::string(25, 'x') + std::string(19, 'y'));

  // A short text stays.
  text = "short";
  EXPECT_EQ(CellTextFit(st, text), "short");
}

TEST_F(WideTextCells, PastedTextIsLeftAloneOutsideATwoLineCell) {
  st.CurrentCol = 1;
  std::string text = std::string(30, 'z') + "\nq";
  EXPECT_EQ(CellTextFit(st, text, 2), text);
  EXPECT_EQ(text, std::string(30, 'z') + "\nq");
}

}  // namespace
}  // namespace kv::test
