// Storing two-line ("W") cell texts: the layout of the field and that nothing
// outside it is ever touched.
#include "sheet/cell_text_store.h"

#include "sheet/sheet_fixture.h"

namespace kv::test {
namespace {

class CellTextStoreTest : public SheetFixture {
 protected:
  static constexpr int kRow = 3;
  // Column B: "W", 40 bytes at 30, lines of 19 bytes.
  std::string Store(std::string text, int col = 2) {
    CellTextStore(st, text, col, kRow, 1);
    return text;
  }
  std::string Field(int start = 30, int width = 40) const {
    return st.SheetRows[kRow].substr(size_t(start - 1), size_t(width));
  }
  static std::string Padded(const std::string& bytes, size_t width = 40) {
    return bytes + std::string(width - bytes.size(), ' ');
  }
};

TEST_F(CellTextStoreTest, EmptyTextChangesNothing) {
  st.SheetRows[kRow].replace(29, 3, "OLD");
  const std::string before = st.SheetRows[kRow];
  EXPECT_EQ(Store(""), "");
  EXPECT_EQ(st.SheetRows[kRow], before);
}

struct Layout {
  const char* name;
  std::string text;      // display text stored
  std::string field;     // the field's bytes afterwards (Shift-JIS), before padding
  std::string readBack;  // what the text reads afterwards
};

TEST_F(CellTextStoreTest, FieldLayouts) {
  const std::string kanji = ToSjis("漢字");
  const std::vector<Layout> cases = {
      {"short line alone, no line break", "ABC", "ABC", "ABC"},
      {"two lines, no blanks between", "ABC\r\nDEF", "ABC\r\nDEF", "ABC\r\nDEF"},
      {"long line broken after 19 bytes, the double-byte character moves whole",
       std::string(18, 'a') + "漢字bbbb", std::string(18, 'a') + " \r\n" + kanji + "bbbb",
       std::string(18, 'a') + " \r\n漢字bbbb"},
      {"long line beyond two lines is lost", std::string(19, 'x') + std::string(19, 'y') + "zz",
       std::string(19, 'x') + "\r\n" + std::string(19, 'y'),
       std::string(19, 'x') + "\r\n" + std::string(19, 'y')},
      {"first line's overflow goes in front of line 2", std::string(25, 'x') + "\r\nYZ",
       std::string(19, 'x') + "\r\n" + std::string(6, 'x') + "YZ",
       std::string(19, 'x') + "\r\n" + std::string(6, 'x') + "YZ"},
      {"leading line break stores line 2 alone", "\r\nDEF", "DEF", "DEF"},
      {"third line dropped", "A\r\nB\r\nC", "A\r\nB", "A\r\nB"},
      {"line break with nothing after it", "ABC\r\n", "ABC", "ABC"},
  };
  for (const Layout& c : cases) {
    SCOPED_TRACE(c.name);
    for (auto& row : st.SheetRows) row = Record({});
    EXPECT_EQ(Store(c.text), c.readBack);
    EXPECT_EQ(Field(), Padded(c.field));
  }
}

// Two lines of 10 bytes and their CR LF take 22 bytes; the field has 21. The
// write stops at the field's end, never in half a character, and the
// neighbouring bytes stay.
TEST_F(CellTextStoreTest, OddWidthFieldIsClampedAtItsEnd) {
  Column(1, "W", 94, 21);
  st.ColCount[1] = 5;
  st.SheetRows[kRow][92] = '#';
  st.SheetRows[kRow][114] = '#';

  EXPECT_EQ(Store("0123456789ABCDEFGHIJKL", 5), "0123456789\r\nABCDEFGHI");
  EXPECT_EQ(Field(94, 21), "0123456789\r\nABCDEFGHI");

  EXPECT_EQ(Store("0123456789ABCDEFGH漢", 5), "0123456789\r\nABCDEFGH");
  EXPECT_EQ(Field(94, 21), "0123456789\r\nABCDEFGH ");

  EXPECT_EQ(st.SheetRows[kRow][92], '#');
  EXPECT_EQ(st.SheetRows[kRow][114], '#');
  EXPECT_EQ(st.SheetRows[kRow].size(), 256u);
}

TEST_F(CellTextStoreTest, NeighboursAndRecordLengthStay) {
  st.SheetRows[kRow] = std::string(256, '*');
  Store(std::string(50, 'q'));
  EXPECT_EQ(st.SheetRows[kRow].size(), 256u);
  EXPECT_EQ(st.SheetRows[kRow].substr(0, 29), std::string(29, '*'));
  EXPECT_EQ(st.SheetRows[kRow].substr(69), std::string(256 - 69, '*'));
  // A long line stored in full rewrites every byte of the field.
  EXPECT_EQ(Field(), std::string(19, 'q') + "\r\n" + std::string(19, 'q'));
}

}  // namespace
}  // namespace kv::test
