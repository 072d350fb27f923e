// The series fill as one table (start, column, row kinds in the range ->
// cells), its refusals, the range reaching below the used rows, the column
// link, and the memo-type rows it never writes into.
#include "sheet/series_fill.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "edit_fixture.h"
#include "sheet/cell_text_store.h"
#include "state/number_chars.h"

namespace kv::test {
namespace {

class SeriesFillTest : public EditFixture {
 protected:
  SeriesFillTest() { NumberCharsInit(st); }

  // Rows 1 .. kinds.size(): ' ' plain, 'U' plain without print, 'M' memo,
  // '#' a 小計 row; the first row's cell of `col` holds `start`.
  void Range(const std::string& kinds, int col, const std::string& start) {
    for (std::string& r : st.SheetRows) r = Blank();
    std::vector<std::string> rows;
    for (char k : kinds) {
      if (k == 'M') {
        rows.push_back(MemoRow(kMemoKind, "メモの本文です"));
        continue;
      }
      std::string rec = Row(k == 'U' ? ' ' : k, {{kPrice, "1"}});
      if (k == 'U') rec[1] = 'U';
      if (k == '#') FieldStore(st, rec, kName, 1, ToSjis("小計"));
      rows.push_back(rec);
    }
    Sheet(rows);
    if (st.ColType[1][col] == "W") {
      std::string text = start;
      CellTextStore(st, text, col, 1, 1);
    } else {
      FieldStore(st, st.SheetRows[1], col, 1, ToSjis(start));
    }
    Cursor(col, 1);
    st.SelLeft = st.SelRight = col;
    st.SelTop = 1;
    st.SelBottom = static_cast<int>(kinds.size());
  }
};

TEST_F(SeriesFillTest, Patterns) {
  struct Case {
    const char* start;
    int col;
    std::string kinds;
    std::vector<std::string> fields;  // rows 1 .. ; "=" leaves the row as it was
  };
  const std::string plain5(5, ' ');
  const Case cases[] = {
      {"1", kNote, plain5, {"  1 ", "  2 ", "  3 ", "  4 ", "  5 "}},
      {"1", kName, "   ", {"        1 ", "        2 ", "        3 "}},
      {"(1)", kName, "  #  ", {"       (1)", "       (2)", "=", "       (3)", "       (4)"}},
      {"1)", kNote, "  U ", {"  1)", "  2)", "=", "  3)"}},
      {"１．", kName, "   ", {"        1.", "        2.", "        3."}},
      {"（１）", kName, "  ", {"       (1)", "       (2)"}},
      {"A", kNote, "   ", {"A   ", "B   ", "C   "}},
      {"a", kNote, "  ", {"a   ", "b   "}},
      {"ア", kNote, "   ", {"ｱ   ", "ｲ   ", "ｳ   "}},
      {"ｲ", kNote, "   ", {"ｲ   ", "ﾛ   ", "ﾊ   "}},
      {"イ", kNote, "  ", {"ｲ   ", "ﾛ   "}},
      {"い", kNote, "   ", {"い  ", "ろ  ", "は  "}},
      {"あ", kNote, "  ", {"あ  ", "い  "}},
      {"Ａ", kNote, " U  ", {"Ａ  ", "=", "Ｂ  ", "Ｃ  "}},
      {"ａ", kNote, "  ", {"ａ  ", "ｂ  "}},
      {"I", kNote, "  ", {"Ⅰ  ", "Ⅱ  "}},
      {"Ｉ", kNote, "  ", {"Ⅰ  ", "Ⅱ  "}},
      {"Ⅰ", kNote, "  ", {"Ⅰ  ", "Ⅱ  "}},
      {"見出し", kName, " # ", {"見出し    ", "=", "見出し    "}},
      // A two-line column: the series of the one line that holds text, in
      // the width of a line.
      {"\r\n1", kDetail, "  ", {"       1            ", "       2            "}},
      {"(1)", kDetail, "  ", {"      (1)           ", "      (2)           "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " in column " + std::to_string(c.col));
    Range(c.kinds, c.col, c.start);
    const auto before = st.SheetRows;
    SeriesFill(st, grid);
    ui.ExpectAllAnswered();
    for (size_t i = 0; i < c.fields.size(); ++i) {
      const int r = static_cast<int>(i) + 1;
      if (c.fields[i] == "=")
        EXPECT_EQ(st.SheetRows[size_t(r)], before[size_t(r)]) << r;
      else
        EXPECT_EQ(Field(r, c.col), c.fields[i]) << r;
    }
  }
}

TEST_F(SeriesFillTest, SetsEndAtTheirLastItem) {
  struct Case {
    const char* start;
    int rows;
    const char* lastItem;
    int lastRow;
  };
  for (const Case& c : {Case{"A", 30, "Z   ", 26}, Case{"Ⅰ", 12, "Ⅹ  ", 10}, Case{"ｱ", 30, "ﾎ   ", 30}}) {
    SCOPED_TRACE(c.start);
    Range(std::string(size_t(c.rows), ' '), kNote, c.start);
    SeriesFill(st, grid);
    EXPECT_EQ(Field(c.lastRow, kNote), c.lastItem);
    EXPECT_EQ(Field(c.lastRow + 1, kNote), "    ");
  }
}

TEST_F(SeriesFillTest, ANumberWiderThanItsFieldKeepsItsRightmostCharacters) {
  st.ColWidth[1][kNote] = 2;
  Range(std::string(10, ' '), kNote, "1)");
  SeriesFill(st, grid);
  EXPECT_EQ(Field(9, kNote), "9)");
  EXPECT_EQ(Field(10, kNote), "0)");
}

TEST_F(SeriesFillTest, Refusals) {
  struct Case {
    int left, right;
    char firstKind;
    const char* message;
  };
  const Case cases[] = {
      {kName, kDetail, ' ', "複数項目の範囲指定は無効です。"},
      {kPrice, kPrice, ' ', "文字欄以外は無効です"},
      {kFormula, kFormula, ' ', "文字欄以外は無効です"},
      {kName, kName, '#', "特殊行から始まる範囲指定は無効です。"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    Range("   ", kName, "1");
    st.SheetRows[1][2] = c.firstKind;
    st.SelLeft = c.left;
    st.SelRight = c.right;
    const auto before = st.SheetRows;
    ui.AnswerMsgBox(vbOK, c.message);
    SeriesFill(st, grid);
    ui.ExpectAllAnswered();
    EXPECT_EQ(st.SheetRows, before);
  }
}

TEST_F(SeriesFillTest, ARangeBelowTheUsedRowsFillsThemAndTheirHeadersTurnUsed) {
  Range("  ", kNote, "1");
  st.SelBottom = 5;
  SeriesFill(st, grid);
  EXPECT_EQ(st.UsedRows, 5);
  EXPECT_EQ(Field(5, kNote), "  5 ");
  for (int r = 3; r <= 5; ++r) EXPECT_EQ(grid.CellColour(0, r), 0) << r;
  EXPECT_EQ(Shown(kNote, 5), "  5 ");
  EXPECT_TRUE(st.SheetModified);

  // A copy of blanks leaves the rows blank, and the recount drops them again.
  Range("  ", kName, "x");
  FieldStore(st, st.SheetRows[1], kName, 1, "");
  FieldStore(st, st.SheetRows[1], kNote, 1, "1");
  st.SelBottom = 6;
  SeriesFill(st, grid);
  EXPECT_EQ(st.UsedRows, 2);
}

TEST_F(SeriesFillTest, MemoRowsAreNeverWrittenAndTheLinkReachesTheOtherRows) {
  st.ABLinkCount = 1;
  st.ABLinkSrc[1] = kDetail;
  st.ABLinkDst[1] = kName;
  Range(" M# ", kDetail, "見出し");
  const std::string memo = st.SheetRows[2];
  SeriesFill(st, grid);
  EXPECT_EQ(st.SheetRows[2], memo);
  EXPECT_EQ(Cell(4, kDetail), "見出し");
  // Every row but the memo row takes the copied text into the two-line
  // column, and the link copies it into its destination, the 小計 row
  // included.
  EXPECT_EQ(Cell(3, kDetail), "見出し");
  for (int r : {1, 3, 4}) EXPECT_EQ(Field(r, kName), "見出し    ") << r;
  EXPECT_EQ(Shown(kName, 3), "見出し    ");
}

}  // namespace
}  // namespace kv::test
